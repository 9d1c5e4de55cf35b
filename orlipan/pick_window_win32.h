// The pick window: its set-up, the loading of the list into it, its size and
// place, and the layout that keeps the list filling it.
#pragma once

#include <windows.h>

#include "orlipan/pick_options.h"
#include "orlipan/pick_geometry.h"

constexpr int PICK_WINDOW = 0;
constexpr int PICK_FONT_SLOT = 0;

struct PickState {
    HWND list_control = nullptr;
    int item_count = 0;
    PickRect work_area;
    PickRect console_rect;
    int row_height = PICK_DEFAULT_ROW_HEIGHT;
    bool scrolled = false;
    int margin = 0;
    int box_height = 0;  // the filter box; 0 without one
    int initial_selection = 0;
    int picked_index = 0;
    int dpi = DPI_BASE;
};

extern PickSettings pick_settings;
extern PickState pick_state;

// False only when the window cannot be opened.
bool build_pick_window();
// False when the list cannot be read (no such file, no standard input, too
// large for the memory); the report is then pending.
bool load_list_file();
// The column width that shows the widest line whole; 0 for an empty list.
int widest_line_column();
void size_pick_window();
void layout_pick_list();
// The window moved to a display of `dpi`: new list font and margin, then the
// list laid out again in the window's new size.
void rescale_pick_window(int dpi);
LRESULT keep_focus(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
