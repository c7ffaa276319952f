#include <orvo_ui/painter.hpp>
#include <orvo_ui/text_input.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace orvo_ui {

namespace {
constexpr TextStyle kStyle{14, FontWeight::Regular};
bool is_cont(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool is_word(char c) { return static_cast<unsigned char>(c) >= 0x80 || std::isalnum(static_cast<unsigned char>(c)); }
}  // namespace

TextInput::TextInput(std::string id, InputKind kind, std::string placeholder)
    : id_(std::move(id)), kind_(kind), placeholder_(std::move(placeholder)) {}

void TextInput::set_text(std::string text) {
    text_ = std::move(text);
    cursor_ = anchor_ = text_.size();
    redraw_ = true;
}

void TextInput::select_range(size_t begin, size_t end) {
    anchor_ = std::min(begin, text_.size());
    cursor_ = std::min(end, text_.size());
    redraw_ = true;
}

std::pair<size_t, size_t> TextInput::selection() const { return {std::min(anchor_, cursor_), std::max(anchor_, cursor_)}; }

size_t TextInput::prev_char(size_t i) const {
    if (i == 0) return 0;
    --i;
    while (i > 0 && is_cont(text_[i])) --i;
    return i;
}

size_t TextInput::next_char(size_t i) const {
    if (i >= text_.size()) return text_.size();
    ++i;
    while (i < text_.size() && is_cont(text_[i])) ++i;
    return i;
}

size_t TextInput::prev_word(size_t i) const {
    while (i > 0 && !is_word(text_[i - 1])) i = prev_char(i);
    while (i > 0 && is_word(text_[i - 1])) i = prev_char(i);
    return i;
}

size_t TextInput::next_word(size_t i) const {
    while (i < text_.size() && !is_word(text_[i])) i = next_char(i);
    while (i < text_.size() && is_word(text_[i])) i = next_char(i);
    return i;
}

void TextInput::move(size_t to, bool extend) {
    cursor_ = to;
    if (!extend) anchor_ = to;
}

void TextInput::erase_selection() {
    auto [b, e] = selection();
    text_.erase(b, e - b);
    cursor_ = anchor_ = b;
}

void TextInput::insert(std::string_view s) {
    erase_selection();
    // One line only: line breaks from a paste become spaces.
    std::string clean(s);
    std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    text_.insert(cursor_, clean);
    cursor_ = anchor_ = cursor_ + clean.size();
}

Size TextInput::measure(Size available, LayoutContext& ctx) {
    return {available.width, std::ceil(ctx.text.line_height(kStyle) + 12)};
}

void TextInput::draw(Painter& p, DrawContext& ctx) {
    const Theme& th = ctx.theme;
    const TextRenderer& tr = p.text_renderer();
    p.fill_rounded_rect(bounds_, 6, th.window);
    p.stroke_rounded_rect(bounds_, 6, focused_ ? th.accent : th.border, focused_ ? 2.0f : 1.0f);
    Rect inner = bounds_.inset(kInset, 2);
    PainterSave save(p);
    p.clip(inner);
    if (text_.empty() && !placeholder_.empty()) {
        p.text(placeholder_, inner, kStyle, th.text_muted, HAlign::Left);
    }
    auto x_at = [&](size_t i) { return tr.measure(std::string_view(text_).substr(0, i), kStyle).width; };
    // Keep the cursor in view.
    float cx = x_at(cursor_);
    if (cx - scroll_x_ > inner.width() - 2) scroll_x_ = cx - inner.width() + 2;
    if (cx < scroll_x_) scroll_x_ = cx;
    float x0 = inner.left - scroll_x_;
    auto [b, e] = selection();
    if (b != e && focused_) {
        Rect sel{x0 + x_at(b), inner.top + 2, x0 + x_at(e), inner.bottom - 2};
        p.fill_rect(sel, th.accent_soft);
    }
    float w = tr.measure(text_, kStyle).width + 4;
    p.text(text_, Rect{x0, inner.top, x0 + w, inner.bottom}, kStyle, th.text, HAlign::Left);
    if (focused_) p.line({x0 + cx + 0.5f, inner.top + 3}, {x0 + cx + 0.5f, inner.bottom - 3}, th.text, 1.2f);
}

EventResult TextInput::handle_event(const Event& e, EventContext&) {
    if (auto* t = std::get_if<TextCommit>(&e)) {
        if (!focused_ || t->text.empty()) return EventResult::Ignored;
        insert(t->text);
        redraw_ = true;
        return EventResult::Consumed;
    }
    auto* k = std::get_if<KeyPress>(&e);
    if (!k || !focused_) return EventResult::Ignored;
    bool shift = k->modifiers.shift;
    bool word = k->modifiers.primary();
    switch (k->key) {
        case Key::Left:
            if (!shift && cursor_ != anchor_) move(selection().first, false);
            else move(word ? prev_word(cursor_) : prev_char(cursor_), shift);
            break;
        case Key::Right:
            if (!shift && cursor_ != anchor_) move(selection().second, false);
            else move(word ? next_word(cursor_) : next_char(cursor_), shift);
            break;
        case Key::Home: move(0, shift); break;
        case Key::End: move(text_.size(), shift); break;
        case Key::Backspace:
            if (cursor_ == anchor_) anchor_ = word ? prev_word(cursor_) : prev_char(cursor_);
            erase_selection();
            break;
        case Key::Delete:
            if (cursor_ == anchor_) anchor_ = word ? next_word(cursor_) : next_char(cursor_);
            erase_selection();
            break;
        case Key::Space: insert(" "); break;
        case Key::Character: {
            if (k->modifiers.primary()) {
                const std::string& c = k->text;
                if (c == "a" || c == "A") select_range(0, text_.size());
                else if (c == "c" || c == "C" || c == "x" || c == "X") {
                    auto [b, en] = selection();
                    if (b != en) clipboard::set_text(text_.substr(b, en - b));
                    if (c == "x" || c == "X") erase_selection();
                } else if (c == "v" || c == "V") insert(clipboard::text());
                else return EventResult::Ignored;
            } else if (!k->modifiers.alt) {
                insert(k->text);
            } else {
                return EventResult::Ignored;
            }
            break;
        }
        default: return EventResult::Ignored;  // Enter, Escape, Tab belong to the owner
    }
    redraw_ = true;
    return EventResult::Consumed;
}

std::optional<a11y::AccessNode> TextInput::access_node() const {
    a11y::AccessNode n;
    n.id = id_;
    n.role = a11y::Role::TextInput;
    n.name = placeholder_;
    n.value = text_;
    n.bounds = bounds_;
    n.states.focusable = true;
    n.states.focused = focused_;
    return n;
}

}  // namespace orvo_ui
