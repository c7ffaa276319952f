#include "qt_bridge.hpp"

#include <orvo_ui/offscreen.hpp>

#include <QFontDatabase>
#include <QFontMetricsF>

#include <cmath>

namespace orvo_ui {

namespace {

QString pick_family() {
    ensure_gui();
    const QStringList families = QFontDatabase::families();
    for (const char* want : {"Inter", "Inter Variable", "Cantarell", "Noto Sans", "DejaVu Sans"})
        if (families.contains(QString::fromLatin1(want))) return QString::fromLatin1(want);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont::Weight qweight(FontWeight w) {
    switch (w) {
        case FontWeight::Regular: return QFont::Normal;
        case FontWeight::Medium: return QFont::Medium;
        case FontWeight::SemiBold: return QFont::DemiBold;
        case FontWeight::Bold: return QFont::Bold;
    }
    return QFont::Normal;
}

}  // namespace

QFont TextRenderer::Impl::font(const TextStyle& style, float scale) const {
    QFont f(style.monospace ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family() : family);
    f.setPixelSize(std::max(1, int(std::lround(style.size * scale))));
    f.setWeight(qweight(style.weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

TextRenderer::TextRenderer() : impl_(std::make_unique<Impl>()) {
    static const QString family = pick_family();
    impl_->family = family;
}

TextRenderer::~TextRenderer() = default;

void TextRenderer::set_text_scale(float scale) { scale_ = std::clamp(scale, 0.25f, 8.0f); }

Size TextRenderer::measure(std::string_view text, const TextStyle& style) const {
    QFontMetricsF fm(impl_->font(style, scale_));
    return {float(fm.horizontalAdvance(qstr(text))), float(fm.height())};
}

float TextRenderer::line_height(const TextStyle& style) const {
    return float(QFontMetricsF(impl_->font(style, scale_)).height());
}

std::string TextRenderer::fit_ellipsis(std::string_view text, const TextStyle& style, float max_width) const {
    QFontMetricsF fm(impl_->font(style, scale_));
    return ustr(fm.elidedText(qstr(text), Qt::ElideRight, std::max(0.0f, max_width)));
}

std::string TextRenderer::fit_ellipsis_start(std::string_view text, const TextStyle& style, float max_width) const {
    QFontMetricsF fm(impl_->font(style, scale_));
    return ustr(fm.elidedText(qstr(text), Qt::ElideLeft, std::max(0.0f, max_width)));
}

void TextRenderer::draw(Painter& p, std::string_view text, const Rect& box, const TextStyle& style, Color color,
                        HAlign align) const {
    p.text(text, box, style, color, align);
}

}  // namespace orvo_ui
