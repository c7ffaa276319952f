#include <orvo_ui/widgets.hpp>

#include "files_app/files_app.hpp"

namespace files::app {

using namespace orvo_ui;

namespace {

bool is_char(const KeyPress& k, std::string_view a, std::string_view b = {}) {
    return k.key == Key::Character && (k.text == a || (!b.empty() && k.text == b));
}

bool is_key_press(const Event& e, Key key) {
    auto* k = std::get_if<KeyPress>(&e);
    return k && k->key == key;
}

}  // namespace

EventResult FileExplorerWidget::handle_event(const Event& e, EventContext& ctx) {
    now_ = ctx.now;
    // 2. The pointer position, in logical pixels.
    Point pos;
    bool has_pos = event_position(e, ctx.scale, pos);
    if (has_pos && std::holds_alternative<PointerMove>(e)) pointer_ = pos;

    auto consumed = [&] {
        drain_commands();
        redraw_ = true;
        return EventResult::Consumed;
    };

    // 3. The load error's Try Again button, and Enter or Space.
    if (listing_.load_error && !sheet_) {
        if (retry_button_->handle_event(e, ctx) == EventResult::Consumed) return consumed();
        if (is_key_press(e, Key::Enter) || is_key_press(e, Key::Space)) {
            reload();
            return consumed();
        }
    }
    // 4. An open sheet takes everything.
    if (sheet_) {
        handle_sheet_event(e, ctx);
        return consumed();
    }
    // 7. Down the tree: sidebar, toolbar, file view.
    EventResult r = shell_->handle_event(e, ctx);
    drain_commands();
    // 8. The rename field gets the keys while a rename is open.
    if (rename_ && r == EventResult::Ignored) {
        if (is_key_press(e, Key::Escape)) {
            push_command(cmd::CancelRename{});
            r = EventResult::Consumed;
        } else if (is_key_press(e, Key::Enter)) {
            push_command(cmd::CommitRename{});
            r = EventResult::Consumed;
        } else if (rename_field_->handle_event(e, ctx) == EventResult::Consumed) {
            rename_->text = rename_field_->text();
            r = EventResult::Consumed;
        }
    }
    // 10. Shortcuts, for key presses nothing else took.
    if (auto* k = std::get_if<KeyPress>(&e); k && r == EventResult::Ignored && !rename_)
        if (handle_shortcut(*k)) r = EventResult::Consumed;
    // 11.
    if (drain_commands()) r = EventResult::Consumed;
    if (r == EventResult::Consumed) redraw_ = true;
    return r;
}

bool FileExplorerWidget::handle_shortcut(const KeyPress& k) {
    const bool primary = k.modifiers.primary();
    const bool shift = k.modifiers.shift;
    const std::size_t n = listing_.entries.size();
    const auto focus = selection_.focus();
    if (primary && k.key == Key::Character) {
        std::optional<FileCommand> c;
        if (is_char(k, "l", "L")) c = cmd::EditPath{};
        else if (is_char(k, "a", "A")) c = cmd::SelectAll{};
        else if (is_char(k, "c", "C")) c = cmd::Copy{};
        else if (is_char(k, "x", "X")) c = cmd::Cut{};
        else if (is_char(k, "v", "V")) c = cmd::Paste{};
        else if (is_char(k, "z", "Z")) c = cmd::Undo{};
        else if (is_char(k, "n", "N") && shift) c = cmd::NewFolder{};
        else if (is_char(k, "h", "H")) c = cmd::ToggleHidden{};
        else if (is_char(k, "0")) c = cmd::SetZoom{0};
        else if (is_char(k, "+", "=")) c = cmd::SetZoom{zoom_ + 1};
        else if (is_char(k, "-", "_")) c = cmd::SetZoom{zoom_ - 1};
        if (!c) return false;
        push_command(std::move(*c));
        return true;
    }
    switch (k.key) {
        case Key::Character:
            if (k.text == "?") {
                push_command(cmd::ShowShortcuts{});
                return true;
            }
            return false;
        case Key::F1: push_command(cmd::ShowShortcuts{}); return true;
        case Key::Enter:
            if (!focus) return false;
            push_command(cmd::OpenEntry{*focus});
            return true;
        case Key::Down:
            if (n == 0) return false;
            push_command(cmd::MoveFocus{focus ? std::min(*focus + 1, n - 1) : 0, shift});
            return true;
        case Key::Up:
            if (n == 0) return false;
            push_command(cmd::MoveFocus{focus && *focus > 0 ? *focus - 1 : 0, shift});
            return true;
        case Key::Home:
            if (n == 0) return false;
            push_command(cmd::MoveFocus{0, shift});
            return true;
        case Key::End:
            if (n == 0) return false;
            push_command(cmd::MoveFocus{n - 1, shift});
            return true;
        case Key::Backspace: push_command(cmd::Up{}); return true;
        case Key::Delete: push_command(cmd::DeleteSelection{}); return true;
        case Key::Escape:
            if (selection_.empty()) return false;
            selection_.clear();
            last_click_.reset();
            return true;
        case Key::F2:
            if (!focus) return false;
            push_command(cmd::BeginRename{});
            return true;
        case Key::F5: push_command(cmd::Reload{}); return true;
        case Key::Left:
        case Key::Right:
            // History on Alt+arrows, as every browser and file manager does.
            if (!k.modifiers.alt) return false;
            push_command(k.key == Key::Left ? FileCommand(cmd::Back{}) : FileCommand(cmd::Forward{}));
            return true;
        default: return false;
    }
}

bool FileExplorerWidget::handle_sheet_event(const Event& e, EventContext& ctx) {
    auto confirm = [&] {
        auto c = sheet_->confirm;
        close_sheet();
        if (c) push_command(*c);
    };
    if (auto* k = std::get_if<KeyPress>(&e)) {
        if (k->key == Key::Enter && sheet_->confirm) confirm();
        else if (k->key == Key::Escape) close_sheet();
        return true;
    }
    auto* press = std::get_if<PointerPress>(&e);
    auto geo = sheet_geometry_now();
    if (!press || press->button != PointerButton::Primary || !geo) return true;
    Point p{press->position.x / ctx.scale, press->position.y / ctx.scale};
    if (geo->button && geo->button->contains(p)) {
        if (sheet_->confirm) confirm();
    } else if (geo->close_hit.contains(p) || !geo->panel.contains(p)) {
        close_sheet();
    }
    return true;
}

}  // namespace files::app
