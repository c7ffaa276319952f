#pragma once
// Turning encoded files and bytes into small QImages. Internal: Qt stays in src/.
#include <QImage>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "thumbnail/service.hpp"

namespace thumbnail::detail {

enum class Format : std::uint8_t { Unknown, Png, Jpeg, Gif, Webp, Bmp, Pdf, Zip };

// Call on the thread that creates the service, before any worker runs.
void prime_qt();

Format sniff(std::span<const std::uint8_t> head);

// The largest size inside `box` × `box` with the aspect of `w` × `h`; never enlarges.
QSize fit_size(QSize source, unsigned box);

// Raster formats only; nothing when the bytes are not one of them.
std::optional<QImage> decode_bytes(std::span<const std::uint8_t> bytes, unsigned box);
// A disk cache file: PNG, no larger than the box, decoded as stored.
std::optional<QImage> decode_cached_png(std::span<const std::uint8_t> bytes, unsigned box);
// Sniffs the first bytes and dispatches; other files fail after one short read.
std::optional<QImage> decode_file(const std::filesystem::path& path, unsigned box);

std::shared_ptr<const service::RgbaImage> to_rgba(const QImage& image);
std::optional<std::vector<std::uint8_t>> encode_png(const QImage& image);

// Optional back ends; each returns nothing when built without its library.
std::optional<QImage> render_pdf(const std::filesystem::path& path, unsigned box);
std::optional<std::vector<std::uint8_t>> epub_cover(const std::filesystem::path& path);

}  // namespace thumbnail::detail
