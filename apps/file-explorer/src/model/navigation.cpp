#include "model/navigation.hpp"

#include "i18n/i18n.hpp"
#include "model/archive_location.hpp"
#include "model/sys.hpp"

#include <orvo_ui/sysdirs.hpp>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace files::model {

path NavigationHistory::navigate(const path& current, const path& target) {
    if (!orvo_ui::sysdirs::same_path(current, target)) {
        back_.push_back(current);
        forward_.clear();
    }
    return target;
}

std::optional<path> NavigationHistory::back(const path& current) {
    if (back_.empty()) return std::nullopt;
    path to = std::move(back_.back());
    back_.pop_back();
    forward_.push_back(current);
    return to;
}

std::optional<path> NavigationHistory::forward(const path& current) {
    if (forward_.empty()) return std::nullopt;
    path to = std::move(forward_.back());
    forward_.pop_back();
    back_.push_back(current);
    return to;
}

std::optional<path> NavigationHistory::up(const path& current) {
    auto parent = parent_folder(current);
    if (!parent) return std::nullopt;
    return navigate(current, *parent);
}

std::optional<path> parent_folder(const path& p) {
    // "/a/b/" has the parent "/a", like "/a/b".
    path trimmed = p;
    while (trimmed.has_relative_path() && trimmed.filename().empty()) trimmed = trimmed.parent_path();
    if (!trimmed.has_relative_path()) return std::nullopt;
    path parent = trimmed.parent_path();
    if (parent.empty()) return std::nullopt;
    return parent;
}

path resolve_typed_location(std::string_view typed, const std::optional<path>& home, const path& current) {
    path result(typed);
    if (home) {
        if (typed == "~") result = *home;
        else if (typed.starts_with("~/")) result = *home / path(typed.substr(2));
    }
    return current / result;
}

OpenAction decide_open(const path& p) {
    if (auto archive = locate_archive(p)) {
        if (archive->inner.empty()) return OpenNavigate{p};
        auto kind = archive_member_kind(*archive);
        if (!kind) return OpenNothing{};
        if (*kind == ArchiveMemberKind::Folder) return OpenNavigate{p};
        return OpenStatus{i18n::tr("files-archive-open-after-extract")};
    }
    struct stat st;
    if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return OpenNavigate{p};
    return OpenDocument{p};
}

OpenAction decide_open_typed(const path& resolved) {
    struct stat st;
    if (::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return decide_open(resolved);
    return OpenNavigate{resolved};
}

namespace {

// Starts the program without a shell; its exit is collected in the background so it leaves no
// zombie while nothing waits for it.
std::expected<void, int> spawn_detached(const std::vector<std::string>& argv, const path* workdir) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (workdir) posix_spawn_file_actions_addchdir_np(&actions, workdir->c_str());
    pid_t pid = 0;
    int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return std::unexpected(rc);
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return {};
}

}  // namespace

std::expected<void, std::string> launch_document(const path& document) {
    // A relative name starting with "-" would read as an option to the opener.
    std::string arg = document.native();
    if (arg.starts_with('-')) arg = "./" + arg;
    const std::vector<std::vector<std::string>> openers = {
        {"xdg-open", arg}, {"gio", "open", arg}, {"kde-open", arg}, {"exo-open", arg}, {"gnome-open", arg}};
    int last = ENOENT;
    for (const auto& argv : openers) {
        auto r = spawn_detached(argv, nullptr);
        if (r) return {};
        last = r.error();
    }
    return std::unexpected(sys::error_text(last));
}

std::expected<void, std::string> open_terminal(const path& folder) {
    auto r = spawn_detached({"terminal"}, &folder);
    if (!r) return std::unexpected("could not open terminal: " + sys::error_text(r.error()));
    return {};
}

}  // namespace files::model
