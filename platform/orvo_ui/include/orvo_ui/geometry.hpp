#pragma once
// Geometry in logical pixels. Rectangles are edges (left, top, right, bottom).
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvo_ui {

struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    float width = 0;
    float height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Insets {
    float left = 0, top = 0, right = 0, bottom = 0;
    static constexpr Insets all(float v) { return {v, v, v, v}; }
    static constexpr Insets symmetric(float h, float v) { return {h, v, h, v}; }
};

struct Rect {
    float left = 0, top = 0, right = 0, bottom = 0;

    static constexpr Rect from_xywh(float x, float y, float w, float h) { return {x, y, x + w, y + h}; }
    constexpr float width() const { return right - left; }
    constexpr float height() const { return bottom - top; }
    constexpr Point center() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr Size size() const { return {width(), height()}; }
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool is_finite_nonempty() const {
        return std::isfinite(left) && std::isfinite(top) && std::isfinite(right) && std::isfinite(bottom) &&
               left < right && top < bottom;
    }
    constexpr Rect inset(Insets i) const { return {left + i.left, top + i.top, right - i.right, bottom - i.bottom}; }
    constexpr Rect inset(float h, float v) const { return {left + h, top + v, right - h, bottom - v}; }
    constexpr Rect translated(float dx, float dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr bool intersects(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    constexpr Rect intersected(const Rect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    static constexpr Color rgb(std::uint32_t hex) {
        return {std::uint8_t(hex >> 16), std::uint8_t(hex >> 8), std::uint8_t(hex), 255};
    }
    static constexpr Color rgba(std::uint32_t hex, std::uint8_t alpha) {
        return {std::uint8_t(hex >> 16), std::uint8_t(hex >> 8), std::uint8_t(hex), alpha};
    }
    constexpr Color with_alpha(float factor) const {
        float v = std::clamp(float(a) * factor, 0.0f, 255.0f);
        return {r, g, b, std::uint8_t(v + 0.5f)};
    }
    friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace orvo_ui
