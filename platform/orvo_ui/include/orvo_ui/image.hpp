#pragma once
// An immutable, cheaply copied RGBA image.
#include <orvo_ui/geometry.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvo_ui {

class Image {
public:
    struct Data;
    Image() = default;
    explicit Image(std::shared_ptr<const Data> d) : d_(std::move(d)) {}

    // Decodes PNG, JPEG, GIF, WebP, BMP… as the image plugins allow. Absent on bad bytes.
    static std::optional<Image> decode(std::span<const std::uint8_t> bytes);
    // Non-premultiplied RGBA rows, width * 4 bytes each.
    static Image from_rgba(int width, int height, std::span<const std::uint8_t> rgba);

    bool empty() const { return !d_; }
    int width() const;
    int height() const;
    // The pixel at (x, y) as RGBA; transparent outside.
    Color pixel(int x, int y) const;
    const Data* data() const { return d_.get(); }

private:
    std::shared_ptr<const Data> d_;
};

}  // namespace orvo_ui
