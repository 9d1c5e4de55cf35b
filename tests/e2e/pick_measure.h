// What the list tool measures before it sizes its window, measured again from
// outside, and its geometry arithmetic fed with it: the real window is then
// compared with the arithmetic's answer rather than with a second copy of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "orlipan/pick_geometry.h"
#include "tests/e2e/pick_driver.h"

constexpr int PICK_E2E_FONT_SIZE = 9;

// The column widths of a twin of the tool's list: a list view in this process
// with the tool's class, styles and font at `dpi`, holding `lines`, at the
// tool's creation size. The tool's fitted width exists only for a moment (its
// list is re-fitted to the window right after), so it is measured here.
struct TwinFit {
    int header = 0;  // fitted to the lines and the header
    int line = 0;    // fitted to the lines alone
};
TwinFit twin_fit(const std::vector<std::string>& lines, int dpi = 96);

// The height of the tool's first row, read from its list.
int row_height(Pick& pick);

// The arithmetic's input as the tool gathers it on a window that is not
// centred on its console: the line count, the row height, the fitted column,
// the work area and the display density.
GeometryInput measured_geometry_input(int count, int row, int column, int dpi = 96);

// The list fills the window's inner area but for `margin` on every side.
void expect_list_margin(HWND window, HWND list, int margin);

// Outer position and inner size of the pick window against the arithmetic.
void expect_pick_geometry(Pick& pick, const PickGeometry& expected);
