#include "qt_bridge.hpp"

#include <orvo_ui/launch.hpp>
#include <orvo_ui/diag.hpp>
#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/sysdirs.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QIcon>

#include <cstdlib>
#include <cstring>
#include <exception>

namespace orvo_ui {

namespace {

void quiet_qt(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    static const bool verbose = [] {
        const char* v = std::getenv("ORVO_UI_DEBUG");
        return v && *v == '1';
    }();
    if (type == QtFatalMsg || verbose) diag::write_line(std::string("qt: ") + msg.toStdString());
}

void setup_icon_theme() {
    QStringList paths = QIcon::themeSearchPaths();
    for (const auto& d : sysdirs::data_dirs()) {
        QString p = QString::fromStdString((d / "icons").string());
        if (!paths.contains(p)) paths << p;
    }
    if (auto d = sysdirs::data_dir()) paths.prepend(QString::fromStdString((*d / "icons").string()));
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
}

}  // namespace

void ensure_gui() {
    if (QGuiApplication::instance()) return;
    qInstallMessageHandler(quiet_qt);
    if (!std::getenv("QT_QPA_PLATFORM") && launch::display_problem()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo-ui";
    static char* argv[] = {name, nullptr};
    // Lives until exit: fonts, image plugins and the window all hang off it.
    new QGuiApplication(argc, argv);
    setup_icon_theme();
}

void set_application_name(const std::string& name) {
    ensure_gui();
    QGuiApplication::setApplicationName(QString::fromStdString(name));
    QGuiApplication::setDesktopFileName(QString::fromStdString(name));
}

OffscreenRenderer::OffscreenRenderer(int width, int height, float scale)
    : width_(std::max(1, width)), height_(std::max(1, height)), scale_(scale > 0 ? scale : 1.0f) {}

std::expected<Image, std::string> OffscreenRenderer::render_resilient(const TextRenderer& text,
                                                                      const std::function<void(Painter&)>& draw) const {
    ensure_gui();
    // Frames are opaque; an RGB image skips alpha blending and encodes smaller.
    QImage img(int(float(width_) * scale_), int(float(height_) * scale_), QImage::Format_RGB32);
    if (img.isNull()) return std::unexpected(std::string("cannot allocate the frame image"));
    img.setDevicePixelRatio(scale_);
    img.fill(Qt::white);
    try {
        QPainter qp(&img);
        QtPainter p(qp, text);
        draw(p);
    } catch (const std::exception& e) {
        return std::unexpected(std::string("drawing failed: ") + e.what());
    } catch (...) {
        return std::unexpected(std::string("drawing failed"));
    }
    return wrap_image(std::move(img));
}

std::expected<std::vector<std::uint8_t>, std::string> encode_png(const Image& image) {
    const QImage* q = qimage(image);
    if (!q) return std::unexpected(std::string("no image to encode"));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    // Frames are opaque: RGB rows and light compression keep screenshots quick to write.
    QImage rgb = q->hasAlphaChannel() && !q->isNull() ? q->convertToFormat(QImage::Format_RGB32) : *q;
    if (!rgb.save(&buf, "PNG", 80)) return std::unexpected(std::string("PNG encoding failed"));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::expected<void, std::string> publish_atomically(const std::filesystem::path& target,
                                                    std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    auto parent = target.parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    std::string tmpl = (parent.empty() ? std::filesystem::path(".") : parent).string() + "/." +
                       target.filename().string() + ".XXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) return std::unexpected(target.string() + ": " + std::strerror(errno));
    const std::uint8_t* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int e = errno;
            ::close(fd);
            ::unlink(tmpl.c_str());
            return std::unexpected(target.string() + ": " + std::strerror(e));
        }
        p += n;
        left -= size_t(n);
    }
    fchmod(fd, 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int e = errno;
        ::unlink(tmpl.c_str());
        return std::unexpected(target.string() + ": " + std::strerror(e));
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        int e = errno;
        ::unlink(tmpl.c_str());
        return std::unexpected(target.string() + ": " + std::strerror(e));
    }
    return {};
}

}  // namespace orvo_ui
