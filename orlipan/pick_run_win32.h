// The record of one run of the list tool, which every part of the pick
// window reads: the files that show, filter, start and answer include this,
// not the file that puts the window together.
#pragma once

#include <windows.h>

#include <vector>

#include "orlipan/line_store.h"
#include "orlipan/pick_filter_win32.h"
#include "orlipan/pick_geometry.h"
#include "orlipan/pick_options.h"

constexpr int PICK_WINDOW = 0;

struct PickState {
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
    HFONT list_font = nullptr;
    // /header=N and /tab: the header lines the list has, the band above the
    // list holding all but the last, the list's title row, and the width each
    // column needs.
    int header_count = 0;
    int band_height = 0;
    int header_height = 0;
    std::vector<int> column_widths;
    // While the input is still read: the window follows the lines that
    // arrive, growing to fit them, until the user moves or sizes it; /sel
    // follows them until the user moves the selection.
    bool reading = false;
    bool shown = false;
    bool paced = false;    // lines are taken on the timer's pace only
    DWORD title_tick = 0;  // when the title's count last changed
    bool following = true;
    PickRect placed;       // window_x, window_y and inner size as last set
    int column_width = 0;  // the widest line's, measured so far
    int fit_padding = 0;   // the list's fit of a column over its text's width
    bool start_settled = false;
    std::vector<int> start_rows;  // the rows /sel selected last
};

// One run of the list tool: what the command line asked for, the window's
// measures, the list's lines and the filter over them, and the answer.
//
// The toolkit calls back into the tool only where the system asks: the list
// asks for the rows it draws (through the lines here or the filter's shown
// lines in pick_filter_win32.cpp), so the record stays in place until the
// window is closed; and activation reaches the window callback of
// pick_window_win32.cpp.
struct PickWindow {
    PickSettings settings;
    PickState state;
    LineStore lines;
    PickFilter filter;
    std::vector<int> chosen_rows;  // /multi: the list rows chosen on accepting
};
