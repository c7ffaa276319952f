#pragma once
#include <orvo_ui/geometry.hpp>
#include <orvo_ui/image.hpp>
#include <orvo_ui/text.hpp>

#include <string_view>

namespace orvo_ui {

// The drawing surface handed to widgets; one implementation draws into the window, the same
// one into offscreen images.
class Painter {
public:
    virtual ~Painter() = default;

    virtual void fill_rect(const Rect& r, Color c) = 0;
    virtual void fill_rounded_rect(const Rect& r, float radius, Color c) = 0;
    virtual void stroke_rect(const Rect& r, Color c, float width = 1) = 0;
    virtual void stroke_rounded_rect(const Rect& r, float radius, Color c, float width = 1) = 0;
    virtual void fill_ellipse(const Rect& r, Color c) = 0;
    virtual void stroke_ellipse(const Rect& r, Color c, float width = 1) = 0;
    virtual void line(Point a, Point b, Color c, float width = 1) = 0;
    // A polyline with round joins; closed when asked.
    virtual void polyline(const Point* pts, int count, Color c, float width, bool closed = false) = 0;
    virtual void fill_polygon(const Point* pts, int count, Color c) = 0;
    virtual void arc(const Rect& r, float start_deg, float span_deg, Color c, float width) = 0;
    // Text at a baseline-independent box: vertically centred, elided when it does not fit.
    virtual void text(std::string_view s, const Rect& box, const TextStyle& style, Color c, HAlign align) = 0;
    virtual void image(const Image& img, const Rect& target) = 0;
    // Scales to cover the target, cropping the overflow, with rounded corners when radius > 0.
    virtual void image_cover(const Image& img, const Rect& target, float radius) = 0;
    // Soft drop shadow under a rounded rectangle.
    virtual void shadow(const Rect& r, float radius, float blur, Color c) = 0;

    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void clip(const Rect& r) = 0;
    virtual void translate(float dx, float dy) = 0;
    virtual void set_opacity(float o) = 0;

    // The text renderer whose fonts and scale this painter uses.
    virtual const TextRenderer& text_renderer() const = 0;
};

// Restores the painter's state at scope end.
class PainterSave {
public:
    explicit PainterSave(Painter& p) : p_(p) { p_.save(); }
    ~PainterSave() { p_.restore(); }
    PainterSave(const PainterSave&) = delete;
    PainterSave& operator=(const PainterSave&) = delete;

private:
    Painter& p_;
};

}  // namespace orvo_ui
