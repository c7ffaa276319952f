#include "decode.hpp"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

namespace thumbnail::detail {
namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool starts_with(std::span<const std::uint8_t> head, std::string_view magic, std::size_t at = 0) {
    return head.size() >= at + magic.size() &&
           std::memcmp(head.data() + at, magic.data(), magic.size()) == 0;
}

const char* qt_format(Format f) {
    switch (f) {
        case Format::Png: return "png";
        case Format::Jpeg: return "jpeg";
        case Format::Gif: return "gif";
        case Format::Webp: return "webp";
        case Format::Bmp: return "bmp";
        default: return nullptr;
    }
}

// libjpeg decodes at M/8 (M = 1..8) of the stored size. Qt picks M from the requested
// size as ceil(8 / min(w / sw, h / sh)); asking for floor(w M / 8) gets the smallest M
// that still covers the target, and at most a one-pixel trim from Qt afterwards.
std::optional<QSize> jpeg_dct_size(QSize stored, QSize target) {
    for (int m = 1; m < 8; ++m) {
        const int w = stored.width() * m / 8, h = stored.height() * m / 8;
        if (w >= target.width() && h >= target.height()) return QSize(w, h);
    }
    return std::nullopt;  // less than an eighth smaller: a full decode anyway
}

std::optional<QImage> decode_device(QIODevice& device, Format format, unsigned box) {
    const char* name = qt_format(format);
    if (!name) return std::nullopt;
    QImageReader reader(&device, name);
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);  // the sniffed format only: no probing of every plugin
    reader.setAutoTransform(true);
    // The size is of the stored image, before any EXIF rotation, and so is the scaled
    // size; the JPEG reader turns it into a 1/2, 1/4 or 1/8 DCT decode.
    const QSize stored = reader.size();
    if (stored.isValid() && !stored.isEmpty()) {
        const QSize target = fit_size(stored, box);
        if (target != stored) {
            const auto dct = format == Format::Jpeg ? jpeg_dct_size(stored, target) : std::nullopt;
            if (dct) {
                // Quality under 50: libjpeg's fast DCT and plain upsampling, invisible at
                // thumbnail size. It would also make Qt's rescale nearest-neighbour, so the
                // request is the DCT size and the smooth downscale below is ours.
                reader.setScaledSize(*dct);
                reader.setQuality(49);
            } else {
                reader.setScaledSize(target);
            }
        }
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) return std::nullopt;
    if (std::max(image.width(), image.height()) > static_cast<int>(box))
        image = image.scaled(fit_size(image.size(), box), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    if (image.isNull()) return std::nullopt;
    return image;
}

bool epub_marker(std::span<const std::uint8_t> head, const std::filesystem::path& path) {
    // The first member of an EPUB is an uncompressed "mimetype" naming it.
    if (starts_with(head, "mimetypeapplication/epub+zip", 30)) return true;
    std::string ext = path.extension().native();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".epub";
}

}  // namespace

void prime_qt() {
    // Without an application object, the first thread to make a QObject becomes Qt's main
    // thread, and image plugins made later are handed to it. A worker must not be that
    // thread: it ends before the plugins are destroyed at exit.
    QBuffer probe;
}

Format sniff(std::span<const std::uint8_t> head) {
    if (starts_with(head, "\x89PNG\r\n\x1a\n")) return Format::Png;
    if (starts_with(head, "\xff\xd8\xff")) return Format::Jpeg;
    if (starts_with(head, "GIF87a") || starts_with(head, "GIF89a")) return Format::Gif;
    if (starts_with(head, "RIFF") && starts_with(head, "WEBP", 8)) return Format::Webp;
    if (starts_with(head, "BM") && head.size() >= 26) return Format::Bmp;
    if (starts_with(head, "%PDF-")) return Format::Pdf;
    if (starts_with(head, "PK\x03\x04")) return Format::Zip;
    return Format::Unknown;
}

QSize fit_size(QSize source, unsigned box) {
    const int b = static_cast<int>(box);
    if (source.width() <= b && source.height() <= b) return source;
    if (source.width() >= source.height()) {
        const int h = static_cast<int>(std::max<long long>(
            1, (static_cast<long long>(source.height()) * b + source.width() / 2) / source.width()));
        return {b, h};
    }
    const int w = static_cast<int>(std::max<long long>(
        1, (static_cast<long long>(source.width()) * b + source.height() / 2) / source.height()));
    return {w, b};
}

std::optional<QImage> decode_bytes(std::span<const std::uint8_t> bytes, unsigned box) {
    const Format format = sniff(bytes.first(std::min<std::size_t>(bytes.size(), 64)));
    if (!qt_format(format)) return std::nullopt;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    return decode_device(buffer, format, box);
}

std::optional<QImage> decode_cached_png(std::span<const std::uint8_t> bytes, unsigned box) {
    if (sniff(bytes.first(std::min<std::size_t>(bytes.size(), 64))) != Format::Png) return std::nullopt;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    const QSize stored = reader.size();
    const int b = static_cast<int>(box);
    // Made for another size, or not ours: regenerate rather than rescale.
    if (stored.isEmpty() || stored.width() > b || stored.height() > b) return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.size() != stored) return std::nullopt;
    return image;
}

std::optional<QImage> decode_file(const std::filesystem::path& path, unsigned box) {
    // Non-blocking so a FIFO or device never stalls a worker; only regular files go on.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 8) return std::nullopt;
    std::uint8_t head[64];
    const ssize_t n = ::pread(fd.get(), head, sizeof head, 0);
    if (n <= 0) return std::nullopt;
    const Format format = sniff({head, static_cast<std::size_t>(n)});
    switch (format) {
        case Format::Unknown: return std::nullopt;
        case Format::Pdf: return render_pdf(path, box);
        case Format::Zip: {
            if (!epub_marker({head, static_cast<std::size_t>(n)}, path)) return std::nullopt;
            auto cover = epub_cover(path);
            if (!cover) return std::nullopt;
            return decode_bytes(*cover, box);
        }
        default: break;
    }
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) return std::nullopt;
    return decode_device(file, format, box);
}

std::shared_ptr<const service::RgbaImage> to_rgba(const QImage& image) {
    const QImage rgba = image.format() == QImage::Format_RGBA8888
                            ? image
                            : image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull()) return nullptr;
    auto out = std::make_shared<service::RgbaImage>();
    out->width = static_cast<std::uint32_t>(rgba.width());
    out->height = static_cast<std::uint32_t>(rgba.height());
    const std::size_t row = std::size_t{out->width} * 4;
    out->pixels.resize(row * out->height);
    for (std::uint32_t y = 0; y < out->height; ++y)
        std::memcpy(out->pixels.data() + row * y, rgba.constScanLine(static_cast<int>(y)), row);
    return out;
}

std::optional<std::vector<std::uint8_t>> encode_png(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
    QImageWriter writer(&buffer, "png");
    // Quality 80 maps to zlib level 1: the cache is rewritten often and read rarely.
    writer.setQuality(80);
    if (!writer.write(image)) return std::nullopt;
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

}  // namespace thumbnail::detail
