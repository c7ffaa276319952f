#include <orvo_ui/painter.hpp>
#include <orvo_ui/status_bubble.hpp>

#include <cmath>

namespace orvo_ui::status_bubble {

namespace {
constexpr TextStyle kStyle{13, FontWeight::Medium};
}

float StatusBubble::alpha(Instant now) const {
    if (hovered_) return 1;
    if (!poked_) return 0;
    auto since = now - *poked_;
    if (since < duration_) return 1;
    auto fading = since - duration_;
    if (fading >= kFade) return 0;
    return 1.0f - std::chrono::duration<float>(fading).count() / std::chrono::duration<float>(kFade).count();
}

std::optional<Instant> StatusBubble::next_change(Instant now) const {
    if (hovered_ || !poked_) return std::nullopt;
    auto fade_start = *poked_ + duration_;
    if (now < fade_start) return fade_start;
    if (now < fade_start + kFade) return now + std::chrono::milliseconds(16);
    return std::nullopt;
}

Size pill_size(const TextRenderer& text, std::string_view label) {
    Size t = text.measure(label, kStyle);
    return {std::ceil(t.width + 28), std::ceil(text.line_height(kStyle) + 14)};
}

void draw_pill(Painter& p, const Theme& theme, const Rect& r, std::string_view label, float alpha) {
    if (alpha <= 0) return;
    PainterSave save(p);
    p.set_opacity(alpha);
    float radius = r.height() / 2;
    p.shadow(r, radius, 10, theme.shadow);
    p.fill_rounded_rect(r, radius, theme.dark ? theme.surface : Color::rgb(0x2b3038));
    p.text(label, r.inset(14, 0), kStyle, theme.dark ? theme.text : Color::rgb(0xf5f6f8), HAlign::Center);
}

}  // namespace orvo_ui::status_bubble
