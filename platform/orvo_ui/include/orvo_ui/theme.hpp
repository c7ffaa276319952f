#pragma once
#include <orvo_ui/geometry.hpp>

namespace orvo_ui {

struct Theme {
    bool dark = false;
    Color window;          // content ground
    Color sidebar;         // sidebar ground
    Color surface;         // raised panels, toolbar
    Color surface_alt;     // zebra, header ground
    Color text;
    Color text_muted;
    Color text_on_accent;
    Color accent;
    Color accent_soft;     // selection fill
    Color hover;
    Color border;
    Color focus_ring;
    Color danger;
    Color scrim;
    Color shadow;
    float margin = 12;         // outer spacing of panels and bubbles
    float radius = 8;          // default corner radius
    float text_scale = 1.0f;   // multiplies every font size
    bool reduced_motion = false;

    static Theme light();
    static Theme dark_theme();
};

namespace theme {
// The desktop's theme: dark when the desktop asks for it (GTK_THEME ending in ":dark" or
// ORVO_UI_COLOR_SCHEME=dark), text scale from ORVO_UI_TEXT_SCALE, reduced motion from
// ORVO_UI_REDUCED_MOTION=1.
Theme current();
}  // namespace theme

}  // namespace orvo_ui
