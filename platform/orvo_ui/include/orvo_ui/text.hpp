#pragma once
#include <orvo_ui/geometry.hpp>

#include <memory>
#include <string>
#include <string_view>

namespace orvo_ui {

class Painter;

enum class FontWeight { Regular, Medium, SemiBold, Bold };

struct TextStyle {
    float size = 14;  // logical pixels, before the renderer's text scale
    FontWeight weight = FontWeight::Regular;
    bool monospace = false;
};

enum class HAlign { Left, Center, Right };

// Measures and draws single lines of text. Sizes are multiplied by the text scale.
class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    void set_text_scale(float scale);
    float text_scale() const { return scale_; }

    Size measure(std::string_view text, const TextStyle& style) const;
    float line_height(const TextStyle& style) const;
    // The text, shortened with "…" at the end so that it fits max_width.
    std::string fit_ellipsis(std::string_view text, const TextStyle& style, float max_width) const;
    // Same, keeping the end of the text ("…/deep/folder").
    std::string fit_ellipsis_start(std::string_view text, const TextStyle& style, float max_width) const;
    // Draws one line, vertically centred in the box, elided to its width.
    void draw(Painter& p, std::string_view text, const Rect& box, const TextStyle& style, Color color,
              HAlign align = HAlign::Left) const;

    struct Impl;
    const Impl& impl() const { return *impl_; }

private:
    float scale_ = 1.0f;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orvo_ui
