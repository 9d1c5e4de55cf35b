#include "orlipan/pick_geometry.h"

namespace {

// Sizes and positions follow 32-bit signed arithmetic that wraps around: the
// font size and the offsets come straight from the command line, so a huge
// /fs= or /dx= must give the wrapped number, never an undefined result.
int32_t wrap32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int32_t add32(int32_t a, int32_t b) {
    return wrap32(static_cast<int64_t>(a) + b);
}

int32_t sub32(int32_t a, int32_t b) {
    return wrap32(static_cast<int64_t>(a) - b);
}

int32_t mul32(int32_t a, int32_t b) {
    return wrap32(static_cast<int64_t>(a) * b);
}

int32_t clamp_to_work_area(int32_t value, int32_t low, int32_t high, int32_t edge_keep) {
    if (value < low)
        value = low;
    // Applied second so that it wins when the work area is tiny.
    if (value > high - edge_keep)
        value = high - edge_keep;
    return value;
}

}  // namespace

PickGeometry compute_pick_geometry(const GeometryInput& in) {
    PickGeometry out;
    const int32_t dpi = in.dpi;
    const int32_t slack = scale_to_dpi(in.font_size / 2, dpi);
    int32_t height = mul32(add32(mul32(in.item_count, in.row_height), slack), 102) / 100;
    int32_t min_height = scale_to_dpi(mul32(in.font_size, 6), dpi);
    if (height < min_height)
        height = min_height;
    int32_t height_limit = mul32(sub32(in.work_area.bottom, in.work_area.top), 8) / 10;
    if (height > height_limit) {
        height = height_limit;
        out.scrolled = true;
    }

    int32_t width = mul32(add32(in.column_width, scale_to_dpi(in.font_size, dpi)), 103) / 100;
    if (out.scrolled)
        width = add32(width, scale_to_dpi(PICK_SCROLL_BAR_ROOM, dpi));
    int32_t width_limit = mul32(sub32(in.work_area.right, in.work_area.left), 8) / 10;
    if (width > width_limit)
        width = width_limit;

    out.inner_width = width;
    out.inner_height = height;
    if (in.menu) {
        out.margin = scale_to_dpi(PICK_MENU_MARGIN, dpi);
        out.inner_width = add32(width, 2 * out.margin);
        out.inner_height = add32(height, 2 * out.margin);
        out.initial_selection = -1;
    }
    // The box comes on top of what the list needs; the list keeps its size.
    out.inner_height = add32(out.inner_height, in.box_height);

    const PickRect& centre_of = in.console_center ? in.console_rect : in.work_area;
    int32_t cx = add32(centre_of.left, centre_of.right) / 2;
    int32_t cy = add32(centre_of.top, centre_of.bottom) / 2;
    const int32_t edge_keep = scale_to_dpi(PICK_EDGE_KEEP, dpi);
    const int32_t offset_x = scale_to_dpi(in.offset_x, dpi);
    const int32_t offset_y = scale_to_dpi(in.offset_y, dpi);
    out.x = clamp_to_work_area(sub32(add32(cx, offset_x), out.inner_width / 2), in.work_area.left,
                               in.work_area.right, edge_keep);
    out.y = clamp_to_work_area(sub32(add32(cy, offset_y), out.inner_height / 2), in.work_area.top,
                               in.work_area.bottom, edge_keep);
    return out;
}

int32_t pick_default_row_height(int32_t dpi) {
    return scale_to_dpi(PICK_DEFAULT_ROW_HEIGHT, dpi);
}

PickRect pick_list_layout(int32_t inner_width, int32_t inner_height, int32_t margin,
                          int32_t box_height) {
    PickRect list;
    list.left = margin;
    list.top = margin + box_height;
    list.right = inner_width - margin;
    list.bottom = inner_height - margin;
    return list;
}

PickRect pick_box_layout(int32_t inner_width, int32_t margin, int32_t box_height) {
    PickRect box;
    box.left = margin;
    box.top = margin;
    box.right = inner_width - margin;
    box.bottom = margin + box_height;
    return box;
}
