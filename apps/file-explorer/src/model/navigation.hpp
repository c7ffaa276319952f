#pragma once
#include <filesystem>
#include <optional>
#include <vector>

namespace files::model {

using std::filesystem::path;

// Back and forward stacks; the current folder is the listing's. Each move returns the folder to
// load, or nothing when there is nowhere to go.
class NavigationHistory {
public:
    // A different folder pushes the current one and clears the forward stack; the same folder
    // (component by component) only reloads.
    path navigate(const path& current, const path& target);
    std::optional<path> back(const path& current);
    std::optional<path> forward(const path& current);
    std::optional<path> up(const path& current);

    const std::vector<path>& back_stack() const { return back_; }
    const std::vector<path>& forward_stack() const { return forward_; }
    bool can_go_back() const { return !back_.empty(); }
    bool can_go_forward() const { return !forward_.empty(); }

private:
    std::vector<path> back_;
    std::vector<path> forward_;
};

// The parent folder; none for "/" (and for paths without one).
std::optional<path> parent_folder(const path& p);

}  // namespace files::model
