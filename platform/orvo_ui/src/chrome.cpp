#include <orvo_ui/chrome.hpp>
#include <orvo_ui/painter.hpp>

namespace orvo_ui::chrome::shell {

void selection_tier(Painter& p, const Theme& th, const Rect& r, float radius, Tier tier) {
    switch (tier) {
        case Tier::Hover: p.fill_rounded_rect(r, radius, th.hover); break;
        case Tier::Selected: p.fill_rounded_rect(r, radius, th.accent_soft); break;
        case Tier::SelectedFocused:
            p.fill_rounded_rect(r, radius, th.accent_soft);
            p.stroke_rounded_rect(r, radius, th.focus_ring, 1.5f);
            break;
    }
}

void panel_shadow(Painter& p, const Theme& th, const Rect& r, float radius) { p.shadow(r, radius, 24, th.shadow); }
void panel_ground(Painter& p, const Theme& th, const Rect& r, float radius) { p.fill_rounded_rect(r, radius, th.window); }
void panel_border(Painter& p, const Theme& th, const Rect& r, float radius) {
    p.stroke_rounded_rect(r, radius, th.border, 1);
}

}  // namespace orvo_ui::chrome::shell
