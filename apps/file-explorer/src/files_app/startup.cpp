#include "files_app/startup.hpp"

#include "model/workspace.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <limits>

namespace files::app {

StartupDirs compute_startup_dirs(StartupMode mode) {
    StartupDirs d;
    if (mode == StartupMode::Window)
        if (auto c = orvo_ui::sysdirs::config_dir()) d.config = *c / "orvo-files";
    if (mode == StartupMode::Window) d.home = orvo_ui::sysdirs::user_home_override();
    if (!d.home) d.home = orvo_ui::sysdirs::home_dir();
    d.user_dirs = orvo_ui::sysdirs::UserDirs::from_system();
    d.thumbnail_cache = d.config ? *d.config / "thumbnails"
                                 : std::filesystem::temp_directory_path() / "orvo-file-explorer-thumbnails";
    return d;
}

path choose_initial_folder(const InitialFolderInputs& in) {
    if (!in.workspace_roots.empty()) return in.workspace_roots.front();
    if (!in.roots_variable_set && in.workspace_folder_exists) return "/workspace";
    if (in.home) return *in.home;
    if (in.cwd) return *in.cwd;
    return "/";
}

path initial_folder(const std::optional<path>& home) {
    InitialFolderInputs in;
    in.workspace_roots = model::workspace_roots();
    in.roots_variable_set = std::getenv("ORVO_WORKSPACE_ROOTS") != nullptr;
    struct stat st;
    in.workspace_folder_exists = ::stat("/workspace", &st) == 0 && S_ISDIR(st.st_mode);
    in.home = home;
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    if (!ec) in.cwd = cwd;
    return choose_initial_folder(in);
}

int parse_zoom(std::string_view text) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return 0;
    }
    if (text.empty()) return 0;
    std::int32_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return 0;
    return std::clamp<std::int32_t>(v, kZoomMin, kZoomMax);
}

int read_zoom(const std::optional<path>& config_dir) {
    if (!config_dir) return 0;
    std::ifstream in(*config_dir / "zoom", std::ios::binary);
    if (!in) return 0;
    std::string text((std::istreambuf_iterator<char>(in)), {});
    return parse_zoom(text);
}

}  // namespace files::app
