#pragma once
// A one-line text field: editing, selection, clipboard keys and input-method text.
#include <orvo_ui/widget.hpp>

#include <string>
#include <utility>

namespace orvo_ui {

namespace clipboard {
void set_text(const std::string& text);
std::string text();
}  // namespace clipboard

enum class InputKind { Local, Path, Search };

class TextInput final : public Widget {
public:
    TextInput(std::string id, InputKind kind, std::string placeholder);

    std::string_view widget_id() const override { return id_; }
    const std::string& text() const { return text_; }
    // Replaces the text, cursor at the end and nothing selected.
    void set_text(std::string text);
    void select_range(size_t begin, size_t end);
    size_t cursor() const { return cursor_; }
    std::pair<size_t, size_t> selection() const;
    void set_focused(bool f) { focused_ = f; }
    bool focused() const { return focused_; }
    // The inset between the field's edge and its text.
    static constexpr float kInset = 8;

    Size measure(Size available, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    EventResult handle_event(const Event& e, EventContext& ctx) override;
    std::optional<a11y::AccessNode> access_node() const override;
    bool take_redraw_request() override { return std::exchange(redraw_, false); }

private:
    void insert(std::string_view s);
    void erase_selection();
    size_t prev_char(size_t i) const;
    size_t next_char(size_t i) const;
    size_t prev_word(size_t i) const;
    size_t next_word(size_t i) const;
    void move(size_t to, bool extend);

    std::string id_;
    InputKind kind_;
    std::string placeholder_;
    std::string text_;
    size_t cursor_ = 0;
    size_t anchor_ = 0;
    bool focused_ = false;
    bool redraw_ = false;
    float scroll_x_ = 0;
};

}  // namespace orvo_ui
