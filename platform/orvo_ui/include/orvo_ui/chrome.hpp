#pragma once
// Shared surface painters, so every panel and highlight looks the same.
#include <orvo_ui/geometry.hpp>
#include <orvo_ui/theme.hpp>

namespace orvo_ui {
class Painter;
}

namespace orvo_ui::chrome::shell {

enum class Tier { Hover, Selected, SelectedFocused };

// The highlight under a selected or hovered row or tile.
void selection_tier(Painter& p, const Theme& theme, const Rect& r, float radius, Tier tier);

void panel_shadow(Painter& p, const Theme& theme, const Rect& r, float radius);
void panel_ground(Painter& p, const Theme& theme, const Rect& r, float radius);
void panel_border(Painter& p, const Theme& theme, const Rect& r, float radius);

}  // namespace orvo_ui::chrome::shell
