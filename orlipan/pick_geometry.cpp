#include "orlipan/pick_geometry.h"

namespace {

int32_t clamp_to_work_area(int32_t value, int32_t low, int32_t high) {
    if (value < low)
        value = low;
    // Applied second so that it wins when the work area is tiny.
    if (value > high - PICK_EDGE_KEEP)
        value = high - PICK_EDGE_KEEP;
    return value;
}

}  // namespace

PickGeometry compute_pick_geometry(const GeometryInput& in) {
    PickGeometry out;
    int32_t height = (in.item_count * in.row_height + in.font_size / 2) * 102 / 100;
    if (height < in.font_size * 6)
        height = in.font_size * 6;
    int32_t height_limit = (in.work_area.bottom - in.work_area.top) * 8 / 10;
    if (height > height_limit) {
        height = height_limit;
        out.scrolled = true;
    }

    int32_t width = (in.column_width + in.font_size) * 103 / 100;
    if (out.scrolled)
        width += PICK_SCROLL_BAR_ROOM;
    int32_t width_limit = (in.work_area.right - in.work_area.left) * 8 / 10;
    if (width > width_limit)
        width = width_limit;

    out.inner_width = width;
    out.inner_height = height;
    if (in.menu) {
        out.margin = PICK_MENU_MARGIN;
        out.inner_width = width + 2 * PICK_MENU_MARGIN;
        out.inner_height = height + 2 * PICK_MENU_MARGIN;
        out.initial_selection = -1;
    }

    const PickRect& centre_of = in.console_center ? in.console_rect : in.work_area;
    int32_t cx = (centre_of.left + centre_of.right) / 2;
    int32_t cy = (centre_of.top + centre_of.bottom) / 2;
    out.x = clamp_to_work_area(cx + in.offset_x - out.inner_width / 2, in.work_area.left,
                               in.work_area.right);
    out.y = clamp_to_work_area(cy + in.offset_y - out.inner_height / 2, in.work_area.top,
                               in.work_area.bottom);
    return out;
}

PickRect pick_list_layout(int32_t inner_width, int32_t inner_height, int32_t margin) {
    PickRect list;
    list.left = margin;
    list.top = margin;
    list.right = inner_width - margin;
    list.bottom = inner_height - margin;
    return list;
}
