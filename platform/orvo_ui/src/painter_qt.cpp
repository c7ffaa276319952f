#include "qt_bridge.hpp"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <vector>

namespace orvo_ui {

namespace {
QPen pen(Color c, float width) {
    QPen p(qcolor(c));
    p.setWidthF(width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}
}  // namespace

void QtPainter::fill_rect(const Rect& r, Color c) { p_.fillRect(qrect(r), qcolor(c)); }

void QtPainter::fill_rounded_rect(const Rect& r, float radius, Color c) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(Qt::NoPen);
    p_.setBrush(qcolor(c));
    p_.drawRoundedRect(qrect(r), radius, radius);
    p_.restore();
}

void QtPainter::stroke_rect(const Rect& r, Color c, float width) {
    p_.save();
    p_.setPen(pen(c, width));
    p_.setBrush(Qt::NoBrush);
    float h = width / 2;
    p_.drawRect(qrect(r.inset(h, h)));
    p_.restore();
}

void QtPainter::stroke_rounded_rect(const Rect& r, float radius, Color c, float width) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(pen(c, width));
    p_.setBrush(Qt::NoBrush);
    float h = width / 2;
    p_.drawRoundedRect(qrect(r.inset(h, h)), radius, radius);
    p_.restore();
}

void QtPainter::fill_ellipse(const Rect& r, Color c) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(Qt::NoPen);
    p_.setBrush(qcolor(c));
    p_.drawEllipse(qrect(r));
    p_.restore();
}

void QtPainter::stroke_ellipse(const Rect& r, Color c, float width) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(pen(c, width));
    p_.setBrush(Qt::NoBrush);
    p_.drawEllipse(qrect(r));
    p_.restore();
}

void QtPainter::line(Point a, Point b, Color c, float width) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(pen(c, width));
    p_.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
    p_.restore();
}

void QtPainter::polyline(const Point* pts, int count, Color c, float width, bool closed) {
    if (count < 2) return;
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << QPointF(pts[i].x, pts[i].y);
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(pen(c, width));
    p_.setBrush(Qt::NoBrush);
    if (closed) p_.drawPolygon(poly);
    else p_.drawPolyline(poly);
    p_.restore();
}

void QtPainter::fill_polygon(const Point* pts, int count, Color c) {
    if (count < 3) return;
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << QPointF(pts[i].x, pts[i].y);
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(Qt::NoPen);
    p_.setBrush(qcolor(c));
    p_.drawPolygon(poly);
    p_.restore();
}

void QtPainter::arc(const Rect& r, float start_deg, float span_deg, Color c, float width) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(pen(c, width));
    p_.drawArc(qrect(r), int(start_deg * 16), int(span_deg * 16));
    p_.restore();
}

void QtPainter::text(std::string_view s, const Rect& box, const TextStyle& style, Color c, HAlign align) {
    if (s.empty() || box.width() <= 0) return;
    QFont f = text_.impl().font(style, text_.text_scale());
    QFontMetricsF fm(f);
    QString str = fm.elidedText(qstr(s), Qt::ElideRight, box.width());
    p_.save();
    p_.setRenderHint(QPainter::TextAntialiasing);
    p_.setFont(f);
    p_.setPen(qcolor(c));
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    flags |= align == HAlign::Left ? Qt::AlignLeft : align == HAlign::Center ? Qt::AlignHCenter : Qt::AlignRight;
    // Let descenders spill a little rather than clip them in tight rows.
    QRectF r = qrect(box).adjusted(0, -4, 0, 4);
    p_.drawText(r, flags, str);
    p_.restore();
}

void QtPainter::image(const Image& img, const Rect& target) {
    const QImage* q = qimage(img);
    if (!q) return;
    p_.save();
    p_.setRenderHint(QPainter::SmoothPixmapTransform);
    p_.drawImage(qrect(target), *q);
    p_.restore();
}

void QtPainter::image_cover(const Image& img, const Rect& target, float radius) {
    const QImage* q = qimage(img);
    if (!q || q->width() <= 0 || q->height() <= 0 || target.width() <= 0 || target.height() <= 0) return;
    double sx = target.width() / q->width(), sy = target.height() / q->height();
    double s = std::max(sx, sy);
    double sw = target.width() / s, sh = target.height() / s;
    QRectF src((q->width() - sw) / 2, (q->height() - sh) / 2, sw, sh);
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setRenderHint(QPainter::SmoothPixmapTransform);
    if (radius > 0) {
        QPainterPath clip;
        clip.addRoundedRect(qrect(target), radius, radius);
        p_.setClipPath(clip, Qt::IntersectClip);
    }
    p_.drawImage(qrect(target), *q, src);
    p_.restore();
}

void QtPainter::shadow(const Rect& r, float radius, float blur, Color c) {
    // Layered translucent outlines: cheap, and soft enough at UI sizes.
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setPen(Qt::NoPen);
    int steps = std::max(1, int(blur / 2));
    for (int i = steps; i >= 1; --i) {
        float grow = blur * float(i) / float(steps);
        Color layer = c.with_alpha(1.0f / float(steps + 1) * (1.0f - float(i - 1) / float(steps)));
        p_.setBrush(qcolor(layer));
        QRectF q = qrect(r.translated(0, blur / 3)).adjusted(-grow / 2, -grow / 2, grow / 2, grow / 2);
        p_.drawRoundedRect(q, radius + grow / 2, radius + grow / 2);
    }
    p_.restore();
}

void QtPainter::clip(const Rect& r) { p_.setClipRect(qrect(r), Qt::IntersectClip); }

}  // namespace orvo_ui
