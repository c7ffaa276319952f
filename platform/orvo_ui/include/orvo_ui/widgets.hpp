#pragma once
#include <orvo_ui/icons.hpp>
#include <orvo_ui/text.hpp>
#include <orvo_ui/widget.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvo_ui {

enum class TextRole { Normal, Muted, Title, Heading, Caption };

class Text final : public Widget {
public:
    Text(std::string text, TextRole role = TextRole::Normal, HAlign align = HAlign::Left);
    Size measure(Size available, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    std::optional<a11y::AccessNode> access_node() const override;
    const std::string& text() const { return text_; }
    static TextStyle style_for(TextRole role);

private:
    std::string text_;
    TextRole role_;
    HAlign align_;
};

enum class ButtonStyle { Primary, Secondary, Destructive, Flat };

class Button final : public Widget {
public:
    Button(std::string id, std::string label, ButtonStyle style = ButtonStyle::Secondary);
    void set_icon(icons::Icon icon) { icon_ = std::move(icon); }
    void set_enabled(bool e) { enabled_ = e; }
    void set_on_activate(std::function<void()> fn) { on_activate_ = std::move(fn); }

    std::string_view widget_id() const override { return id_; }
    Size measure(Size available, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    EventResult handle_event(const Event& e, EventContext& ctx) override;
    std::optional<a11y::AccessNode> access_node() const override;
    bool take_redraw_request() override;

    // Paints a button of this style into any rectangle (sheets use it without a widget).
    static void paint(Painter& p, const Theme& theme, const Rect& r, std::string_view label, ButtonStyle style,
                      bool hovered, bool pressed, bool enabled = true);

private:
    std::string id_;
    std::string label_;
    ButtonStyle style_;
    std::optional<icons::Icon> icon_;
    bool enabled_ = true;
    bool hovered_ = false;
    bool pressed_ = false;
    bool redraw_ = false;
    std::function<void()> on_activate_;
};

// Children stacked top to bottom; a child with flex > 0 takes a share of the remaining height.
class Column final : public Widget {
public:
    explicit Column(float gap = 0, Insets padding = {}) : gap_(gap), padding_(padding) {}
    Widget& add(std::unique_ptr<Widget> child, float flex = 0);
    void set_cross_center(bool c) { center_ = c; }

    Size measure(Size available, LayoutContext& ctx) override;
    void apply_layout(const Rect& bounds, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    EventResult handle_event(const Event& e, EventContext& ctx) override;
    void for_each_child(const std::function<void(Widget&)>& fn) override;
    bool take_redraw_request() override;
    std::optional<Instant> next_wakeup() const override;

private:
    struct Item {
        std::unique_ptr<Widget> widget;
        float flex;
        Size size;
    };
    std::vector<Item> items_;
    float gap_;
    Insets padding_;
    bool center_ = false;
};

// The scroll offset shared between frames (the view is rebuilt, the offset survives).
struct ScrollOffset {
    float x = 0;
    float y = 0;
};

// A vertical scroll container around one child. The offset lives in a shared cell and, when a
// persist key is given, in the persisted UI document.
class Scrollable final : public Widget {
public:
    Scrollable(std::unique_ptr<Widget> child, std::shared_ptr<ScrollOffset> offset, std::string persist_key = {});

    Widget& child() { return *child_; }
    const Rect& viewport_rect() const { return bounds_; }
    const Rect& content_rect() const { return content_; }
    // Scrolls the least amount that makes the band [top, bottom] (content coordinates) visible.
    void scroll_into_view(float top, float bottom);

    void sync(FrameContext& ctx) override;
    void apply_layout(const Rect& bounds, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    EventResult handle_event(const Event& e, EventContext& ctx) override;
    void for_each_child(const std::function<void(Widget&)>& fn) override;
    bool take_redraw_request() override;
    std::optional<Instant> next_wakeup() const override;

private:
    void clamp();
    std::unique_ptr<Widget> child_;
    std::shared_ptr<ScrollOffset> offset_;
    std::string persist_key_;
    persist::Document* doc_ = nullptr;
    Rect content_;
    bool redraw_ = false;
};

// Sidebar beside the content; below the breakpoint width the sidebar overlays the content and
// is hidden until opened.
class NavShell final : public Widget {
public:
    NavShell(std::unique_ptr<Widget> sidebar, std::unique_ptr<Widget> content);

    void set_breakpoint(float width) { breakpoint_ = width; }
    float breakpoint() const { return breakpoint_; }
    void set_sidebar_width(float w) { sidebar_width_ = w; }
    void set_sidebar_open(bool open);
    bool sidebar_open() const { return open_; }
    // True while the window is narrower than the breakpoint.
    bool overlaying() const { return overlay_; }
    // Ends any slide at once.
    void snap();
    Rect content_rect() const { return content_rect_; }

    void apply_layout(const Rect& bounds, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    EventResult handle_event(const Event& e, EventContext& ctx) override;
    void for_each_child(const std::function<void(Widget&)>& fn) override;
    bool take_redraw_request() override;
    std::optional<Instant> next_wakeup() const override;
    void sync(FrameContext& ctx) override;

    Widget* sidebar() { return sidebar_.get(); }
    Widget& content() { return *content_; }
    // The content is rebuilt every frame; the shell and its sidebar stay.
    void set_content(std::unique_ptr<Widget> content) { content_ = std::move(content); }

private:
    std::unique_ptr<Widget> sidebar_;
    std::unique_ptr<Widget> content_;
    float breakpoint_ = 640;
    float sidebar_width_ = 232;
    bool open_ = false;
    bool overlay_ = false;
    float slide_ = 0;        // 0 hidden .. 1 shown, for the overlay
    Instant last_tick_{};
    bool redraw_ = false;
    Rect sidebar_rect_;
    Rect content_rect_;
};

class Spinner final : public Widget {
public:
    explicit Spinner(float size = 28) : size_(size) {}
    Size measure(Size available, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    std::optional<Instant> next_wakeup() const override;
    void sync(FrameContext& ctx) override;
    std::optional<a11y::AccessNode> access_node() const override;
    bool take_redraw_request() override { return animate_; }

private:
    float size_;
    bool animate_ = true;
    Instant now_{};
};

// A centred icon with a title and an optional detail line.
class EmptyState final : public Widget {
public:
    EmptyState(icons::Icon icon, std::string title, std::string detail = {});
    Size measure(Size available, LayoutContext& ctx) override;
    void draw(Painter& p, DrawContext& ctx) override;
    std::optional<a11y::AccessNode> access_node() const override;

private:
    icons::Icon icon_;
    std::string title_;
    std::string detail_;
};

}  // namespace orvo_ui
