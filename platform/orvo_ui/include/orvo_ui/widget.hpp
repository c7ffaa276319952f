#pragma once
// The widget contract the window host and the offscreen renderer drive. One frame runs
// sync → build_layout → apply_layout (again while take_structure_dirty) → draw → draw_overlay.
#include <orvo_ui/a11y.hpp>
#include <orvo_ui/event.hpp>
#include <orvo_ui/geometry.hpp>
#include <orvo_ui/theme.hpp>
#include <orvo_ui/wake.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvo_ui {

class Painter;
class TextRenderer;
namespace persist { class Document; }

using Clock = std::chrono::steady_clock;
using Instant = Clock::time_point;

struct FrameContext {
    Instant now;
    const Theme& theme;
    TextRenderer& text;
    Waker waker;
    persist::Document* document = nullptr;
};

struct LayoutContext {
    const Theme& theme;
    const TextRenderer& text;
    float scale = 1;  // device pixels per logical pixel
};

struct DrawContext {
    const Theme& theme;
    Instant now;
    Rect root;     // the window's root rectangle
    Rect visible;  // the part that is on screen; widgets may skip what lies outside
};

struct EventContext {
    const Theme& theme;
    const TextRenderer& text;
    Instant now;
    float scale = 1;
    Rect root;
};

enum class EventResult { Ignored, Consumed };

class Widget {
public:
    virtual ~Widget() = default;

    // A stable identifier ("file_view", "files.retry"); empty for anonymous widgets.
    virtual std::string_view widget_id() const { return {}; }

    // Per-frame update: take finished background results, run due timers.
    virtual void sync(FrameContext&) {}
    // Rebuild the child tree from state.
    virtual void build_layout(LayoutContext&) {}
    // The size wanted within the available space (width is usually fixed by the parent).
    virtual Size measure(Size available, LayoutContext&) { return available; }
    // Takes the rectangle assigned by the parent and places the children inside it.
    virtual void apply_layout(const Rect& bounds, LayoutContext&) { bounds_ = bounds; }
    // True once after something changed the tree's shape during layout; the frame lays out again.
    virtual bool take_structure_dirty() { return false; }

    virtual void draw(Painter& p, DrawContext& ctx) = 0;
    // Drawn after the whole tree: menus, drag badges, popovers.
    virtual void draw_overlay(Painter&, DrawContext&) {}

    virtual EventResult handle_event(const Event&, EventContext&) { return EventResult::Ignored; }

    virtual std::optional<a11y::AccessNode> access_node() const { return std::nullopt; }
    // An assistive technology asks the node with this id (from access_node) to perform one of its
    // actions; true when it was performed. Asked of the root widget, which routes it.
    virtual bool access_action(std::string_view /*node_id*/, std::string_view /*action*/) { return false; }

    // Visits the direct children.
    virtual void for_each_child(const std::function<void(Widget&)>&) {}

    // True once when the widget wants the window redrawn.
    virtual bool take_redraw_request() { return false; }
    // When the widget next needs sync without input (timers, animations, refresh).
    virtual std::optional<Instant> next_wakeup() const { return std::nullopt; }

    // The window title the root widget wants.
    virtual std::optional<std::string> window_title() const { return std::nullopt; }

    // The observer snapshot (one JSON object) of the current frame, for the root widget.
    virtual std::optional<std::string> observer_snapshot() const { return std::nullopt; }

    const Rect& bounds() const { return bounds_; }

protected:
    Rect bounds_;
};

// Depth-first search by identifier, the widget itself included.
Widget* find_widget(Widget& root, std::string_view id);

// One layout pass over a root: build, apply, and again while the tree reports a structure change
// (at most a few times).
void compute_widget_layout(Widget& root, const Rect& viewport, LayoutContext& ctx);

// One whole frame as the window runs it (sync, layout, draw, overlay).
void run_frame(Widget& root, Painter& p, const Rect& viewport, FrameContext& frame, float scale);

}  // namespace orvo_ui
