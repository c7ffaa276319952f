#include "files_app/files_app.hpp"
#include "i18n/i18n.hpp"
#include "model/archive_location.hpp"

namespace files::app {

namespace {
template <class... Ts>
struct overloaded : Ts... {
    using Ts::operator()...;
};
}  // namespace

bool FileExplorerWidget::drain_commands() {
    bool changed = false;
    // Commands may queue more commands; run until the queue is empty.
    for (int round = 0; round < 8 && !queue_->empty(); ++round)
        for (auto& c : queue_->take_all()) changed = execute_command(c) || changed;
    if (changed) redraw_ = true;
    return changed;
}

namespace {

// What would change or take files; refused while the folder is an archive's interior.
bool changes_files(const FileCommand& c) {
    return std::holds_alternative<cmd::NewFolder>(c) || std::holds_alternative<cmd::NewFile>(c) ||
           std::holds_alternative<cmd::BeginRename>(c) || std::holds_alternative<cmd::CommitRename>(c) ||
           std::holds_alternative<cmd::DeleteSelection>(c) || std::holds_alternative<cmd::Copy>(c) ||
           std::holds_alternative<cmd::Cut>(c) || std::holds_alternative<cmd::Paste>(c) ||
           std::holds_alternative<cmd::OpenTerminal>(c);
}

}  // namespace

bool FileExplorerWidget::execute_command(const FileCommand& c) {
    if (command_observer_) command_observer_(c);
    if (changes_files(c) && model::locate_archive(listing_.current)) {
        set_status(i18n::tr("files-archive-read-only"));
        return true;
    }
    auto& l = listing_;
    auto entry_count = l.entries.size();
    return std::visit(
        overloaded{
            [&](const cmd::Navigate& v) { navigate_to(v.path); return true; },
            [&](const cmd::OpenLocation& v) {
                apply_open(model::decide_open_typed(v.path));
                return true;
            },
            [&](const cmd::Up&) { go_up(); return true; },
            [&](const cmd::Back&) { go_back(); return true; },
            [&](const cmd::Forward&) { go_forward(); return true; },
            [&](const cmd::Reload&) { reload(); return true; },
            [&](const cmd::Click& v) {
                if (v.index >= entry_count) return false;
                if (v.primary || v.shift) {
                    selection_.apply_click(v.index, v.primary, v.shift);
                    return true;
                }
                // Pressing on one of several selected entries may start dragging all of them.
                drag_candidates_.clear();
                if (selection_.selected().size() > 1 && selection_.is_selected(v.index))
                    for (auto i : selection_.selected())
                        if (i < entry_count) drag_candidates_.push_back(l.entries[i].path);
                if (auto open = click_entry(v.index)) open_path(*open);
                return true;
            },
            [&](const cmd::SelectForMenu& v) {
                if (v.index < entry_count && !selection_.is_selected(v.index)) selection_.select_only(v.index);
                return true;
            },
            [&](const cmd::OpenEntry& v) {
                if (v.index >= entry_count) return false;
                open_path(path(l.entries[v.index].path));
                return true;
            },
            [&](const cmd::MoveFocus& v) {
                if (v.index >= entry_count) return false;
                selection_.move_to(v.index, v.extend);
                pending_scroll_to_ = v.index;
                return true;
            },
            [&](const cmd::SortColumn& v) {
                if (v.column < 1 || v.column > 3) return false;
                model::choose_sort_column(l, v.column);
                return true;
            },
            [&](const cmd::SetViewMode& v) { view_mode_ = v.mode; return true; },
            [&](const cmd::SetSortKey& v) { model::set_sort_key(l, v.key); return true; },
            [&](const cmd::ToggleDescending&) { model::toggle_descending(l); return true; },
            [&](const cmd::SetDescending& v) {
                if (l.descending == v.descending) return false;
                model::set_descending(l, v.descending);
                return true;
            },
            [&](const cmd::ShowShortcuts&) { open_sheet(shortcuts_sheet()); return true; },
            [&](const cmd::SelectAll&) { selection_.select_all(entry_count); return true; },
            [&](const cmd::BeginRename&) { begin_rename(); return rename_.has_value(); },
            [&](const cmd::CommitRename&) {
                // Renaming on disk arrives with the file operations; until then the edit ends here.
                end_rename();
                return true;
            },
            [&](const cmd::CancelRename&) { end_rename(); return true; },
            [&](const cmd::SetZoom& v) { set_zoom(v.level); return true; },
            [&](const cmd::ToggleHidden&) {
                l.show_hidden = !l.show_hidden;
                reload();
                return true;
            },
            [&](const cmd::OpenTerminal&) {
                if (auto r = model::open_terminal(l.current); !r) set_status(r.error());
                return true;
            },
            // Menus, the path bar, file operations and the terminal come with their own rooms.
            [&](const auto&) { return false; },
        },
        c);
}

}  // namespace files::app
