#pragma once
// A transient pill that shows a short text and fades out after a while unless hovered.
#include <orvo_ui/geometry.hpp>
#include <orvo_ui/theme.hpp>
#include <orvo_ui/widget.hpp>

#include <chrono>
#include <optional>
#include <string_view>

namespace orvo_ui {
class Painter;
class TextRenderer;
}

namespace orvo_ui::status_bubble {

class StatusBubble {
public:
    explicit StatusBubble(std::chrono::milliseconds duration) : duration_(duration) {}

    // Visible again from now on.
    void poke(Instant now) { poked_ = now; }
    void set_hover(bool hovered) { hovered_ = hovered; }
    bool hovered() const { return hovered_; }
    // 1 while shown, fading to 0 after the duration; held at 1 while hovered.
    float alpha(Instant now) const;
    // When the fade next changes the picture, if it will.
    std::optional<Instant> next_change(Instant now) const;

private:
    std::chrono::milliseconds duration_;
    std::optional<Instant> poked_;
    bool hovered_ = false;
};

inline constexpr std::chrono::milliseconds kFade{350};

Size pill_size(const TextRenderer& text, std::string_view label);
void draw_pill(Painter& p, const Theme& theme, const Rect& r, std::string_view label, float alpha);

}  // namespace orvo_ui::status_bubble
