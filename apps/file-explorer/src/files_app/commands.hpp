#pragma once
// Requests from child widgets; only the root widget executes them.
#include <deque>
#include <filesystem>
#include <memory>
#include <utility>
#include <variant>

#include "model/listing.hpp"

namespace files::app {

enum class ViewMode { List, Grid };

namespace cmd {
struct Navigate { std::filesystem::path path; };
struct OpenLocation { std::filesystem::path path; };
struct Up {};
struct Back {};
struct Forward {};
struct Reload {};
struct OpenEntry { size_t index; };
struct SetViewMode { ViewMode mode; };
struct SetSortKey { model::SortKey key; };
struct ToggleDescending {};
struct SetDescending { bool descending; };
struct ToggleHidden {};
struct SetZoom { int level; };
}  // namespace cmd

using FileCommand = std::variant<cmd::Navigate, cmd::OpenLocation, cmd::Up, cmd::Back, cmd::Forward, cmd::Reload,
                                 cmd::OpenEntry, cmd::SetViewMode, cmd::SetSortKey, cmd::ToggleDescending,
                                 cmd::SetDescending, cmd::ToggleHidden, cmd::SetZoom>;

// The shared first-in-first-out queue child widgets push into.
class CommandQueue {
public:
    void push(FileCommand c) { q_.push_back(std::move(c)); }
    std::deque<FileCommand> take_all() { return std::exchange(q_, {}); }
    bool empty() const { return q_.empty(); }

private:
    std::deque<FileCommand> q_;
};

using CommandQueueHandle = std::shared_ptr<CommandQueue>;

}  // namespace files::app
