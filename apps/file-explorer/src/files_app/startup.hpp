#pragma once
// What start-up works out before the window exists.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include <orvo_ui/sysdirs.hpp>

namespace files::app {

using std::filesystem::path;

struct StartupDirs {
    std::optional<path> config;  // <XDG config>/orvo-files
    std::optional<path> home;
    orvo_ui::sysdirs::UserDirs user_dirs;
    path thumbnail_cache;
};

enum class StartupMode { Window, Screenshot };

// Screenshots use no configuration folder and the system's home without the override.
StartupDirs compute_startup_dirs(StartupMode mode);

struct InitialFolderInputs {
    std::vector<path> workspace_roots;
    bool roots_variable_set = false;
    bool workspace_folder_exists = false;  // "/workspace" is a directory
    std::optional<path> home;
    std::optional<path> cwd;
};

// First workspace root, "/workspace" (only when the roots variable is unset), home, cwd, "/".
path choose_initial_folder(const InitialFolderInputs& in);
// The same rule with the inputs read from this process.
path initial_folder(const std::optional<path>& home);

// The item-size level from the text of the zoom file: trimmed, a signed 32-bit decimal number,
// clamped to -2..6; anything unreadable is 0.
int parse_zoom(std::string_view text);
int read_zoom(const std::optional<path>& config_dir);

constexpr int kZoomMin = -2;
constexpr int kZoomMax = 6;

}  // namespace files::app
