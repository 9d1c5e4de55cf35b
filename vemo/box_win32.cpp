#include "vemo/box_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "frame/frame.h"
#include "toolkit/toolkit.h"
#include "vemo/box_loop.h"

static_assert(BOX_ICON_INFORMATION == ICON_INFORMATION && BOX_ICON_WARNING == ICON_WARNING &&
                  BOX_ICON_ERROR == ICON_ERROR && BOX_ICON_QUESTION == ICON_QUESTION,
              "the box's icons are the toolkit's");

namespace {

// Fixed size, close box, no minimise or maximise box; shown only when complete.
constexpr DWORD BOX_WINDOW_STYLE = WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU;

// A minimised or hidden console gives no useful place to centre on.
DWORD box_centring() {
    if (IsIconic(console_window) || !IsWindowVisible(console_window)) {
        return WINDOW_CENTER_SCREEN;
    }
    return WINDOW_CENTER_OWNER;
}

std::vector<TextExtent> measure_lines(const std::string& text) {
    std::vector<TextExtent> extents;
    for (const std::string& line : split_fields(text, '\r')) {
        SIZE size = control_text_extent(BOX_LABEL, line);
        extents.push_back({size.cx, size.cy});
    }
    return extents;
}

// Moves and sizes the buttons to the layout, in the box's font.
void place_buttons(const BoxWindow& box) {
    const BoxSettings& s = box.settings;
    const BoxLayout& l = box.layout;
    int64_t x = l.first_button_x;
    for (int id = 1; id <= l.button_count; ++id) {
        resize_control(id, clamp_to_int32(x), l.button_y, s.button_width, l.button_height);
        set_control_font(id, box.font);
        x += int64_t{s.button_width} + l.button_gap;
    }
}

int icon_size_at(const BoxSettings& s, int dpi) {
    return s.icon != BOX_ICON_NONE ? system_icon_size(dpi) : 0;
}

// The label, the icon and the field where the measured layout puts them.
void place_text(const BoxWindow& box) {
    const BoxLayout& l = box.layout;
    resize_control(BOX_LABEL, l.text_x, l.margin, l.label_width, l.text_height);
    resize_control(BOX_ICON, l.margin, l.margin, l.icon_size, l.icon_size);
    resize_control(BOX_FIELD, l.text_x, l.field_y, l.label_width, l.field_height);
}

}  // namespace

bool open_box(BoxWindow& box) {
    BoxSettings& s = box.settings;
    BoxLayout& l = box.layout;
    // Before the window exists, the density of the whole display; a window
    // that opens on a display of its own density is laid out again.
    const int dpi = window_dpi(-1);
    l = plan_box_layout(s, dpi, icon_size_at(s, dpi));
    box.font = load_font(BOX_FONT_SLOT, s.font_name, s.font_size, dpi);
    HWND window = open_window(BOX_WINDOW, 0, 0, s.window_width, l.window_height, s.title,
                              box_centring() | BOX_WINDOW_STYLE, console_window);
    if (window == nullptr) {
        return false;
    }
    set_control_font(-1, box.font);
    create_label(BOX_LABEL, l.text_x, l.margin, l.label_width, l.label_height, s.text,
                 s.center_text);
    if (s.icon != BOX_ICON_NONE) {
        create_icon(BOX_ICON, l.margin, l.margin, l.icon_size, s.icon);
    }
    int field_height = 0;
    if (s.input != 0) {
        create_edit_box(BOX_FIELD, l.text_x, l.margin, l.label_width, l.label_height, s.input_text,
                        s.password != 0 ? EDIT_PASSWORD : 0);
        field_height = edit_box_height(BOX_FIELD);
    }
    // The label wraps by itself; measuring only estimates the height it needs.
    fit_box_text(l, s, measure_lines(s.text), field_height);
    place_text(box);
    int x = moved_window_x(window_x(BOX_WINDOW), s.offset_x, l.dpi);
    int y = moved_window_y(window_y(BOX_WINDOW), l.growth, s.offset_y, l.dpi);
    resize_window(BOX_WINDOW, x, y, KEEP_VALUE, l.window_height);
    return true;
}

void relayout_box(BoxWindow& box, int dpi) {
    BoxSettings& s = box.settings;
    BoxLayout& l = box.layout;
    s.button_width = box.given.button_width;
    s.window_width = box.given.window_width;
    l = plan_box_layout(s, dpi, icon_size_at(s, dpi));
    box.font = load_font(BOX_FONT_SLOT, s.font_name, s.font_size, dpi);
    set_control_font(-1, box.font);
    set_control_font(BOX_LABEL, box.font);
    set_control_font(BOX_FIELD, box.font);
    resize_control(BOX_LABEL, l.text_x, l.margin, l.label_width, l.label_height);
    const int field_height = s.input != 0 ? edit_box_height(BOX_FIELD) : 0;
    fit_box_text(l, s, measure_lines(s.text), field_height);
    place_text(box);
    place_buttons(box);
    // The system already placed the window for the new display; only its
    // inner size follows the content.
    resize_window(BOX_WINDOW, KEEP_VALUE, KEEP_VALUE, s.window_width, l.window_height);
}
