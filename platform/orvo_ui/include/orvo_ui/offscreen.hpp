#pragma once
#include <orvo_ui/image.hpp>
#include <orvo_ui/widget.hpp>

#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace orvo_ui {

class Painter;
class TextRenderer;

// Draws into an image with the same painter the window uses.
class OffscreenRenderer {
public:
    OffscreenRenderer(int width, int height, float scale = 1.0f);

    // Runs the draw callback on a fresh image; a failure inside it gives an error, not a crash.
    std::expected<Image, std::string> render_resilient(const TextRenderer& text,
                                                       const std::function<void(Painter&)>& draw) const;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    float scale_;
};

std::expected<std::vector<std::uint8_t>, std::string> encode_png(const Image& image);

// Writes the bytes beside the target and renames them over it, creating missing parent folders.
std::expected<void, std::string> publish_atomically(const std::filesystem::path& target,
                                                    std::span<const std::uint8_t> bytes);

// Makes sure the process has its GUI application object (fonts, images need it). Uses the
// offscreen platform when no platform was chosen and no display is reachable.
void ensure_gui();
// The name the desktop and assistive technologies know the program by.
void set_application_name(const std::string& name);

}  // namespace orvo_ui
