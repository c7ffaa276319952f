// The toolkit's icons: a vector set drawn on a 24-unit grid, and freedesktop theme icons.
//
// Which source draws what. UI glyphs are always built-in: they take the caller's colour (hover,
// disabled, on-accent) and keep one stroke weight across toolbar, sidebar and sheets, which the
// theme's symbolic PNGs cannot. Folders (plain, user folders, home, trash) come from the theme
// when it has them: Adwaita's are modern, sharp at 16 px and are what the rest of the desktop
// shows for the same places. File kinds stay built-in: Adwaita 43's MIME icons are the older
// gradient style, faint at list sizes and with gaps (no PDF, archive or source-code icons), so a
// listing would mix three looks; the built-in pages share one grid and palette instead.
#include "qt_bridge.hpp"

#include <orvo_ui/icons.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/sysdirs.hpp>

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QTransform>

#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <mutex>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvo_ui::icons {

namespace {

constexpr std::array kAll = {
    Builtin::Folder, Builtin::FolderOpen, Builtin::File, Builtin::Text, Builtin::Image, Builtin::Audio,
    Builtin::Video, Builtin::Archive, Builtin::Pdf, Builtin::Code, Builtin::Spreadsheet, Builtin::Presentation,
    Builtin::Document, Builtin::Font, Builtin::Executable, Builtin::Link, Builtin::Home, Builtin::Drive,
    Builtin::Trash, Builtin::TrashFull, Builtin::Desktop, Builtin::Documents, Builtin::Downloads, Builtin::Music,
    Builtin::Pictures, Builtin::Videos, Builtin::Network, Builtin::Cloud, Builtin::Back, Builtin::Forward,
    Builtin::Up, Builtin::Sort, Builtin::SortAscending, Builtin::SortDescending, Builtin::Menu, Builtin::Extract,
    Builtin::Close, Builtin::Search, Builtin::Grid, Builtin::List, Builtin::Plus, Builtin::Check, Builtin::Warning,
    Builtin::Error, Builtin::Refresh, Builtin::Star, Builtin::Share,
};

constexpr std::array<std::string_view, kAll.size()> kNames = {
    "folder", "folder-open", "file", "text", "image", "audio", "video", "archive", "pdf", "code", "spreadsheet",
    "presentation", "document", "font", "executable", "link", "home", "drive", "trash", "trash-full", "desktop",
    "documents", "downloads", "music", "pictures", "videos", "network", "cloud", "back", "forward", "up", "sort",
    "sort-ascending", "sort-descending", "menu", "extract", "close", "search", "grid", "list", "plus", "check",
    "warning", "error", "refresh", "star", "share",
};

constexpr bool in_enum_order() {
    for (size_t i = 0; i < kAll.size(); ++i)
        if (kAll[i] != Builtin(i)) return false;
    return kAll.back() == Builtin::Share;
}
static_assert(in_enum_order(), "kAll and kNames follow the declaration order of Builtin");

// Palette for the shapes that carry their own colours. Mid-tone hues on a white page stay
// legible on light and dark grounds alike; the page itself is what meets the ground.
namespace pal {
constexpr Color page = Color::rgb(0xfdfdfe);
constexpr Color page_edge = Color::rgba(0x1f2a3a, 105);
constexpr Color fold = Color::rgb(0xdde2e9);
constexpr Color folder_back = Color::rgb(0x3a7fd5);
constexpr Color folder_front = Color::rgb(0x62a3ee);
constexpr Color folder_lip = Color::rgb(0x8ec0f6);
constexpr Color folder_emblem = Color::rgb(0x1d5396);
constexpr Color text = Color::rgb(0x77818f);
constexpr Color image = Color::rgb(0x2ea866);
constexpr Color sky = Color::rgb(0xd7ecff);
constexpr Color sun = Color::rgb(0xf0a71d);
constexpr Color audio = Color::rgb(0x9a4fc0);
constexpr Color video = Color::rgb(0xd93b76);
constexpr Color archive = Color::rgb(0xc08227);
constexpr Color pdf = Color::rgb(0xdc2f2f);
constexpr Color code = Color::rgb(0x1688b0);
constexpr Color sheet = Color::rgb(0x21904f);
constexpr Color slides = Color::rgb(0xe4680f);
constexpr Color doc = Color::rgb(0x2f6fd6);
constexpr Color font = Color::rgb(0x4b5563);
constexpr Color exec = Color::rgb(0x363b47);
constexpr Color exec_prompt = Color::rgb(0x7ee2a4);
constexpr Color link = Color::rgb(0x2f7ad8);
constexpr Color white = Color::rgb(0xffffff);
}  // namespace pal

// Logical to device pixels (scale and offset), so that edges can land on whole device pixels.
struct DeviceMap {
    float sx = 1, sy = 1, tx = 0, ty = 0;
};

DeviceMap device_map(Painter& p) {
    if (auto* q = dynamic_cast<QtPainter*>(&p)) {
        QTransform t = q->qpainter().deviceTransform();
        if (t.type() <= QTransform::TxScale && t.m11() > 0 && t.m22() > 0)
            return {float(t.m11()), float(t.m22()), float(t.dx()), float(t.dy())};
    }
    return {};
}

float snap_edge(float v, float scale, float offset) { return (std::round(v * scale + offset) - offset) / scale; }

// Odd device widths sit on pixel centres, even ones on pixel edges: either way both sides of the
// stroke end on a pixel boundary and the line stays sharp.
float snap_centre(float v, float width, float scale, float offset) {
    float d = v * scale + offset;
    int wd = std::max(1, int(std::lround(width * scale)));
    d = (wd % 2) ? std::floor(d) + 0.5f : std::round(d);
    return (d - offset) / scale;
}

struct G {
    float x, y;
};

Point lerp(Point a, Point b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

float dist(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

// A polygon whose corners are rounded by the given radii (quadratic curves, sampled).
std::vector<Point> rounded(const std::vector<Point>& v, const std::vector<float>& radii) {
    std::vector<Point> out;
    size_t n = v.size();
    for (size_t i = 0; i < n; ++i) {
        Point prev = v[(i + n - 1) % n], cur = v[i], next = v[(i + 1) % n];
        float r = i < radii.size() ? radii[i] : 0;
        if (r <= 0) {
            out.push_back(cur);
            continue;
        }
        float l1 = dist(prev, cur), l2 = dist(cur, next);
        if (l1 <= 0 || l2 <= 0) continue;
        Point a = lerp(cur, prev, std::min(r, l1 / 2) / l1);
        Point b = lerp(cur, next, std::min(r, l2 / 2) / l2);
        constexpr int steps = 6;
        for (int k = 0; k <= steps; ++k) {
            float t = float(k) / steps;
            out.push_back(lerp(lerp(a, cur, t), lerp(cur, b, t), t));
        }
    }
    return out;
}

// Drawing on a 24-unit grid laid over the icon square.
class Canvas {
public:
    Canvas(Painter& painter, const Rect& sq, DeviceMap m) : p(painter), m_(m), x0_(sq.left), y0_(sq.top), u_(sq.width() / 24) {}

    Painter& p;

    float size() const { return u_ * 24; }
    float u(float v) const { return v * u_; }
    float x(float gx) const { return x0_ + gx * u_; }
    float y(float gy) const { return y0_ + gy * u_; }
    Point at(float gx, float gy) const { return {x(gx), y(gy)}; }
    Point at(G g) const { return at(g.x, g.y); }
    // A stroke of about size * ratio, in whole device pixels.
    float width(float ratio) const { return std::max(1.0f, std::round(size() * ratio * m_.sx)) / m_.sx; }
    float device_px(float logical) const { return std::max(1.0f, std::round(logical * m_.sy)) / m_.sy; }
    float cx(float gx, float w) const { return snap_centre(x(gx), w, m_.sx, m_.tx); }
    float cy(float gy, float w) const { return snap_centre(y(gy), w, m_.sy, m_.ty); }
    float ex(float gx) const { return snap_edge(x(gx), m_.sx, m_.tx); }
    float ey(float gy) const { return snap_edge(y(gy), m_.sy, m_.ty); }
    float snap_y(float ly, float w) const { return snap_centre(ly, w, m_.sy, m_.ty); }
    float snap_x(float lx, float w) const { return snap_centre(lx, w, m_.sx, m_.tx); }

    void line(G a, G b, Color c, float w) {
        p.line({cx(a.x, w), cy(a.y, w)}, {cx(b.x, w), cy(b.y, w)}, c, w);
    }
    void poly(std::initializer_list<G> g, Color c, float w, bool closed = false) {
        std::vector<Point> pts;
        for (G q : g) pts.push_back({cx(q.x, w), cy(q.y, w)});
        p.polyline(pts.data(), int(pts.size()), c, w, closed);
    }
    void fill(std::initializer_list<G> g, Color c) {
        std::vector<Point> pts;
        for (G q : g) pts.push_back(at(q));
        p.fill_polygon(pts.data(), int(pts.size()), c);
    }
    // A stroked box whose stroke centre runs along the grid edges given.
    void box(float x1, float y1, float x2, float y2, float radius, Color c, float w) {
        Rect outer{snap_edge(x(x1) - w / 2, m_.sx, m_.tx), snap_edge(y(y1) - w / 2, m_.sy, m_.ty),
                   snap_edge(x(x2) + w / 2, m_.sx, m_.tx), snap_edge(y(y2) + w / 2, m_.sy, m_.ty)};
        p.stroke_rounded_rect(outer, u(radius), c, w);
    }
    void fill_box(float x1, float y1, float x2, float y2, float radius, Color c) {
        Rect r{ex(x1), ey(y1), ex(x2), ey(y2)};
        if (radius > 0) p.fill_rounded_rect(r, u(radius), c);
        else p.fill_rect(r, c);
    }
    void ring(float gx, float gy, float r, Color c, float w) {
        p.stroke_ellipse(Rect{x(gx - r), y(gy - r), x(gx + r), y(gy + r)}, c, w);
    }
    void dot(float gx, float gy, float r, Color c) { p.fill_ellipse(Rect{x(gx - r), y(gy - r), x(gx + r), y(gy + r)}, c); }
    void dot_px(float gx, float gy, float r_px, Color c) {
        p.fill_ellipse(Rect{x(gx) - r_px, y(gy) - r_px, x(gx) + r_px, y(gy) + r_px}, c);
    }

private:
    DeviceMap m_;
    float x0_, y0_, u_;
};

// An open arrow head at tip, pointing along (dx, dy), its arms len long at 45 degrees.
void arrow_head(Canvas& c, Point tip, float dx, float dy, float len, Color col, float w) {
    float l = std::hypot(dx, dy);
    float bx = -dx / l * len, by = -dy / l * len, k = std::numbers::sqrt2_v<float> / 2;
    Point a{tip.x + (bx - by) * k, tip.y + (bx + by) * k};
    Point b{tip.x + (bx + by) * k, tip.y + (by - bx) * k};
    std::array pts = {a, tip, b};
    c.p.polyline(pts.data(), 3, col, w, false);
}

// Evenly spaced horizontal rules, on whole device pixels.
void rules(Canvas& c, float x1, float x2, float mid_y, float step_g, int count, Color col, float w,
           float last_x2 = -1) {
    float step = c.device_px(c.u(step_g));
    float y0 = c.snap_y(c.y(mid_y) - step * float(count - 1) / 2, w);
    for (int i = 0; i < count; ++i) {
        float ly = y0 + step * float(i);
        float right = (i == count - 1 && last_x2 > 0) ? last_x2 : x2;
        c.p.line({c.cx(x1, w), ly}, {c.cx(right, w), ly}, col, w);
    }
}

// The outline of a union of circles plus a bottom band, traced from a centre that sees it all.
std::vector<Point> cloud_outline(Canvas& c) {
    struct Circle {
        float x, y, r;
    };
    constexpr std::array circles = {Circle{7.5f, 14.5f, 3.5f}, Circle{12.5f, 11.0f, 5.5f}, Circle{17.0f, 14.0f, 4.0f}};
    constexpr float band_top = 14, band_bottom = 18, band_left = 7.5f, band_right = 17;
    constexpr float ox = 12, oy = 14.5f;
    std::vector<Point> out;
    constexpr int steps = 96;
    for (int i = 0; i < steps; ++i) {
        float a = float(i) * 2 * std::numbers::pi_v<float> / steps;
        float dx = std::cos(a), dy = std::sin(a);
        float best = 0;
        for (const auto& k : circles) {
            float fx = ox - k.x, fy = oy - k.y;
            float b = fx * dx + fy * dy, q = fx * fx + fy * fy - k.r * k.r;
            float disc = b * b - q;
            if (disc >= 0) best = std::max(best, -b + std::sqrt(disc));
        }
        // The band's far edge along this ray.
        float tx = dx > 0 ? (band_right - ox) / dx : dx < 0 ? (band_left - ox) / dx : 1e9f;
        float ty = dy > 0 ? (band_bottom - oy) / dy : dy < 0 ? (band_top - oy) / dy : 1e9f;
        best = std::max(best, std::min(tx, ty));
        out.push_back(c.at(ox + dx * best, oy + dy * best));
    }
    return out;
}

void draw_glyph(Canvas& c, Builtin b, Color col) {
    float w = c.width(1.0f / 16);
    switch (b) {
    case Builtin::Back: c.poly({{15, 5}, {8, 12}, {15, 19}}, col, w); break;
    case Builtin::Forward: c.poly({{9, 5}, {16, 12}, {9, 19}}, col, w); break;
    case Builtin::Up:
        c.line({12, 19.5f}, {12, 5}, col, w);
        c.poly({{6, 11}, {12, 5}, {18, 11}}, col, w);
        break;
    case Builtin::Sort:
        c.line({8, 19}, {8, 5}, col, w);
        c.poly({{4.5f, 8.5f}, {8, 5}, {11.5f, 8.5f}}, col, w);
        c.line({16, 5}, {16, 19}, col, w);
        c.poly({{12.5f, 15.5f}, {16, 19}, {19.5f, 15.5f}}, col, w);
        break;
    case Builtin::SortAscending:
    case Builtin::SortDescending: {
        // The arrow points the way the values grow; the bars show their sizes.
        bool asc = b == Builtin::SortAscending;
        c.line({6, 5}, {6, 19}, col, w);
        if (asc) c.poly({{3, 16}, {6, 19}, {9, 16}}, col, w);
        else c.poly({{3, 8}, {6, 5}, {9, 8}}, col, w);
        float step = c.device_px(c.u(5.5f));
        float y0 = c.snap_y(c.y(12) - step, w);
        for (int i = 0; i < 3; ++i) {
            float len = asc ? 3.5f + 3.5f * float(i) : 10.5f - 3.5f * float(i);
            float ly = y0 + step * float(i);
            c.p.line({c.cx(11.5f, w), ly}, {c.cx(11.5f + len, w), ly}, col, w);
        }
        break;
    }
    case Builtin::Menu: rules(c, 4.5f, 19.5f, 12, 5.5f, 3, col, w); break;
    case Builtin::List: {
        float step = c.device_px(c.u(5.5f));
        float y0 = c.snap_y(c.y(12) - step, w);
        for (int i = 0; i < 3; ++i) {
            float ly = y0 + step * float(i);
            c.p.fill_ellipse(Rect{c.x(5.25f) - w * 0.95f, ly - w * 0.95f, c.x(5.25f) + w * 0.95f, ly + w * 0.95f}, col);
            c.p.line({c.cx(9.5f, w), ly}, {c.cx(19.5f, w), ly}, col, w);
        }
        break;
    }
    case Builtin::Grid:
        for (float gx : {4.0f, 13.5f})
            for (float gy : {4.0f, 13.5f}) c.box(gx, gy, gx + 6.5f, gy + 6.5f, 1.5f, col, w);
        break;
    case Builtin::Extract:
        c.poly({{4, 13}, {4, 19.5f}, {20, 19.5f}, {20, 13}}, col, w);
        c.line({12, 16}, {12, 4}, col, w);
        c.poly({{8, 8}, {12, 4}, {16, 8}}, col, w);
        break;
    case Builtin::Close:
        c.line({6.5f, 6.5f}, {17.5f, 17.5f}, col, w);
        c.line({17.5f, 6.5f}, {6.5f, 17.5f}, col, w);
        break;
    case Builtin::Search:
        c.ring(10.5f, 10.5f, 6.5f, col, w);
        c.line({15.3f, 15.3f}, {20, 20}, col, w);
        break;
    case Builtin::Plus:
        c.line({12, 5}, {12, 19}, col, w);
        c.line({5, 12}, {19, 12}, col, w);
        break;
    case Builtin::Check: c.poly({{5, 12.5f}, {9.5f, 17}, {19, 7.5f}}, col, w); break;
    case Builtin::Warning: {
        auto tri = rounded({c.at(12, 3.5f), c.at(21.5f, 20), c.at(2.5f, 20)}, {c.u(2), c.u(2), c.u(2)});
        c.p.polyline(tri.data(), int(tri.size()), col, w, true);
        c.line({12, 9}, {12, 13.5f}, col, w);
        c.dot_px(12, 16.6f, w * 0.9f, col);
        break;
    }
    case Builtin::Error:
        c.ring(12, 12, 9, col, w);
        c.line({9, 9}, {15, 15}, col, w);
        c.line({15, 9}, {9, 15}, col, w);
        break;
    case Builtin::Refresh: {
        // Open at the upper right; the head turns clockwise into the gap.
        constexpr float start = 60, span = 290, r = 7.5f;
        c.p.arc(Rect{c.x(12 - r), c.y(12 - r), c.x(12 + r), c.y(12 + r)}, start, span, col, w);
        float a = start * std::numbers::pi_v<float> / 180;
        Point tip = c.at(12 + r * std::cos(a), 12 - r * std::sin(a));
        arrow_head(c, tip, std::sin(a), std::cos(a), c.u(4), col, w);
        break;
    }
    case Builtin::Star: {
        std::vector<Point> pts;
        for (int i = 0; i < 10; ++i) {
            float a = (-90 + 36 * float(i)) * std::numbers::pi_v<float> / 180;
            float r = i % 2 ? 4.0f : 9.5f;
            pts.push_back(c.at(12 + r * std::cos(a), 13 + r * std::sin(a)));
        }
        auto star = rounded(pts, std::vector<float>(10, c.u(0.8f)));
        c.p.polyline(star.data(), int(star.size()), col, w, true);
        break;
    }
    case Builtin::Share: {
        constexpr std::array<G, 3> nodes = {G{17.5f, 5.5f}, G{6.5f, 12}, G{17.5f, 18.5f}};
        constexpr float r = 2.6f;
        for (G n : nodes) c.ring(n.x, n.y, r, col, w);
        for (G n : {nodes[0], nodes[2]}) {
            float dx = n.x - nodes[1].x, dy = n.y - nodes[1].y, l = std::hypot(dx, dy);
            float k = (r + 0.2f) / l;
            c.p.line(c.at(nodes[1].x + dx * k, nodes[1].y + dy * k), c.at(n.x - dx * k, n.y - dy * k), col, w);
        }
        break;
    }
    case Builtin::Home:
        c.poly({{3, 11.5f}, {12, 3.5f}, {21, 11.5f}}, col, w);
        c.poly({{5.5f, 9.5f}, {5.5f, 20}, {10, 20}, {10, 14.5f}, {14, 14.5f}, {14, 20}, {18.5f, 20}, {18.5f, 9.5f}},
               col, w);
        break;
    case Builtin::Drive:
        c.box(3, 6.5f, 21, 17.5f, 2.5f, col, w);
        c.line({6.5f, 12}, {11, 12}, col, w);
        c.dot_px(17, 12, w * 1.1f, col);
        break;
    case Builtin::Trash:
    case Builtin::TrashFull: {
        auto body = rounded({c.at(6, 6.5f), c.at(18, 6.5f), c.at(17, 20.5f), c.at(7, 20.5f)},
                            {0, 0, c.u(1.8f), c.u(1.8f)});
        if (b == Builtin::TrashFull) c.p.fill_polygon(body.data(), int(body.size()), col.with_alpha(0.35f));
        body.erase(body.begin(), body.begin() + 1);  // the lid closes the top
        c.p.polyline(body.data(), int(body.size()), col, w, false);
        c.line({3.5f, 6.5f}, {20.5f, 6.5f}, col, w);
        c.poly({{9, 6.5f}, {9, 3.5f}, {15, 3.5f}, {15, 6.5f}}, col, w);
        c.line({10.2f, 10.5f}, {10.2f, 16.5f}, col, w);
        c.line({13.8f, 10.5f}, {13.8f, 16.5f}, col, w);
        break;
    }
    case Builtin::Network:
        c.ring(12, 12, 9, col, w);
        c.p.stroke_ellipse(Rect{c.x(8), c.y(3), c.x(16), c.y(21)}, col, w);
        c.line({3, 12}, {21, 12}, col, w);
        break;
    case Builtin::Cloud: {
        auto outline = cloud_outline(c);
        c.p.polyline(outline.data(), int(outline.size()), col, w, true);
        break;
    }
    default: break;
    }
}

// The page every file kind sits on: rounded, with a folded upper-right corner.
struct Page {
    float left, top, right, bottom, fold;
};

Page draw_page(Canvas& c, Color fold_col) {
    float ow = c.width(1.0f / 40);
    Page pg{c.cx(4.5f, ow), c.cy(2, ow), c.cx(19.5f, ow), c.cy(22, ow), c.device_px(c.u(5.5f))};
    float r = c.u(1.8f), rs = c.u(0.6f);
    auto shape = rounded({{pg.left, pg.top}, {pg.right - pg.fold, pg.top}, {pg.right, pg.top + pg.fold},
                          {pg.right, pg.bottom}, {pg.left, pg.bottom}},
                         {r, rs, rs, r, r});
    c.p.fill_polygon(shape.data(), int(shape.size()), pal::page);
    c.p.polyline(shape.data(), int(shape.size()), pal::page_edge, ow, true);
    auto flap = rounded({{pg.right - pg.fold, pg.top}, {pg.right, pg.top + pg.fold}, {pg.right - pg.fold, pg.top + pg.fold}},
                        {rs, rs, c.u(1.2f)});
    c.p.fill_polygon(flap.data(), int(flap.size()), fold_col);
    c.p.polyline(flap.data(), int(flap.size()), pal::page_edge, ow, true);
    return pg;
}

Color kind_colour(Builtin b) {
    switch (b) {
    case Builtin::Text: return pal::text;
    case Builtin::Image: return pal::image;
    case Builtin::Audio: return pal::audio;
    case Builtin::Video: return pal::video;
    case Builtin::Archive: return pal::archive;
    case Builtin::Pdf: return pal::pdf;
    case Builtin::Code: return pal::code;
    case Builtin::Spreadsheet: return pal::sheet;
    case Builtin::Presentation: return pal::slides;
    case Builtin::Document: return pal::doc;
    case Builtin::Font: return pal::font;
    case Builtin::Executable: return pal::exec;
    case Builtin::Link: return pal::link;
    default: return pal::text;
    }
}

// A light tint of the kind colour for the fold, so the kind shows even where the glyph is tiny.
Color tint(Color k) {
    auto mix = [](std::uint8_t a, std::uint8_t b) { return std::uint8_t((int(a) * 45 + int(b) * 55) / 100); };
    return {mix(k.r, 255), mix(k.g, 255), mix(k.b, 255), 255};
}

void draw_kind(Canvas& c, Builtin b) {
    Color k = kind_colour(b);
    bool plain = b == Builtin::File || b == Builtin::Link;
    Page pg = draw_page(c, plain ? pal::fold : tint(k));
    float w = c.width(1.0f / 22);
    bool small = c.size() < 28;
    switch (b) {
    case Builtin::Text:
        if (small) rules(c, 7.5f, 16.5f, 13.5f, 3.5f, 3, k, w, 13.5f);
        else rules(c, 7.5f, 16.5f, 14, 2.8f, 5, k, w, 13);
        break;
    case Builtin::Document:
        c.line({7.5f, 9}, {13, 9}, k, c.width(1.0f / 12));
        if (small) rules(c, 7.5f, 16.5f, 15.5f, 3.5f, 2, pal::text, w, 14);
        else rules(c, 7.5f, 16.5f, 15.5f, 2.8f, 4, pal::text, w, 14);
        break;
    case Builtin::Pdf: {
        float band_top = c.ey(13.5f);
        float r = c.u(1.8f);
        auto band = rounded({{pg.left, band_top}, {pg.right, band_top}, {pg.right, pg.bottom}, {pg.left, pg.bottom}},
                            {0, 0, r, r});
        c.p.fill_polygon(band.data(), int(band.size()), k);
        if (!small) {
            rules(c, 7.5f, 13.5f, 8.5f, 2.8f, 2, pal::text, w);
            c.line({7.5f, 17.75f}, {16.5f, 17.75f}, pal::white.with_alpha(0.9f), w);
        } else {
            c.line({7.5f, 8.5f}, {12.5f, 8.5f}, pal::text, w);
        }
        break;
    }
    case Builtin::Image:
        c.fill_box(6.5f, 9, 17.5f, 19, 1.2f, pal::sky);
        c.fill({{6.5f, 19}, {10.5f, 13}, {13, 16.5f}, {14.5f, 14.8f}, {17.5f, 19}}, k);
        c.dot(14.3f, 11.6f, 1.5f, pal::sun);
        break;
    case Builtin::Audio: {
        float sw = c.width(1.0f / 20);
        c.p.line(c.at(11.1f, 17), c.at(11.1f, 10.3f), k, sw);
        c.p.line(c.at(16.1f, 16), c.at(16.1f, 9.3f), k, sw);
        c.fill({{10.3f, 9.3f}, {16.9f, 8.0f}, {16.9f, 10.3f}, {10.3f, 11.6f}}, k);
        c.p.fill_ellipse(Rect{c.x(7.6f), c.y(15.6f), c.x(11.8f), c.y(18.8f)}, k);
        c.p.fill_ellipse(Rect{c.x(12.6f), c.y(14.6f), c.x(16.8f), c.y(17.8f)}, k);
        break;
    }
    case Builtin::Video: {
        c.fill_box(6.5f, 9.5f, 17.5f, 18.5f, 2, k);
        auto play = rounded({c.at(10.5f, 11.5f), c.at(14.5f, 14), c.at(10.5f, 16.5f)}, {c.u(0.5f), c.u(0.5f), c.u(0.5f)});
        c.p.fill_polygon(play.data(), int(play.size()), pal::white);
        break;
    }
    case Builtin::Archive: {
        // A zip track from the top edge into a wide pull tab; the teeth alternate sides.
        float tw = c.device_px(c.u(1.4f));
        float mid = c.ex(12);
        float step = c.device_px(c.u(1.5f));
        float tab_top = c.ey(12);
        int i = 0;
        for (float ty = pg.top; ty < tab_top; ty += step, ++i)
            c.p.fill_rect(Rect{i % 2 ? mid : mid - tw, ty, i % 2 ? mid + tw : mid, std::min(ty + step, tab_top)}, k);
        c.fill_box(9, 12, 15, 18.5f, 1.4f, k);
        if (!small) c.fill_box(10.6f, 14.6f, 13.4f, 16.2f, 0.6f, pal::white);
        break;
    }
    case Builtin::Code: {
        float sw = c.width(1.0f / 18);
        c.poly({{10, 10.5f}, {7, 14}, {10, 17.5f}}, k, sw);
        c.poly({{14, 10.5f}, {17, 14}, {14, 17.5f}}, k, sw);
        if (!small) c.line({13, 9.8f}, {11, 18.2f}, k, sw);
        break;
    }
    case Builtin::Spreadsheet: {
        float sw = c.width(1.0f / 36);
        c.fill_box(6.5f, 9, 17.5f, 12, 1, k);
        c.box(6.5f, 9, 17.5f, 19, 1, k, sw);
        c.line({6.5f, 15.5f}, {17.5f, 15.5f}, k, sw);
        c.line({11, 12}, {11, 19}, k, sw);
        break;
    }
    case Builtin::Presentation:
        c.fill_box(6, 9, 18, 16.5f, 1.2f, k);
        c.fill_box(8, 13.2f, 9.6f, 15, 0, pal::white);
        c.fill_box(11.2f, 11.5f, 12.8f, 15, 0, pal::white);
        c.fill_box(14.4f, 12.4f, 16, 15, 0, pal::white);
        c.line({12, 16.5f}, {12, 19}, k, w);
        c.line({9.5f, 19.2f}, {14.5f, 19.2f}, k, w);
        break;
    case Builtin::Font: {
        float sw = c.width(1.0f / 14);
        c.poly({{7.5f, 19}, {12, 8.5f}, {16.5f, 19}}, k, sw);
        c.line({9.4f, 15.3f}, {14.6f, 15.3f}, k, sw);
        break;
    }
    case Builtin::Executable: {
        c.fill_box(6, 9.5f, 18, 19, 1.6f, k);
        float sw = c.width(1.0f / 22);
        c.poly({{8.5f, 12}, {10.8f, 14.2f}, {8.5f, 16.4f}}, pal::exec_prompt, sw);
        c.line({12.3f, 16.4f}, {15.5f, 16.4f}, pal::exec_prompt, sw);
        break;
    }
    case Builtin::Link: {
        // A shortcut badge at the lower left, over the page edge.
        c.dot(8, 17, 5.2f, pal::white);
        c.ring(8, 17, 5.2f, pal::page_edge, c.width(1.0f / 40));
        float sw = c.width(1.0f / 18);
        c.p.line(c.at(5.8f, 19.2f), c.at(10, 15), k, sw);
        c.poly({{6.8f, 14.8f}, {10.2f, 14.8f}, {10.2f, 18.2f}}, k, sw);
        break;
    }
    default: break;
    }
}

void draw_folder_emblem(Canvas& c, Builtin b) {
    Color e = pal::folder_emblem;
    float w = std::max(1.0f, c.width(1.0f / 22));
    switch (b) {
    case Builtin::Documents: {
        // Solid shapes: outlines blur into the plate at sidebar sizes.
        auto page = rounded({c.at(9.4f, 10.6f), c.at(12.8f, 10.6f), c.at(14.6f, 12.4f), c.at(14.6f, 18.4f), c.at(9.4f, 18.4f)},
                            {c.u(0.6f), c.u(0.3f), c.u(0.3f), c.u(0.6f), c.u(0.6f)});
        c.p.fill_polygon(page.data(), int(page.size()), e);
        if (c.size() >= 32) rules(c, 10.8f, 13.2f, 15, 1.8f, 2, pal::folder_front, c.width(1.0f / 40));
        break;
    }
    case Builtin::Downloads:
        c.line({12, 10.5f}, {12, 16.5f}, e, w);
        c.poly({{9.3f, 14}, {12, 16.7f}, {14.7f, 14}}, e, w);
        c.line({8.8f, 18.3f}, {15.2f, 18.3f}, e, w);
        break;
    case Builtin::Music:
        c.p.line(c.at(13.2f, 16.6f), c.at(13.2f, 10.6f), e, w);
        c.poly({{13.2f, 10.6f}, {15.6f, 11.8f}}, e, w);
        c.p.fill_ellipse(Rect{c.x(9.8f), c.y(15.3f), c.x(13.6f), c.y(18.2f)}, e);
        break;
    case Builtin::Pictures:
        c.fill({{8.3f, 18}, {11, 13.5f}, {12.8f, 16}, {13.9f, 14.8f}, {15.9f, 18}}, e);
        c.dot(14.2f, 11.9f, 1.2f, e);
        break;
    case Builtin::Videos: {
        auto play = rounded({c.at(10, 10.8f), c.at(15.6f, 14.4f), c.at(10, 18)}, {c.u(0.6f), c.u(0.6f), c.u(0.6f)});
        c.p.fill_polygon(play.data(), int(play.size()), e);
        break;
    }
    case Builtin::Desktop:
        c.fill_box(8, 10.8f, 16, 16.2f, 0.8f, e);
        c.line({12, 16.2f}, {12, 18.2f}, e, w);
        c.line({10, 18.4f}, {14, 18.4f}, e, w);
        break;
    case Builtin::Home:
        c.poly({{8.2f, 14}, {12, 10.6f}, {15.8f, 14}}, e, w);
        c.poly({{9.3f, 13}, {9.3f, 18.2f}, {14.7f, 18.2f}, {14.7f, 13}}, e, w);
        break;
    default: break;
    }
}

void draw_folder(Canvas& c, Builtin b) {
    bool open = b == Builtin::FolderOpen;
    float r = c.u(1.8f);
    float left = c.ex(2), right = c.ex(22), bottom = c.ey(20.5f), tab_top = c.ey(4), body_top = c.ey(6.5f);
    float tab_right = c.x(9), slope = c.u(2);
    auto back = rounded({{left, tab_top}, {tab_right, tab_top}, {tab_right + slope, body_top}, {right, body_top},
                         {right, bottom}, {left, bottom}},
                        {r * 0.8f, c.u(0.8f), c.u(0.8f), r, r, r});
    c.p.fill_polygon(back.data(), int(back.size()), pal::folder_back);
    if (c.size() >= 32 || open) c.fill_box(3.5f, open ? 7.5f : 7.2f, 20.5f, 14, 0.8f, pal::white.with_alpha(0.95f));
    float front_top = c.ey(open ? 10.5f : 8.5f);
    if (open) {
        auto front = rounded({{c.x(5), front_top}, {c.x(23.2f), front_top}, {c.x(20.5f), bottom}, {left - c.u(0.5f), bottom}},
                             {c.u(1.2f), c.u(1.2f), r, r});
        c.p.fill_polygon(front.data(), int(front.size()), pal::folder_front);
        return;
    }
    c.p.fill_rounded_rect(Rect{left, front_top, right, bottom}, r, pal::folder_front);
    // A lighter lip along the opening gives the front plate its edge at every size.
    float lip = c.device_px(c.u(0.75f));
    auto top_band = rounded({{left, front_top}, {right, front_top}, {right, front_top + lip * 2}, {left, front_top + lip * 2}},
                            {r, r, 0, 0});
    c.p.save();
    c.p.clip(Rect{left, front_top, right, front_top + lip});
    c.p.fill_polygon(top_band.data(), int(top_band.size()), pal::folder_lip);
    c.p.restore();
    draw_folder_emblem(c, b);
}

bool is_folder_shape(Builtin b) {
    switch (b) {
    case Builtin::Folder: case Builtin::FolderOpen: case Builtin::Desktop: case Builtin::Documents:
    case Builtin::Downloads: case Builtin::Music: case Builtin::Pictures: case Builtin::Videos:
        return true;
    default: return false;
    }
}

bool is_kind(Builtin b) {
    switch (b) {
    case Builtin::File: case Builtin::Text: case Builtin::Image: case Builtin::Audio: case Builtin::Video:
    case Builtin::Archive: case Builtin::Pdf: case Builtin::Code: case Builtin::Spreadsheet:
    case Builtin::Presentation: case Builtin::Document: case Builtin::Font: case Builtin::Executable:
    case Builtin::Link:
        return true;
    default: return false;
    }
}

// Glyphs drawn in a translucent colour go through an opaque layer first, so that strokes
// crossing each other (an arrow's head on its shaft) do not darken where they meet.
void draw_glyph_layered(Painter& p, Builtin b, const Rect& sq, Color col, DeviceMap m) {
    auto* qp = dynamic_cast<QtPainter*>(&p);
    if (col.a == 255 || !qp) {
        Canvas c(p, sq, m);
        draw_glyph(c, b, col);
        return;
    }
    float dpr = m.sx;
    int px = std::max(1, int(std::ceil(sq.width() * dpr)) + 2);
    QImage layer(px, px, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    layer.setDevicePixelRatio(dpr);
    {
        QPainter lp(&layer);
        QtPainter inner(lp, p.text_renderer());
        Canvas c(inner, Rect{0, 0, sq.width(), sq.width()}, DeviceMap{dpr, dpr, 0, 0});
        Color opaque = col;
        opaque.a = 255;
        draw_glyph(c, b, opaque);
    }
    QPainter& q = qp->qpainter();
    q.save();
    q.setOpacity(q.opacity() * col.a / 255.0);
    q.drawImage(QPointF(sq.left, sq.top), layer);
    q.restore();
}

bool force_builtin() {
    const char* v = std::getenv("ORVO_UI_BUILTIN_ICONS");
    return v && v[0] == '1';
}

std::mutex& cache_mutex() {
    static std::mutex m;
    return m;
}

// A theme icon rendered at a device size, centred on a canvas of exactly that size: themes
// ship fixed sizes, and a 16 px icon centred in 18 px stays sharper than one stretched to it.
const QImage* theme_image(const std::string& name, int px) {
    static std::map<std::pair<std::string, int>, QImage> cache;
    std::lock_guard lock(cache_mutex());
    auto key = std::make_pair(name, px);
    if (auto it = cache.find(key); it != cache.end()) return it->second.isNull() ? nullptr : &it->second;
    if (cache.size() > 512) cache.clear();
    QIcon icon = QIcon::fromTheme(qstr(name));
    QImage out;
    if (!icon.isNull()) {
        QPixmap pm = icon.pixmap(QSize(px, px), 1.0);
        if (!pm.isNull()) {
            QImage src = pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            src.setDevicePixelRatio(1);
            if (src.width() > px || src.height() > px)
                src = src.scaled(px, px, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            out = QImage(px, px, QImage::Format_ARGB32_Premultiplied);
            out.fill(Qt::transparent);
            QPainter qp(&out);
            qp.drawImage(QPoint((px - src.width()) / 2, (px - src.height()) / 2), src);
        }
    }
    auto& slot = cache[key] = std::move(out);
    return slot.isNull() ? nullptr : &slot;
}

bool draw_theme(Painter& p, const std::string& name, const Rect& sq, DeviceMap m) {
    if (name.empty() || !theme_has(name)) return false;
    float dpr = m.sx;
    int px = std::max(1, int(std::lround(sq.width() * dpr)));
    const QImage* img = theme_image(name, px);
    if (!img) return false;
    if (auto* qp = dynamic_cast<QtPainter*>(&p)) {
        QImage view = *img;
        view.setDevicePixelRatio(dpr);
        qp->qpainter().drawImage(QPointF(sq.left, sq.top), view);
    } else {
        p.image(wrap_image(*img), sq);
    }
    return true;
}

const sysdirs::UserDirs& user_dirs() {
    static const sysdirs::UserDirs dirs = sysdirs::UserDirs::from_system();
    return dirs;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
    return out;
}

struct MimeRule {
    std::string_view mime;
    Builtin kind;
    std::string_view generic;
};

// Exact types that their top-level media type would not place well.
constexpr MimeRule kExact[] = {
    {"inode/directory", Builtin::Folder, "folder"},
    {"inode/symlink", Builtin::Link, ""},
    {"application/pdf", Builtin::Pdf, ""},
    {"application/x-pdf", Builtin::Pdf, ""},
    {"application/zip", Builtin::Archive, "package-x-generic"},
    {"application/x-zip-compressed", Builtin::Archive, "package-x-generic"},
    {"application/x-tar", Builtin::Archive, "package-x-generic"},
    {"application/gzip", Builtin::Archive, "package-x-generic"},
    {"application/x-gzip", Builtin::Archive, "package-x-generic"},
    {"application/x-7z-compressed", Builtin::Archive, "package-x-generic"},
    {"application/x-compressed-tar", Builtin::Archive, "package-x-generic"},
    {"application/x-bzip2", Builtin::Archive, "package-x-generic"},
    {"application/x-bzip-compressed-tar", Builtin::Archive, "package-x-generic"},
    {"application/x-xz", Builtin::Archive, "package-x-generic"},
    {"application/x-xz-compressed-tar", Builtin::Archive, "package-x-generic"},
    {"application/zstd", Builtin::Archive, "package-x-generic"},
    {"application/vnd.rar", Builtin::Archive, "package-x-generic"},
    {"application/x-rar", Builtin::Archive, "package-x-generic"},
    {"application/java-archive", Builtin::Archive, "package-x-generic"},
    {"application/vnd.debian.binary-package", Builtin::Archive, "package-x-generic"},
    {"application/x-rpm", Builtin::Archive, "package-x-generic"},
    {"text/csv", Builtin::Spreadsheet, "x-office-spreadsheet"},
    {"text/tab-separated-values", Builtin::Spreadsheet, "x-office-spreadsheet"},
    {"application/vnd.ms-excel", Builtin::Spreadsheet, "x-office-spreadsheet"},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", Builtin::Spreadsheet, "x-office-spreadsheet"},
    {"application/vnd.oasis.opendocument.spreadsheet", Builtin::Spreadsheet, "x-office-spreadsheet"},
    {"application/vnd.ms-powerpoint", Builtin::Presentation, "x-office-presentation"},
    {"application/vnd.openxmlformats-officedocument.presentationml.presentation", Builtin::Presentation,
     "x-office-presentation"},
    {"application/vnd.oasis.opendocument.presentation", Builtin::Presentation, "x-office-presentation"},
    {"application/msword", Builtin::Document, "x-office-document"},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.document", Builtin::Document, "x-office-document"},
    {"application/vnd.oasis.opendocument.text", Builtin::Document, "x-office-document"},
    {"application/rtf", Builtin::Document, "x-office-document"},
    {"text/rtf", Builtin::Document, "x-office-document"},
    {"application/epub+zip", Builtin::Document, "x-office-document"},
    {"application/vnd.ms-fontobject", Builtin::Font, "font-x-generic"},
    {"application/x-font-ttf", Builtin::Font, "font-x-generic"},
    {"application/x-font-otf", Builtin::Font, "font-x-generic"},
    {"application/x-executable", Builtin::Executable, "application-x-executable"},
    {"application/x-pie-executable", Builtin::Executable, "application-x-executable"},
    {"application/x-sharedlib", Builtin::Executable, "application-x-executable"},
    {"application/x-shellscript", Builtin::Executable, "application-x-executable"},
    {"application/vnd.microsoft.portable-executable", Builtin::Executable, "application-x-executable"},
    {"application/json", Builtin::Code, "text-x-script"},
    {"application/xml", Builtin::Code, "text-x-script"},
    {"application/javascript", Builtin::Code, "text-x-script"},
    {"application/typescript", Builtin::Code, "text-x-script"},
    {"application/x-python", Builtin::Code, "text-x-script"},
    {"application/x-ruby", Builtin::Code, "text-x-script"},
    {"application/x-perl", Builtin::Code, "text-x-script"},
    {"application/x-php", Builtin::Code, "text-x-script"},
    {"application/sql", Builtin::Code, "text-x-script"},
    {"application/toml", Builtin::Code, "text-x-script"},
    {"application/yaml", Builtin::Code, "text-x-script"},
    {"application/x-yaml", Builtin::Code, "text-x-script"},
    {"text/html", Builtin::Code, "text-html"},
    {"text/css", Builtin::Code, "text-x-script"},
    {"text/javascript", Builtin::Code, "text-x-script"},
    {"text/xml", Builtin::Code, "text-x-script"},
    {"text/rust", Builtin::Code, "text-x-script"},
    {"text/markdown", Builtin::Text, "text-x-generic"},
    {"application/ogg", Builtin::Audio, "audio-x-generic"},
};

// Source types under text/ that are not in the table: "text/x-<language>".
constexpr std::string_view kCodeSubtypes[] = {
    "x-c", "x-csrc", "x-chdr", "x-c++", "x-c++src", "x-c++hdr", "x-python", "x-python3", "x-java", "x-go",
    "x-rust", "x-ruby", "x-perl", "x-php", "x-csharp", "x-kotlin", "x-swift", "x-lua", "x-typescript",
    "x-javascript", "x-sql", "x-cmake", "x-makefile", "x-yaml", "x-toml", "x-haskell", "x-scala", "x-sh",
};

Icon folder_icon(Builtin b, std::string_view name) { return Icon{b, std::string(name), "folder"}; }

}  // namespace

std::span<const Builtin> all_builtins() { return kAll; }

std::string_view builtin_name(Builtin b) {
    size_t i = size_t(b);
    return i < kNames.size() ? kNames[i] : std::string_view("file");
}

bool is_glyph(Builtin b) { return !is_folder_shape(b) && !is_kind(b); }

Icon builtin(Builtin b) { return Icon{b, {}, {}}; }

Icon icon_for_mime(std::string_view mime_in, bool is_dir) {
    std::string mime = lower(mime_in.substr(0, mime_in.find(';')));
    while (!mime.empty() && mime.back() == ' ') mime.pop_back();
    if (is_dir) return folder_icon(Builtin::Folder, "folder");
    std::string theme = mime;
    for (char& ch : theme)
        if (ch == '/') ch = '-';
    for (const auto& r : kExact)
        if (r.mime == mime) return Icon{r.kind, r.kind == Builtin::Folder ? "folder" : theme, std::string(r.generic)};
    auto slash = mime.find('/');
    std::string_view top = std::string_view(mime).substr(0, slash);
    std::string_view sub = slash == std::string::npos ? std::string_view() : std::string_view(mime).substr(slash + 1);
    auto ends_with = [&](std::string_view suffix) { return sub.size() > suffix.size() && sub.ends_with(suffix); };
    if (top == "text") {
        for (auto s : kCodeSubtypes)
            if (sub == s) return Icon{Builtin::Code, theme, "text-x-script"};
        return Icon{Builtin::Text, theme, "text-x-generic"};
    }
    if (top == "image") return Icon{Builtin::Image, theme, "image-x-generic"};
    if (top == "audio") return Icon{Builtin::Audio, theme, "audio-x-generic"};
    if (top == "video") return Icon{Builtin::Video, theme, "video-x-generic"};
    if (top == "font") return Icon{Builtin::Font, theme, "font-x-generic"};
    if (ends_with("+xml") || ends_with("+json")) return Icon{Builtin::Code, theme, "text-x-script"};
    if (ends_with("-compressed-tar") || ends_with("+zip")) return Icon{Builtin::Archive, theme, "package-x-generic"};
    if (mime.empty()) return Icon{Builtin::File, {}, "application-x-generic"};
    return Icon{Builtin::File, theme, "application-x-generic"};
}

Icon icon_for_path(const std::filesystem::path& path, bool is_dir) {
    if (is_dir) {
        if (auto kind = user_dirs().classify(path)) {
            using K = sysdirs::UserDirKind;
            switch (*kind) {
            case K::Home: return folder_icon(Builtin::Home, "user-home");
            case K::Desktop: return folder_icon(Builtin::Desktop, "user-desktop");
            case K::Documents: return folder_icon(Builtin::Documents, "folder-documents");
            case K::Downloads: return folder_icon(Builtin::Downloads, "folder-download");
            case K::Music: return folder_icon(Builtin::Music, "folder-music");
            case K::Pictures: return folder_icon(Builtin::Pictures, "folder-pictures");
            case K::Videos: return folder_icon(Builtin::Videos, "folder-videos");
            case K::PublicShare: return folder_icon(Builtin::Folder, "folder-publicshare");
            case K::Templates: return folder_icon(Builtin::Folder, "folder-templates");
            }
        }
        static const std::optional<std::filesystem::path> trash = [] {
            auto d = sysdirs::data_dir();
            return d ? std::optional(*d / "Trash" / "files") : std::nullopt;
        }();
        if (trash && sysdirs::same_path(path, *trash)) return Icon{Builtin::Trash, "user-trash", {}};
        return folder_icon(Builtin::Folder, "folder");
    }
    // Only what the extension tells unambiguously; the application has its own, fuller guess.
    static const std::unordered_map<std::string, std::string_view> by_ext = {
        {"txt", "text/plain"}, {"md", "text/markdown"}, {"log", "text/plain"}, {"pdf", "application/pdf"},
        {"png", "image/png"}, {"jpg", "image/jpeg"}, {"jpeg", "image/jpeg"}, {"gif", "image/gif"},
        {"webp", "image/webp"}, {"svg", "image/svg+xml"}, {"mp3", "audio/mpeg"}, {"flac", "audio/flac"},
        {"ogg", "audio/ogg"}, {"wav", "audio/x-wav"}, {"mp4", "video/mp4"}, {"mkv", "video/x-matroska"},
        {"webm", "video/webm"}, {"mov", "video/quicktime"}, {"zip", "application/zip"}, {"tar", "application/x-tar"},
        {"gz", "application/gzip"}, {"tgz", "application/x-compressed-tar"}, {"7z", "application/x-7z-compressed"},
        {"xz", "application/x-xz"}, {"odt", "application/vnd.oasis.opendocument.text"},
        {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
        {"ods", "application/vnd.oasis.opendocument.spreadsheet"}, {"csv", "text/csv"},
        {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
        {"odp", "application/vnd.oasis.opendocument.presentation"},
        {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
        {"ttf", "font/ttf"}, {"otf", "font/otf"}, {"woff2", "font/woff2"}, {"c", "text/x-csrc"},
        {"h", "text/x-chdr"}, {"cpp", "text/x-c++src"}, {"hpp", "text/x-c++hdr"}, {"py", "text/x-python"},
        {"rs", "text/rust"}, {"go", "text/x-go"}, {"js", "text/javascript"}, {"json", "application/json"},
        {"xml", "application/xml"}, {"yaml", "application/yaml"}, {"toml", "application/toml"},
        {"html", "text/html"}, {"css", "text/css"}, {"sh", "application/x-shellscript"},
    };
    std::string ext = path.extension().string();
    if (ext.size() > 1) {
        if (auto it = by_ext.find(lower(std::string_view(ext).substr(1))); it != by_ext.end())
            return icon_for_mime(it->second, false);
    }
    return icon_for_mime("application/octet-stream", false);
}

bool theme_has(std::string_view name) {
    if (name.empty() || !QGuiApplication::instance()) return false;
    static std::unordered_map<std::string, bool> known;
    std::string key(name);
    {
        std::lock_guard lock(cache_mutex());
        if (auto it = known.find(key); it != known.end()) return it->second;
    }
    bool has = QIcon::hasThemeIcon(qstr(name));
    std::lock_guard lock(cache_mutex());
    known[key] = has;
    return has;
}

void draw_icon(Painter& p, const Icon& icon, const Rect& r, Color color, Source source) {
    float s = std::min(r.width(), r.height());
    if (!(s > 0) || !std::isfinite(s)) return;
    DeviceMap m = device_map(p);
    Point mid = r.center();
    // Whole device pixels for the square's corner keep every snapped edge inside it sharp.
    Rect sq = Rect::from_xywh(snap_edge(mid.x - s / 2, m.sx, m.tx), snap_edge(mid.y - s / 2, m.sy, m.ty), s, s);
    // A place met in a listing carries its theme name: the home folder then sits among its
    // sibling folders as one, while the bare built-in stays the places glyph.
    bool place = !icon.theme_name.empty() &&
                 (icon.builtin == Builtin::Home || icon.builtin == Builtin::Trash || icon.builtin == Builtin::TrashFull);
    bool themed = is_folder_shape(icon.builtin) || place;
    if (themed && source == Source::Auto && !force_builtin() &&
        (draw_theme(p, icon.theme_name, sq, m) || draw_theme(p, icon.generic_name, sq, m)))
        return;
    Canvas c(p, sq, m);
    if (icon.builtin == Builtin::Home && place) draw_folder(c, Builtin::Home);
    else if (is_folder_shape(icon.builtin)) draw_folder(c, icon.builtin);
    else if (is_kind(icon.builtin)) draw_kind(c, icon.builtin);
    else draw_glyph_layered(p, icon.builtin, sq, color, m);
}

}  // namespace orvo_ui::icons
