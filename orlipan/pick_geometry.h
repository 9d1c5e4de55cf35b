// Size and place of the pick window, from what the list control measured and
// from the desktop work area. 32-bit signed arithmetic, divisions truncate.
// The fixed distances, the font size taken as pixels and the offsets are
// 96-DPI pixels, scaled to the display's DPI.
#pragma once

#include <cstdint>

#include "toolkit/dpi_scale.h"

constexpr int32_t PICK_DEFAULT_ROW_HEIGHT = 18;
constexpr int32_t PICK_MENU_MARGIN = 20;
constexpr int32_t PICK_SCROLL_BAR_ROOM = 20;
// How close to the work area's right and bottom edges a window may start.
constexpr int32_t PICK_EDGE_KEEP = 50;

struct PickRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct GeometryInput {
    int32_t item_count = 0;
    int32_t row_height = PICK_DEFAULT_ROW_HEIGHT;
    int32_t column_width = 0;  // fitted width of the single column
    int32_t font_size = 9;     // points, used directly as pixels
    int32_t offset_x = 0;
    int32_t offset_y = 0;
    bool menu = false;
    bool console_center = false;
    int32_t box_height = 0;  // the filter box above the list; 0 without one
    PickRect work_area;
    PickRect console_rect;
    int32_t dpi = DPI_BASE;
};

struct PickGeometry {
    int32_t x = 0;  // outer position
    int32_t y = 0;
    int32_t inner_width = 0;
    int32_t inner_height = 0;
    int32_t margin = 0;
    bool scrolled = false;
    int32_t initial_selection = 0;
};

PickGeometry compute_pick_geometry(const GeometryInput& input);

// The row height to use when the list cannot measure one.
int32_t pick_default_row_height(int32_t dpi);

// Where the list goes inside a window of the given inner size: left, top,
// right, bottom in client coordinates; below the filter box if there is one.
PickRect pick_list_layout(int32_t inner_width, int32_t inner_height, int32_t margin,
                          int32_t box_height = 0);
// Where the filter box goes: across the top, inside the margin.
PickRect pick_box_layout(int32_t inner_width, int32_t margin, int32_t box_height);
