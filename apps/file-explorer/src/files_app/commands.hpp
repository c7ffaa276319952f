#pragma once
// Requests from child widgets, keys and actions; only the root widget executes them.
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
struct Click { std::size_t index; bool primary; bool shift; };
struct SelectForMenu { std::size_t index; };
struct OpenEntry { std::size_t index; };
struct MoveFocus { std::size_t index; bool extend; };
struct SortColumn { int column; };
struct SetViewMode { ViewMode mode; };
struct SortMenu {};
struct ViewMenu {};
struct SetSortKey { model::SortKey key; };
struct ToggleDescending {};
struct SetDescending { bool descending; };
struct ShowShortcuts {};
struct SelectAll {};
struct OpenTerminal {};
struct NewFolder {};
struct NewFile {};
struct BeginRename {};
struct CommitRename {};
struct CancelRename {};
struct DeleteSelection {};
struct Undo {};
struct Copy {};
struct Cut {};
struct Paste {};
struct SetZoom { int level; };
struct ToggleHidden {};
struct EditPath {};
}  // namespace cmd

using FileCommand =
    std::variant<cmd::Navigate, cmd::OpenLocation, cmd::Up, cmd::Back, cmd::Forward, cmd::Reload, cmd::Click,
                 cmd::SelectForMenu, cmd::OpenEntry, cmd::MoveFocus, cmd::SortColumn, cmd::SetViewMode, cmd::SortMenu,
                 cmd::ViewMenu, cmd::SetSortKey, cmd::ToggleDescending, cmd::SetDescending, cmd::ShowShortcuts,
                 cmd::SelectAll, cmd::OpenTerminal, cmd::NewFolder, cmd::NewFile, cmd::BeginRename, cmd::CommitRename,
                 cmd::CancelRename, cmd::DeleteSelection, cmd::Undo, cmd::Copy, cmd::Cut, cmd::Paste, cmd::SetZoom,
                 cmd::ToggleHidden, cmd::EditPath>;

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
