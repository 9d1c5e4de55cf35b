#include "orlipan/pick_window_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "frame/frame.h"
#include "orlipan/pick_filter_win32.h"
#include "orlipan/pick_output.h"
#include "toolkit/toolkit.h"

PickSettings pick_settings;
PickState pick_state;

namespace {

constexpr int PICK_LIST_FLAGS =
    LIST_VIRTUAL | LIST_FULL_ROW_SELECT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS;
constexpr DWORD PICK_WINDOW_FLAGS =
    WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WINDOW_CENTER_OWNER;
constexpr int PICK_CREATION_SIZE = 200;
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;

HWND focus_memory = nullptr;

bool menu_mode() {
    return (pick_settings.flags & PICK_FLAG_MENU) != 0;
}

PickRect rect_of(const RECT& r) {
    PickRect out;
    out.left = r.left;
    out.top = r.top;
    out.right = r.right;
    out.bottom = r.bottom;
    return out;
}

void capture_screen_areas() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    pick_state.work_area = rect_of(work);
    RECT console{};
    GetWindowRect(console_window, &console);
    pick_state.console_rect = rect_of(console);
}

int measure_row_height() {
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (SendMessageA(pick_state.list_control, LVM_GETITEMRECT, 0, (LPARAM)&row)) {
        return row.bottom - row.top;
    }
    return pick_default_row_height(pick_state.dpi);
}

int measure_column_width() {
    SendMessageA(pick_state.list_control, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    return (int)SendMessageA(pick_state.list_control, LVM_GETCOLUMNWIDTH, 0, 0);
}

// The flat look of menu mode: no sunken edge, a hand over the lines.
void apply_menu_look() {
    HWND list = pick_state.list_control;
    LONG ex_style = GetWindowLongA(list, GWL_EXSTYLE);
    SetWindowLongA(list, GWL_EXSTYLE, ex_style & ~WS_EX_CLIENTEDGE);
    // The frame is cached by the system until it is told that it changed.
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    SetClassLongPtrA(control_handle(PICK_LIST_ID), GCLP_HCURSOR, (LONG_PTR)hand);
}

}  // namespace

bool build_pick_window() {
    int list_flags = PICK_LIST_FLAGS | (menu_mode() ? LIST_GRID_LINES : 0);
    if (pick_settings.flags & PICK_FLAG_MULTI)
        list_flags |= LIST_MULTIPLE_SELECTION;
    if (!open_window(PICK_WINDOW, 0, 0, PICK_CREATION_SIZE, PICK_CREATION_SIZE, pick_settings.title,
                     PICK_WINDOW_FLAGS, console_window)) {
        return false;
    }
    pick_state.dpi = window_dpi(PICK_WINDOW);
    set_window_color(PICK_WINDOW, pick_settings.back_color);
    // The fitted column width depends on the list's size when it is measured.
    const int list_size = scale_to_dpi(PICK_CREATION_SIZE, pick_state.dpi);
    pick_state.list_control =
        create_list_view(PICK_LIST_ID, 0, 0, list_size, list_size, "", list_size, list_flags);
    HFONT font =
        load_font(PICK_FONT_SLOT, pick_settings.font_face, pick_settings.font_size, pick_state.dpi);
    set_control_font(PICK_LIST_ID, font);
    set_control_color(PICK_LIST_ID, COLOR_SLOT_BACK, pick_settings.back_color);
    set_control_color(PICK_LIST_ID, COLOR_SLOT_TEXT, pick_settings.text_color);
    pick_state.box_height = create_filter_box(font);
    add_shortcut(PICK_WINDOW, KEY_ENTER, PICK_ACCEPT);
    add_shortcut(PICK_WINDOW, KEY_ESCAPE, PICK_CANCEL);
    capture_screen_areas();
    set_window_callback(keep_focus);
    return true;
}

void size_pick_window() {
    pick_state.row_height = measure_row_height();
    GeometryInput in;
    in.item_count = pick_state.item_count;
    in.row_height = pick_state.row_height;
    // The platform's fit may fall short of the widest line; the line's own
    // fit then decides, so no line is cut while the window has room.
    in.column_width = std::max(widest_line_column(), measure_column_width());
    in.font_size = pick_settings.font_size;
    in.offset_x = pick_settings.offset_x;
    in.offset_y = pick_settings.offset_y;
    in.menu = menu_mode();
    in.console_center = (pick_settings.flags & PICK_FLAG_CMDCENTER) != 0;
    in.work_area = pick_state.work_area;
    in.console_rect = pick_state.console_rect;
    in.dpi = pick_state.dpi;
    in.box_height = pick_state.box_height;
    PickGeometry g = compute_pick_geometry(in);
    pick_state.scrolled = g.scrolled;
    pick_state.margin = g.margin;
    pick_state.initial_selection = g.initial_selection;
    if (in.menu)
        apply_menu_look();

    resize_window(PICK_WINDOW, g.x, g.y, g.inner_width, g.inner_height);
    // A computed size equal to the creation size brings no resize event.
    layout_pick_list();
    show_window(PICK_WINDOW, 0);
    if (pick_settings.flags & PICK_FLAG_ONTOP)
        set_window_topmost(PICK_WINDOW, 1);
    list_select(PICK_LIST_ID, pick_state.initial_selection);
    focus_control(filtering() ? PICK_BOX_ID : PICK_LIST_ID);
}

void layout_pick_list() {
    PickRect list =
        pick_list_layout(window_inner_width(PICK_WINDOW), window_inner_height(PICK_WINDOW),
                         pick_state.margin, pick_state.box_height);
    if (filtering()) {
        PickRect box = pick_box_layout(window_inner_width(PICK_WINDOW), pick_state.margin,
                                       pick_state.box_height);
        resize_control(PICK_BOX_ID, box.left, box.top, box.right - box.left, box.bottom - box.top);
    }
    resize_control(PICK_LIST_ID, list.left, list.top, list.right - list.left,
                   list.bottom - list.top);
    SendMessageA(pick_state.list_control, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

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
