#include <gtest/gtest.h>

#include <cmath>

#include "files_app/sheet.hpp"
#include "views/file_view_geometry.hpp"

using namespace files::views;
using orvo_ui::Point;
using orvo_ui::Rect;

TEST(ListGeometry, ColumnsAppearWithWidth) {
    struct Case {
        float width;
        bool size, modified;
    };
    for (auto c : {Case{300, false, false}, Case{340, false, false}, Case{400, true, false}, Case{560, true, false},
                   Case{600, true, true}}) {
        auto g = list_geometry(0, 0, c.width, 1, 1);
        EXPECT_EQ(g.show_size, c.size) << c.width;
        EXPECT_EQ(g.show_modified, c.modified) << c.width;
    }
    auto g = list_geometry(0, 0, 600, 1, 1);
    EXPECT_FLOAT_EQ(g.modified_right, 590);
    EXPECT_FLOAT_EQ(g.modified_left, 590 - 158);
    EXPECT_FLOAT_EQ(g.size_right, 590 - 158 - 10);
    EXPECT_FLOAT_EQ(g.size_left, g.size_right - 96);
    EXPECT_FLOAT_EQ(g.name_right, g.size_left - 10);
    auto narrow = list_geometry(0, 0, 300, 1, 1);
    EXPECT_FLOAT_EQ(narrow.name_right, 290);
}

TEST(ListGeometry, HitTestSkipsTheHeaderAndTheEnd) {
    auto g = list_geometry(100, 50, 600, 1, 1);
    EXPECT_FALSE(hit_test(g, {150, 60}, 10));   // header band
    EXPECT_EQ(hit_test(g, {150, 80}, 10), 0u);  // first row starts at 50 + 30
    EXPECT_EQ(hit_test(g, {150, 80 + 34 * 9 + 1}, 10), 9u);
    EXPECT_FALSE(hit_test(g, {150, 80 + 34 * 10 + 1}, 10));
    EXPECT_FALSE(hit_test(g, {99, 100}, 10));
    EXPECT_FALSE(hit_test(g, {700, 100}, 10));
    EXPECT_EQ(header_column(g, {120, 60}), 1);
    EXPECT_EQ(header_column(g, {g.size_left + 1, 60}), 2);
    EXPECT_EQ(header_column(g, {g.modified_left + 1, 60}), 3);
    EXPECT_FALSE(header_column(list_geometry(0, 0, 300, 1, 1), {250, 10}).value_or(1) != 1);
}

TEST(GridGeometry, TileMaths) {
    struct Case {
        float width, s, t;
        std::size_t columns;
        float tile_w, tile_h;
    };
    const float two_up = (400 - 16 * std::sqrt(2.0f)) / 2;
    for (auto c : {Case{290, 1, 1, 2, 112, 104}, Case{400, 1, 1, 3, 112, 104}, Case{420, 1, 2, 2, two_up, 140},
                   Case{100, 1, 1, 1, 112, 104}}) {
        auto g = grid_geometry(0, 0, c.width, c.s, c.t);
        EXPECT_EQ(g.columns, c.columns) << c.width;
        EXPECT_NEAR(g.tile_width, c.tile_w, 0.01) << c.width;
        EXPECT_NEAR(g.tile_height, c.tile_h, 0.01) << c.width;
    }
}

TEST(GridGeometry, GapsAndEdgesHitNothing) {
    auto g = grid_geometry(0, 0, 400, 1, 1);  // 3 columns of 112 with gaps of 16, inset 10
    EXPECT_EQ(hit_test(g, {15, 15}, 10), 0u);
    EXPECT_FALSE(hit_test(g, {10 + 112 + 8, 40}, 10));  // between tiles 0 and 1
    EXPECT_EQ(hit_test(g, {10 + 128 + 5, 40}, 10), 1u);
    EXPECT_FALSE(hit_test(g, {40, 10 + 104 + 8}, 10));  // between rows
    EXPECT_FALSE(hit_test(g, {5, 40}, 10));             // in the inset
    EXPECT_EQ(hit_test(g, {15, 10 + 3 * 120 + 5}, 10), 9u);
    EXPECT_FALSE(hit_test(g, {10 + 128 + 5, 10 + 3 * 120 + 5}, 10));  // past the last entry
}

TEST(GridGeometry, ArrowKeysStopAtTheEdges) {
    struct Case {
        std::optional<std::size_t> focus;
        GridMove move;
        std::size_t want;
    };
    // 10 entries in 3 columns.
    const Case cases[] = {
        {std::nullopt, GridMove::Right, 1}, {0, GridMove::Left, 0},  {9, GridMove::Right, 9},
        {1, GridMove::Up, 0},               {4, GridMove::Up, 1},    {8, GridMove::Down, 9},
        {2, GridMove::Down, 5},             {20, GridMove::Left, 8},
    };
    for (auto c : cases) EXPECT_EQ(grid_move(c.focus, c.move, 10, 3), c.want);
}

TEST(GridGeometry, VisibleRangeIncludesOneRowAbove) {
    auto g = grid_geometry(0, 0, 400, 1, 1);  // rows every 120 px
    auto [first, last] = visible_range(g, Rect{0, 250, 400, 480}, 100);
    EXPECT_EQ(first, 3u);  // row 2 is visible from 250; row 1 is the extra one
    EXPECT_EQ(last, 12u);
    auto l = list_geometry(0, 0, 400, 1, 1);
    auto [lf, ll] = visible_range(l, Rect{0, 30 + 34 * 5 + 1, 400, 30 + 34 * 8}, 1000);
    EXPECT_EQ(lf, 5u);
    EXPECT_EQ(ll, 8u);
}

TEST(SheetGeometry, SmallAndLargeWindows) {
    using files::app::sheet_geometry;
    // Large: the panel keeps its maximum width and wanted height.
    auto big = sheet_geometry(Rect{232, 0, 1280, 800}, 11, false, 17);
    EXPECT_FLOAT_EQ(big.panel.width(), 680 - 32);
    EXPECT_FLOAT_EQ(big.panel.height(), 116 + 27 * 11);
    EXPECT_FLOAT_EQ(big.panel.left, 232 + (1048 - 648) / 2.0f);
    EXPECT_FLOAT_EQ(big.panel.top, (800 - (116 + 297)) / 2.0f);
    EXPECT_EQ(big.lines.size(), 11u);
    EXPECT_FLOAT_EQ(big.lines[0].bullet.top, big.panel.top + 88 + 5);
    EXPECT_FLOAT_EQ(big.lines[1].bullet.top, big.panel.top + 88 + 27 + 5);
    EXPECT_FLOAT_EQ(big.close.left, big.panel.right - 42);
    EXPECT_FALSE(big.button);

    // Small: at least 320 wide less the margins, the height bounded by the window but never under 180.
    auto small = sheet_geometry(Rect{0, 0, 300, 200}, 14, true, 17);
    EXPECT_FLOAT_EQ(small.panel.width(), 320 - 32);
    EXPECT_FLOAT_EQ(small.panel.height(), 180);
    ASSERT_TRUE(small.button);
    EXPECT_FLOAT_EQ(small.button->top, small.panel.bottom - 50);
    EXPECT_FLOAT_EQ(small.button->right, small.panel.right - 24);
    // Only lines whose top stays 26 clear of the bottom are kept.
    for (const auto& line : small.lines) EXPECT_LE(line.bullet.top - 5, small.panel.bottom - 26);
    EXPECT_LT(small.lines.size(), 14u);
}
