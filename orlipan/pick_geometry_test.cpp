#include "orlipan/pick_geometry.h"

#include <gtest/gtest.h>

namespace {

PickRect rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    PickRect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

// Three lines of 18 pixels, a fitted column of 150, a 1920 x 1040 work area.
GeometryInput example() {
    GeometryInput in;
    in.item_count = 3;
    in.row_height = 18;
    in.column_width = 150;
    in.font_size = 9;
    in.work_area = rect(0, 0, 1920, 1040);
    in.console_rect = rect(100, 100, 700, 500);
    return in;
}

}  // namespace

TEST(PickGeometry, WorkedExampleNormalMode) {
    PickGeometry g = compute_pick_geometry(example());
    EXPECT_EQ(g.inner_width, 163);
    EXPECT_EQ(g.inner_height, 59);
    EXPECT_EQ(g.x, 879);
    EXPECT_EQ(g.y, 491);
    EXPECT_EQ(g.margin, 0);
    EXPECT_EQ(g.initial_selection, 0);
    EXPECT_FALSE(g.scrolled);
}

TEST(PickGeometry, WorkedExampleMenuModeAddsMargins) {
    GeometryInput in = example();
    in.menu = true;
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.inner_width, 203);
    EXPECT_EQ(g.inner_height, 99);
    EXPECT_EQ(g.x, 859);
    EXPECT_EQ(g.y, 471);
    EXPECT_EQ(g.margin, 20);
    EXPECT_EQ(g.initial_selection, -1);
    PickRect list = pick_list_layout(g.inner_width, g.inner_height, g.margin);
    EXPECT_EQ(list.left, 20);
    EXPECT_EQ(list.top, 20);
    EXPECT_EQ(list.right - list.left, 163);
    EXPECT_EQ(list.bottom - list.top, 59);
}

TEST(PickGeometry, EmptyListGetsTheMinimumHeight) {
    GeometryInput in = example();
    in.item_count = 0;
    EXPECT_EQ(compute_pick_geometry(in).inner_height, 54);
    in.font_size = 20;
    EXPECT_EQ(compute_pick_geometry(in).inner_height, 120);
}

TEST(PickGeometry, TallListIsCutAndWidenedForTheScrollBar) {
    GeometryInput in = example();
    in.item_count = 300;
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_TRUE(g.scrolled);
    EXPECT_EQ(g.inner_height, 832);
    EXPECT_EQ(g.inner_width, 163 + 20);
    EXPECT_EQ(g.y, 520 - 416);
}

TEST(PickGeometry, WideLineIsLimitedToTheWorkAreaWidth) {
    GeometryInput in = example();
    in.column_width = 5000;
    EXPECT_EQ(compute_pick_geometry(in).inner_width, 1536);
    // The scroll-bar room is added before the limit, so it cannot exceed it.
    in.item_count = 1000;
    EXPECT_EQ(compute_pick_geometry(in).inner_width, 1536);
    in.menu = true;
    EXPECT_EQ(compute_pick_geometry(in).inner_width, 1576);
}

TEST(PickGeometry, LargeOffsetsStopAtTheWorkAreaEdges) {
    GeometryInput in = example();
    in.work_area = rect(10, 30, 1290, 994);
    in.offset_x = 5000;
    in.offset_y = 5000;
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 1290 - 50);
    EXPECT_EQ(g.y, 994 - 50);
    in.offset_x = -5000;
    in.offset_y = -5000;
    g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 10);
    EXPECT_EQ(g.y, 30);
}

TEST(PickGeometry, SecondClampWinsOnATinyWorkArea) {
    GeometryInput in = example();
    in.work_area = rect(100, 100, 120, 120);
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 70);
    EXPECT_EQ(g.y, 70);
}

TEST(PickGeometry, ConsoleCentreIsPulledIntoTheWorkArea) {
    GeometryInput in = example();
    in.console_center = true;
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 400 - 81);
    EXPECT_EQ(g.y, 300 - 29);
    in.console_rect = rect(-900, -700, -100, -100);
    g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
    in.console_rect = rect(1800, 1000, 2600, 1600);
    g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 1870);
    EXPECT_EQ(g.y, 990);
}

TEST(PickGeometry, DivisionsTruncateTowardZero) {
    GeometryInput in = example();
    in.console_center = true;
    in.work_area = rect(-2000, -2000, 2000, 2000);
    in.console_rect = rect(-5, -5, 0, 0);  // centre (-2, -2), not (-3, -3)
    in.column_width = 0;                   // width (0 + 9) * 103 / 100 = 9
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.inner_width, 9);
    EXPECT_EQ(g.x, -2 - 4);
    EXPECT_EQ(g.y, -2 - 29);
}

