#include "orlipan/pick_window_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "frame/frame.h"
#include "orlipan/pick_arrival_win32.h"
#include "orlipan/pick_columns_win32.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_start_win32.h"
#include "orlipan/widest_line_win32.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int PICK_FONT_SLOT = 0;
constexpr int PICK_LIST_FLAGS =
    LIST_VIRTUAL | LIST_FULL_ROW_SELECT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS;
constexpr DWORD PICK_WINDOW_FLAGS =
    WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WINDOW_CENTER_OWNER;
constexpr int PICK_CREATION_SIZE = 200;
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_COPY = 'C' | SHORTCUT_CONTROL;
// Wider than any work area.
constexpr int PICK_WIDEST_COLUMN = 1 << 20;

// The control that had the focus when the window was last deactivated.
// Only the window callback, which has no record to pass, keeps it.
HWND focus_memory = nullptr;

const char* pick_line(int index, void* context) {
    return line_at(*static_cast<const LineStore*>(context), index);
}

PickRect rect_of(const RECT& r) {
    PickRect out;
    out.left = r.left;
    out.top = r.top;
    out.right = r.right;
    out.bottom = r.bottom;
    return out;
}

void capture_screen_areas(PickState& state) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    state.work_area = rect_of(work);
    RECT console{};
    GetWindowRect(console_window, &console);
    state.console_rect = rect_of(console);
}

int measure_row_height(const PickState& state) {
    int height = list_row_height(PICK_LIST_ID);
    return height > 0 ? height : pick_default_row_height(state.dpi);
}

int measure_column_width() {
    list_set_column_width(PICK_LIST_ID, 0, LIST_WIDTH_FILL);
    return list_column_width(PICK_LIST_ID, 0);
}

// The window callback: the focus goes back where it was when the window is
// activated again.
LRESULT keep_focus(HWND, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_ACTIVATE) {
        if (LOWORD(wparam) == WA_INACTIVE) {
            focus_memory = GetFocus();
        } else if (focus_memory) {
            SetFocus(focus_memory);
        }
    }
    return CALLBACK_CONTINUE;
}

// The measures the geometry is computed from, with the lines held so far.
GeometryInput geometry_input(const PickWindow& pick) {
    const PickSettings& settings = pick.settings;
    const PickState& state = pick.state;
    GeometryInput in;
    in.item_count = state.item_count;
    in.row_height = state.row_height;
    in.column_width = state.column_width;
    in.font_size = settings.font_size;
    in.offset_x = settings.offset_x;
    in.offset_y = settings.offset_y;
    in.menu = menu_mode(settings);
    in.console_center = console_centered(settings);
    in.work_area = state.work_area;
    in.console_rect = state.console_rect;
    in.dpi = state.dpi;
    // The band and the title row come on top of the rows, as the box does.
    in.box_height = state.box_height + state.band_height + state.header_height;
    return in;
}

// The window's place as grow_pick_window compares it: outer left and top,
// inner width and height in right and bottom.
PickRect current_place() {
    PickRect place;
    place.left = window_x(PICK_WINDOW);
    place.top = window_y(PICK_WINDOW);
    place.right = window_inner_width(PICK_WINDOW);
    place.bottom = window_inner_height(PICK_WINDOW);
    return place;
}

}  // namespace

bool build_pick_window(PickWindow& pick) {
    const PickSettings& settings = pick.settings;
    PickState& state = pick.state;
    int list_flags = PICK_LIST_FLAGS | (menu_mode(settings) ? LIST_GRID_LINES : 0);
    if (multi_mode(settings))
        list_flags |= LIST_MULTIPLE_SELECTION;
    // The last header line names the columns in the list's own title row.
    if (settings.header_lines > 0)
        list_flags &= ~LVS_NOCOLUMNHEADER;
    if (!open_window(PICK_WINDOW, 0, 0, PICK_CREATION_SIZE, PICK_CREATION_SIZE, settings.title,
                     PICK_WINDOW_FLAGS, console_window)) {
        return false;
    }
    state.dpi = window_dpi(PICK_WINDOW);
    set_window_color(PICK_WINDOW, settings.back_color);
    // The fitted column width depends on the list's size when it is measured.
    const int list_size = scale_to_dpi(PICK_CREATION_SIZE, state.dpi);
    create_list_view(PICK_LIST_ID, 0, 0, list_size, list_size, "", list_size, list_flags);
    HFONT font = load_font(PICK_FONT_SLOT, settings.font_face, settings.font_size, state.dpi);
    state.list_font = font;
    set_control_font(PICK_LIST_ID, font);
    set_control_color(PICK_LIST_ID, COLOR_SLOT_BACK, settings.back_color);
    set_control_color(PICK_LIST_ID, COLOR_SLOT_TEXT, settings.text_color);
    pick.filter.box = filter_mode(settings);
    pick.filter.menu = menu_mode(settings);
    pick.filter.utf8 = utf8_mode(settings);
    pick.filter.tabs = tab_mode(settings);
    state.box_height = create_filter_box(pick.filter, font);
    add_shortcut(PICK_WINDOW, KEY_ENTER, PICK_ACCEPT);
    add_shortcut(PICK_WINDOW, KEY_ESCAPE, PICK_CANCEL);
    add_shortcut(PICK_WINDOW, KEY_COPY, PICK_SHORTCUT_COPY);
    capture_screen_areas(state);
    set_window_callback(keep_focus);
    return true;
}

