#pragma once
// Workspace roots: folders a sync service keeps in step, where collaboration attributes apply.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::model {

using std::filesystem::path;

// ORVO_WORKSPACE_ROOTS when set (even empty); else /var/workspace and ~/Shared where they exist.
std::vector<path> workspace_roots();
// The same without the ~/Shared fallback.
std::vector<path> system_workspace_roots();

// Whole components only: /var/workspace2 is not inside /var/workspace. Nothing is normalised.
bool path_within(const path& p, const path& root);
bool in_workspace(const path& p);
bool in_workspace(const path& p, const std::vector<path>& roots);
// The deepest root containing the path; among equally long ones the last.
std::optional<path> workspace_root_of(const path& p, const std::vector<path>& roots);

// The root's last name component (lossy UTF-8); "Workspace" (localised) when it has none.
std::string root_display_name(const path& root);

}  // namespace files::model
