#pragma once
// Qt lives only in this folder; these are the bridges between our neutral types and Qt.
#include <orvo_ui/image.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/text.hpp>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <string_view>

namespace orvo_ui {

struct Image::Data {
    QImage image;  // Format_ARGB32_Premultiplied
};

struct TextRenderer::Impl {
    QString family;
    QFont font(const TextStyle& style, float scale) const;
};

inline QColor qcolor(Color c) { return QColor(c.r, c.g, c.b, c.a); }
inline QRectF qrect(const Rect& r) { return QRectF(r.left, r.top, r.width(), r.height()); }
inline QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string ustr(const QString& s) { return s.toStdString(); }

Image wrap_image(QImage img);
const QImage* qimage(const Image& img);

class QtPainter final : public Painter {
public:
    QtPainter(QPainter& p, const TextRenderer& text) : p_(p), text_(text) {}

    void fill_rect(const Rect& r, Color c) override;
    void fill_rounded_rect(const Rect& r, float radius, Color c) override;
    void stroke_rect(const Rect& r, Color c, float width) override;
    void stroke_rounded_rect(const Rect& r, float radius, Color c, float width) override;
    void fill_ellipse(const Rect& r, Color c) override;
    void stroke_ellipse(const Rect& r, Color c, float width) override;
    void line(Point a, Point b, Color c, float width) override;
    void polyline(const Point* pts, int count, Color c, float width, bool closed) override;
    void fill_polygon(const Point* pts, int count, Color c) override;
    void arc(const Rect& r, float start_deg, float span_deg, Color c, float width) override;
    void text(std::string_view s, const Rect& box, const TextStyle& style, Color c, HAlign align) override;
    void image(const Image& img, const Rect& target) override;
    void image_cover(const Image& img, const Rect& target, float radius) override;
    void shadow(const Rect& r, float radius, float blur, Color c) override;
    void save() override { p_.save(); }
    void restore() override { p_.restore(); }
    void clip(const Rect& r) override;
    void translate(float dx, float dy) override { p_.translate(dx, dy); }
    void set_opacity(float o) override { p_.setOpacity(o); }
    const TextRenderer& text_renderer() const override { return text_; }

    QPainter& qpainter() { return p_; }

private:
    QPainter& p_;
    const TextRenderer& text_;
};

}  // namespace orvo_ui
