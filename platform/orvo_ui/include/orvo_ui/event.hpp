#pragma once
// Input events, neutral of any window system. Positions are device pixels; divide by the
// event context's scale to get logical pixels.
#include <orvo_ui/geometry.hpp>

#include <chrono>
#include <string>
#include <variant>

namespace orvo_ui {

enum class PointerButton { Primary, Secondary, Middle, Other };

enum class Key {
    Unknown,
    Character,  // see KeyEvent::text
    Enter, Escape, Backspace, Delete, Tab, Space,
    Up, Down, Left, Right, Home, End, PageUp, PageDown,
    Insert, Menu,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool super = false;
    // Control on Linux, the Super/Command key where that is the convention.
    bool primary() const { return control || super; }
    friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

struct PointerMove { Point position; Modifiers modifiers; };
struct PointerPress { Point position; PointerButton button = PointerButton::Primary; Modifiers modifiers; };
struct PointerRelease { Point position; PointerButton button = PointerButton::Primary; Modifiers modifiers; };
struct PointerLeave {};
// Scroll deltas in device pixels; positive y scrolls content up (towards the end).
struct Scroll { Point position; float dx = 0; float dy = 0; Modifiers modifiers; };
struct KeyPress { Key key = Key::Unknown; std::string text; Modifiers modifiers; bool repeat = false; };
struct KeyRelease { Key key = Key::Unknown; std::string text; Modifiers modifiers; };
// Committed text from an input method.
struct TextCommit { std::string text; };
struct FocusChange { bool focused = false; };

using Event = std::variant<PointerMove, PointerPress, PointerRelease, PointerLeave, Scroll, KeyPress, KeyRelease,
                           TextCommit, FocusChange>;

// Logical position of a pointer event, if it has one.
inline bool event_position(const Event& e, float scale, Point& out) {
    auto conv = [&](Point p) { out = {p.x / scale, p.y / scale}; return true; };
    if (auto* m = std::get_if<PointerMove>(&e)) return conv(m->position);
    if (auto* p = std::get_if<PointerPress>(&e)) return conv(p->position);
    if (auto* r = std::get_if<PointerRelease>(&e)) return conv(r->position);
    if (auto* s = std::get_if<Scroll>(&e)) return conv(s->position);
    return false;
}

}  // namespace orvo_ui
