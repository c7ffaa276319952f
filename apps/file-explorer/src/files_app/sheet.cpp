#include "files_app/sheet.hpp"

#include <algorithm>

#include "i18n/i18n.hpp"

namespace files::app {

using orvo_ui::Rect;

SheetGeometry sheet_geometry(const Rect& content, std::size_t n, bool has_kind, float line_height) {
    SheetGeometry g;
    float W = content.width(), H = content.height();
    float wanted = 116 + 27 * float(std::min<std::size_t>(std::max<std::size_t>(n, 1), 14)) + (has_kind ? 58 : 0);
    float width = std::min(std::max(W, 320.0f), 680.0f) - 32;
    float height = std::max(std::min(wanted, H - 32), 180.0f);
    float left = content.left + (W - width) / 2, top = content.top + (H - height) / 2;
    g.panel = Rect::from_xywh(left, top, width, height);
    const Rect& p = g.panel;
    g.title = Rect{p.left + 24, p.top + 23, p.left + 24 + (width - 80), p.top + 23 + line_height};
    g.summary = Rect{p.left + 24, p.top + 53, p.left + 24 + (width - 48), p.top + 53 + line_height};
    for (std::size_t i = 0; i < std::min<std::size_t>(n, 14); ++i) {
        float y = p.top + 88 + 27 * float(i);
        if (y > p.bottom - 26) break;
        SheetGeometry::Line line;
        line.bullet = Rect::from_xywh(p.left + 24, y + 5, 5, 5);
        // Centred on the bullet.
        float text_top = y + 7.5f - line_height / 2;
        line.text = Rect{p.left + 38, text_top, p.left + 38 + (width - 62), text_top + line_height};
        g.lines.push_back(line);
    }
    if (has_kind) g.button = Rect{p.left + 24, p.bottom - 50, p.right - 24, p.bottom - 14};
    g.close = Rect{p.right - 42, p.top + 12, p.right - 14, p.top + 40};
    g.close_hit = Rect{p.right - 48, p.top + 6, p.right - 8, p.top + 46};
    return g;
}

Sheet shortcuts_sheet() {
    Sheet s;
    s.title = i18n::tr("files-shortcuts-title");
    s.summary = i18n::tr("files-shortcuts-summary");
    for (const char* id : {"files-shortcuts-primary", "files-shortcuts-navigate", "files-shortcuts-grid",
                           "files-shortcuts-open", "files-shortcuts-location", "files-shortcuts-new-folder",
                           "files-shortcuts-edit", "files-shortcuts-hidden", "files-shortcuts-size",
                           "files-shortcuts-context", "files-shortcuts-close"})
        s.details.push_back(i18n::tr(id));
    return s;
}

}  // namespace files::app
