#include "views/file_view_geometry.hpp"

#include <algorithm>
#include <cmath>

namespace files::views {

float clamp_item_scale(float s) { return std::clamp(s, 0.5f, 3.0f); }
float clamp_text_scale(float t) { return std::clamp(t, 0.5f, 4.0f); }

ListGeometry list_geometry(float left, float top, float width, float s, float t) {
    ListGeometry g;
    g.left = left;
    g.top = top;
    g.width = width;
    g.s = s = clamp_item_scale(s);
    g.t = t = clamp_text_scale(t);
    g.header_height = 30 * s * t;
    g.row_height = 34 * s * t;
    g.margin = 10 * s;
    float right = left + width - g.margin;
    g.show_modified = width > 560 * s * t;
    g.show_size = width > 340 * s * t;
    if (g.show_modified) {
        g.modified_right = right;
        g.modified_left = right - 158 * s * t;
    }
    if (g.show_size) {
        g.size_right = g.show_modified ? g.modified_left - 10 * s : right;
        g.size_left = g.size_right - 96 * s * t;
    }
    g.name_left = left + g.margin;
    g.name_right = g.show_size ? g.size_left - 10 * s : right;
    return g;
}

Rect ListGeometry::row(std::size_t i) const {
    float y = top + header_height + row_height * float(i);
    return {left, y, left + width, y + row_height};
}

GridGeometry grid_geometry(float left, float top, float width, float s, float t) {
    GridGeometry g;
    g.left = left;
    g.top = top;
    g.width = width;
    g.s = s = clamp_item_scale(s);
    g.t = t = clamp_text_scale(t);
    g.inset = 10 * s;
    g.gap = 16 * s * std::sqrt(t);
    g.inner_width = std::max(width - 20 * s, 0.0f);
    float standard = 112 * s * t;
    float half = (g.inner_width - g.gap) / 2;
    g.tile_width = (g.inner_width < 2 * standard + g.gap && half >= 132) ? half : standard;
    float a = 104 * s + 36 * s * std::max(t - 1, 0.0f);
    g.tile_height = g.tile_width < standard ? std::min(a, 0.9f * g.tile_width) : a;
    g.columns = std::max<std::size_t>(1, std::size_t(std::floor((g.inner_width + g.gap) / (g.tile_width + g.gap))));
    return g;
}

Rect GridGeometry::tile(std::size_t i) const {
    std::size_t col = i % columns, row = i / columns;
    float x = left + inset + float(col) * (tile_width + gap);
    float y = top + inset + float(row) * (tile_height + gap);
    return {x, y, x + tile_width, y + tile_height};
}

float GridGeometry::content_height(std::size_t count) const {
    std::size_t r = rows(count);
    if (r == 0) return 2 * inset;
    return 2 * inset + float(r) * tile_height + float(r - 1) * gap;
}

std::optional<std::size_t> hit_test(const ListGeometry& g, Point p, std::size_t count) {
    if (p.x < g.left || p.x >= g.left + g.width || p.y < g.top) return std::nullopt;
    float y = p.y - g.top - g.header_height;
    if (y < 0) return std::nullopt;
    auto i = std::size_t(std::floor(y / g.row_height));
    if (i >= count) return std::nullopt;
    return i;
}

std::optional<std::size_t> hit_test(const GridGeometry& g, Point p, std::size_t count) {
    if (p.x < g.left || p.x >= g.left + g.width || p.y < g.top) return std::nullopt;
    float x = p.x - g.left - g.inset, y = p.y - g.top - g.inset;
    if (x < 0 || y < 0) return std::nullopt;
    auto col = std::size_t(std::floor(x / (g.tile_width + g.gap)));
    auto row = std::size_t(std::floor(y / (g.tile_height + g.gap)));
    if (col >= g.columns) return std::nullopt;
    // Inside a gap between tiles.
    if (x - float(col) * (g.tile_width + g.gap) >= g.tile_width) return std::nullopt;
    if (y - float(row) * (g.tile_height + g.gap) >= g.tile_height) return std::nullopt;
    std::size_t i = row * g.columns + col;
    if (i >= count) return std::nullopt;
    return i;
}

std::optional<int> header_column(const ListGeometry& g, Point p) {
    if (p.y < g.top || p.y >= g.top + g.header_height) return std::nullopt;
    if (p.x >= g.name_left && p.x < g.name_right) return 1;
    if (g.show_size && p.x >= g.size_left && p.x < g.size_right) return 2;
    if (g.show_modified && p.x >= g.modified_left && p.x < g.modified_right) return 3;
    return std::nullopt;
}

std::pair<std::size_t, std::size_t> visible_range(const ListGeometry& g, const Rect& clip, std::size_t count) {
    float first_y = clip.top - g.top - g.header_height;
    float last_y = clip.bottom - g.top - g.header_height;
    if (last_y <= 0 || count == 0) return {0, 0};
    auto first = std::size_t(std::max(0.0f, std::floor(first_y / g.row_height)));
    auto last = std::size_t(std::max(0.0f, std::ceil(last_y / g.row_height)));
    first = std::min(first, count);
    last = std::min(last, count);
    return {first, std::max(first, last)};
}

std::pair<std::size_t, std::size_t> visible_range(const GridGeometry& g, const Rect& clip, std::size_t count) {
    if (count == 0) return {0, 0};
    float pitch = g.tile_height + g.gap;
    float y0 = clip.top - g.top - g.inset, y1 = clip.bottom - g.top - g.inset;
    if (y1 <= 0) return {0, 0};
    auto row0 = std::size_t(std::max(0.0f, std::floor(y0 / pitch)));
    if (row0 > 0) --row0;  // one extra row above
    auto row1 = std::size_t(std::max(0.0f, std::ceil(y1 / pitch)));
    std::size_t first = std::min(row0 * g.columns, count);
    std::size_t last = std::min(row1 * g.columns, count);
    return {first, std::max(first, last)};
}

TileParts tile_parts(const GridGeometry& g, const Rect& tile, float line, bool is_dir) {
    float s = g.s;
    // The box is the same for every tile, so labels line up; a folder's smaller icon sits centred in it.
    float box = std::min(std::max(tile.height() - 12 * s - line - 14 * s, 44.0f), 59.8f * s);
    float side = is_dir ? std::min(box, 46 * s) : box;
    Rect box_rect = Rect::from_xywh(tile.center().x - box / 2, tile.top + 12 * s, box, box);
    Rect icon = Rect::from_xywh(box_rect.center().x - side / 2, box_rect.center().y - side / 2, side, side);
    float label_top = box_rect.bottom + 6 * s;
    Rect label{tile.left + 5, label_top, tile.right - 5, label_top + line};
    return {icon, label};
}

std::size_t grid_move(std::optional<std::size_t> focus, GridMove m, std::size_t n, std::size_t c) {
    if (n == 0) return 0;
    std::size_t f = std::min(focus.value_or(0), n - 1);
    switch (m) {
        case GridMove::Right: return std::min(f + 1, n - 1);
        case GridMove::Left: return f == 0 ? 0 : f - 1;
        case GridMove::Down: return std::min(f + c, n - 1);
        case GridMove::Up: return f < c ? 0 : f - c;
    }
    return f;
}

}  // namespace files::views