// /fs= and /dx= take any 32-bit value; the formulas then wrap around as 32-bit
// signed numbers do instead of overflowing.
TEST(PickGeometry, HugeFontSizeAndOffsetsWrapAsThirtyTwoBitNumbers) {
    GeometryInput in = example();
    in.font_size = 1000000000;
    PickGeometry g = compute_pick_geometry(in);
    // font_size * 6 wraps to 1705032704, above the limit: the height is cut.
    EXPECT_TRUE(g.scrolled);
    EXPECT_EQ(g.inner_height, 832);
    // (150 + font_size) * 103 wraps negative: -791996, plus the scroll-bar room.
    EXPECT_EQ(g.inner_width, -791976);
    EXPECT_EQ(g.x, 1870);

    in = example();
    in.offset_x = INT32_MAX;
    in.offset_y = INT32_MAX;
    g = compute_pick_geometry(in);
    // The centre plus the offset wraps past the top of the range to a large
    // negative number, which the work area then clamps.
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
}

// ---- Displays of other densities ---------------------------------------------
// The measured row height and column width come from the list, already in the
// display's pixels; the fixed distances, the font size taken as pixels and the
// offsets are 96-DPI pixels and are scaled as MulDiv(value, dpi, 96) does.

namespace {

GeometryInput example_at_144() {
    GeometryInput in = example();
    in.dpi = 144;
    in.row_height = 27;
    in.column_width = 225;
    return in;
}

}  // namespace

TEST(PickGeometryScaled, WorkedExampleAt144Dpi) {
    PickGeometry g = compute_pick_geometry(example_at_144());
    // (3 * 27 + 6) * 102 / 100, the slack 4 scaled to 6.
    EXPECT_EQ(g.inner_height, 88);
    // (225 + 14) * 103 / 100, the font size 9 scaled to 13.5 and rounded up.
    EXPECT_EQ(g.inner_width, 246);
    EXPECT_EQ(g.x, 960 - 123);
    EXPECT_EQ(g.y, 520 - 44);
    EXPECT_EQ(g.margin, 0);
}

TEST(PickGeometryScaled, MenuMarginScrollBarRoomAndMinimumHeightFollowTheDpi) {
    GeometryInput in = example_at_144();
    in.menu = true;
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.margin, 30);
    EXPECT_EQ(g.inner_width, 246 + 60);
    EXPECT_EQ(g.inner_height, 88 + 60);
    EXPECT_EQ(g.x, 960 - 153);

    in = example_at_144();
    in.item_count = 300;
    g = compute_pick_geometry(in);
    EXPECT_TRUE(g.scrolled);
    EXPECT_EQ(g.inner_width, 246 + 30);

    in = example_at_144();
    in.item_count = 0;
    EXPECT_EQ(compute_pick_geometry(in).inner_height, 81);  // 54 scaled
    in.dpi = 120;
    EXPECT_EQ(compute_pick_geometry(in).inner_height, 68);  // 67.5
    in.dpi = 192;
    EXPECT_EQ(compute_pick_geometry(in).inner_height, 108);
}

TEST(PickGeometryScaled, OffsetsAndEdgeClampsAreScaledToo) {
    GeometryInput in = example_at_144();
    in.offset_x = 40;
    in.offset_y = -5;  // -7.5 rounds away from zero to -8
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 960 + 60 - 123);
    EXPECT_EQ(g.y, 520 - 8 - 44);

    in.work_area = rect(10, 30, 1290, 994);
    in.offset_x = 5000;
    in.offset_y = 5000;
    g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 1290 - 75);
    EXPECT_EQ(g.y, 994 - 75);
    in.dpi = 192;
    g = compute_pick_geometry(in);
    EXPECT_EQ(g.x, 1290 - 100);
    EXPECT_EQ(g.y, 994 - 100);
}

TEST(PickGeometryScaled, DefaultRowHeightIs18At96DpiAndScalesWithTheDisplay) {
    EXPECT_EQ(pick_default_row_height(96), 18);
    EXPECT_EQ(pick_default_row_height(120), 23);  // 22.5
    EXPECT_EQ(pick_default_row_height(144), 27);
    EXPECT_EQ(pick_default_row_height(192), 36);
}

TEST(PickGeometry, FilterBoxAddsItsHeightAboveAListOfUnchangedSize) {
    GeometryInput in = example();
    in.menu = true;
    in.box_height = 22;
    PickGeometry g = compute_pick_geometry(in);
    EXPECT_EQ(g.inner_height, 99 + 22);
    EXPECT_EQ(g.inner_width, 203);
    EXPECT_EQ(g.y, 471 - 11);
    PickRect box = pick_box_layout(g.inner_width, g.margin, 22);
    PickRect list = pick_list_layout(g.inner_width, g.inner_height, g.margin, 22);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.bottom, list.top);
    EXPECT_EQ(box.right, list.right);
    EXPECT_EQ(list.bottom - list.top, 59);
    // A list cut to the work area keeps its cut height; the box comes on top.
    in.item_count = 1000000;
    EXPECT_EQ(compute_pick_geometry(in).inner_height, 832 + 40 + 22);
}
