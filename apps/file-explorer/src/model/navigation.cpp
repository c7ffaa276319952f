#include "model/navigation.hpp"

#include <orvo_ui/sysdirs.hpp>

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

}  // namespace files::model
