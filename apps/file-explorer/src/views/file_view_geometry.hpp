#pragma once
// Where every row, tile, column and header cell of the file view lies. Pure arithmetic, so the
// drawing, the hit tests and the keyboard all agree.
#include <orvo_ui/geometry.hpp>

#include <cstddef>
#include <optional>
#include <utility>

namespace files::views {

using orvo_ui::Point;
using orvo_ui::Rect;

struct ListGeometry {
    float left = 0, top = 0, width = 0;
    float s = 1, t = 1;
    float header_height = 0, row_height = 0, margin = 0;
    bool show_size = false, show_modified = false;
    float name_left = 0, name_right = 0;
    float size_left = 0, size_right = 0;
    float modified_left = 0, modified_right = 0;

    Rect row(std::size_t i) const;
    Rect header() const { return {left, top, left + width, top + header_height}; }
    float content_height(std::size_t count) const { return header_height + row_height * float(count); }
};

struct GridGeometry {
    float left = 0, top = 0, width = 0;
    float s = 1, t = 1;
    float inset = 0, gap = 0, inner_width = 0, tile_width = 0, tile_height = 0;
    std::size_t columns = 1;

    Rect tile(std::size_t i) const;
    std::size_t rows(std::size_t count) const { return count == 0 ? 0 : (count + columns - 1) / columns; }
    float content_height(std::size_t count) const;
};

// Scales as the view takes them: item scale 0.5..3, text scale 0.5..4.
float clamp_item_scale(float s);
float clamp_text_scale(float t);

ListGeometry list_geometry(float left, float top, float width, float s, float t);
GridGeometry grid_geometry(float left, float top, float width, float s, float t);

std::optional<std::size_t> hit_test(const ListGeometry& g, Point p, std::size_t count);
std::optional<std::size_t> hit_test(const GridGeometry& g, Point p, std::size_t count);
// The header column under a point: 1 Name, 2 Size, 3 Modified; hidden columns are not hit.
std::optional<int> header_column(const ListGeometry& g, Point p);

// Entries [first, last) that intersect the clip; the grid includes one extra row above.
std::pair<std::size_t, std::size_t> visible_range(const ListGeometry& g, const Rect& clip, std::size_t count);
std::pair<std::size_t, std::size_t> visible_range(const GridGeometry& g, const Rect& clip, std::size_t count);

// The icon box and label line of a tile.
struct TileParts {
    Rect icon;
    Rect label;
};
TileParts tile_parts(const GridGeometry& g, const Rect& tile, float label_line_height, bool is_dir);

// Grid arrow keys: the new focus for Right, Left, Down, Up.
enum class GridMove { Right, Left, Down, Up };
std::size_t grid_move(std::optional<std::size_t> focus, GridMove m, std::size_t count, std::size_t columns);

}  // namespace files::views
