#include "qt_bridge.hpp"

#include <QBuffer>
#include <QImageReader>

namespace orvo_ui {

Image wrap_image(QImage img) {
    if (img.isNull()) return Image();
    auto d = std::make_shared<Image::Data>();
    d->image = img.format() == QImage::Format_ARGB32_Premultiplied
                   ? std::move(img)
                   : img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return Image(std::move(d));
}

const QImage* qimage(const Image& img) { return img.data() ? &img.data()->image : nullptr; }

std::optional<Image> Image::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return std::nullopt;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    reader.setAutoTransform(true);
    QImage img = reader.read();
    if (img.isNull()) return std::nullopt;
    return wrap_image(std::move(img));
}

Image Image::from_rgba(int width, int height, std::span<const std::uint8_t> rgba) {
    if (width <= 0 || height <= 0 || rgba.size() < size_t(width) * size_t(height) * 4) return Image();
    QImage img(rgba.data(), width, height, width * 4, QImage::Format_RGBA8888);
    return wrap_image(img.copy());
}

int Image::width() const { return d_ ? d_->image.width() : 0; }
int Image::height() const { return d_ ? d_->image.height() : 0; }

Color Image::pixel(int x, int y) const {
    if (!d_ || x < 0 || y < 0 || x >= width() || y >= height()) return {0, 0, 0, 0};
    QColor c = d_->image.pixelColor(x, y);
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()), std::uint8_t(c.alpha())};
}

}  // namespace orvo_ui