void fill_pick_list(PickWindow& pick) {
    // Without /utf8 the lines are bytes of the ANSI code page, as they always were.
    set_control_encoding(PICK_LIST_ID, utf8_mode(pick.settings) ? TEXT_UTF8 : TEXT_ANSI);
    if (has_pick_columns(pick.settings))
        set_up_pick_columns(pick, pick.state.list_font);
    pick.state.item_count = line_count(pick.lines) - pick.state.header_count;
    if (filtering(pick.filter) || has_pick_columns(pick.settings))
        start_filter(pick.filter, pick.lines, pick.state.header_count);
    else
        list_set_source(PICK_LIST_ID, pick_line, &pick.lines, pick.state.item_count);
}

void size_pick_window(PickWindow& pick) {
    const PickSettings& settings = pick.settings;
    PickState& state = pick.state;
    state.row_height = measure_row_height(state);
    // The platform's fit may fall short of the widest line; the line's own
    // fit then decides, so no line is cut while the window has room.
    if (tab_mode(settings))
        state.column_width = fit_pick_columns(pick);
    else
        state.column_width =
            std::max(widest_line_column(pick.lines, utf8_mode(settings)), measure_column_width());
    // Later lines are measured without the list's fit, which would disturb
    // what the user has selected.
    if (state.reading)
        state.fit_padding = fit_padding();
    PickGeometry g = compute_pick_geometry(geometry_input(pick));
    state.scrolled = g.scrolled;
    state.margin = g.margin;
    state.initial_selection = g.initial_selection;
    if (menu_mode(settings))
        list_use_menu_look(PICK_LIST_ID);

    resize_window(PICK_WINDOW, g.x, g.y, g.inner_width, g.inner_height);
    // A computed size equal to the creation size brings no resize event.
    layout_pick_list(pick);
    state.placed = current_place();
}

void show_pick_window(PickWindow& pick) {
    const PickSettings& settings = pick.settings;
    // Selected while hidden: the window shows its start lines from its first
    // picture on, and whoever reads it once it shows finds them.
    select_start_lines(pick);
    if (pick.state.reading)
        show_reading_title(pick);
    show_window(PICK_WINDOW, 0);
    pick.state.shown = true;
    if (on_top(settings))
        set_window_topmost(PICK_WINDOW, 1);
    focus_control(filtering(pick.filter) ? PICK_BOX_ID : PICK_LIST_ID);
}

void grow_pick_window(PickWindow& pick, int first_new) {
    PickState& state = pick.state;
    if (!state.following)
        return;
    // Moved or sized by the user: the window is theirs from then on.
    PickRect now = current_place();
    if (now.left != state.placed.left || now.top != state.placed.top ||
        now.right != state.placed.right || now.bottom != state.placed.bottom) {
        state.following = false;
        return;
    }
    // Columns keep the widths they were fitted to; a single column widens
    // for a wider line, which is not looked for once the window is as wide
    // as it may be.
    GeometryInput widest = geometry_input(pick);
    widest.column_width = PICK_WIDEST_COLUMN;
    bool may_widen = now.right < compute_pick_geometry(widest).inner_width;
    if (!tab_mode(pick.settings) && may_widen && first_new < line_count(pick.lines))
        state.column_width = std::max(
            state.column_width,
            wider_line_column(pick.lines.lines + first_new, line_count(pick.lines) - first_new,
                              utf8_mode(pick.settings), state.fit_padding));
    PickGeometry g = compute_pick_geometry(geometry_input(pick));
    int width = now.right, height = now.bottom;
    if (g.inner_width <= width && g.inner_height <= height)
        return;
    // Never smaller than it is: where the new size is not larger both ways,
    // the window grows where it stands.
    bool larger = g.inner_width >= width && g.inner_height >= height;
    resize_window(PICK_WINDOW, larger ? g.x : now.left, larger ? g.y : now.top,
                  std::max(width, g.inner_width), std::max(height, g.inner_height));
    state.scrolled = g.scrolled;
    layout_pick_list(pick);
    state.placed = current_place();
}

void layout_pick_list(const PickWindow& pick) {
    const PickState& state = pick.state;
    const int width = window_inner_width(PICK_WINDOW);
    PickRect list = pick_list_layout(width, window_inner_height(PICK_WINDOW), state.margin,
                                     state.box_height + state.band_height);
    if (filtering(pick.filter)) {
        PickRect box = pick_box_layout(width, state.margin, state.box_height);
        resize_control(PICK_BOX_ID, box.left, box.top, box.right - box.left, box.bottom - box.top);
    }
    if (state.band_height > 0) {
        PickRect band = pick_box_layout(width, state.margin, state.box_height + state.band_height);
        band.top += state.box_height;
        resize_control(PICK_BAND_ID, band.left, band.top, band.right - band.left,
                       band.bottom - band.top);
    }
    resize_control(PICK_LIST_ID, list.left, list.top, list.right - list.left,
                   list.bottom - list.top);
    if (tab_mode(pick.settings))
        lay_out_pick_columns(pick);
    else
        list_set_column_width(PICK_LIST_ID, 0, LIST_WIDTH_FILL);
}

void rescale_pick_window(PickWindow& pick, int dpi) {
    int old_dpi = pick.state.dpi;
    pick.state.dpi = dpi;
    HFONT font = load_font(PICK_FONT_SLOT, pick.settings.font_face, pick.settings.font_size, dpi);
    pick.state.list_font = font;
    set_control_font(PICK_LIST_ID, font);
    rescale_pick_columns(pick, old_dpi, dpi, font);
    if (menu_mode(pick.settings))
        pick.state.margin = scale_to_dpi(PICK_MENU_MARGIN, dpi);
    layout_pick_list(pick);
}
