// The header and columns of the pick list (/header=N, /tab): the last header
// line names the list's columns in the list's own title row, the header lines
// before it stand in a band above the list, and with /tab every line is shown
// cut at its tabs, each column as wide as its widest cell.
#pragma once

#include <windows.h>

#include "orlipan/pick_run_win32.h"

constexpr int PICK_BAND_ID = 3;

// After the lines are loaded: the header's length, the band, the columns and
// their titles, in the list's `font`.
void set_up_pick_columns(PickWindow& pick, HFONT font);
// Measures every column for its widest cell (and its title) and gives it
// that width; answers the width all columns and the band need together.
int fit_pick_columns(PickWindow& pick);
// After the list got its size: the last column takes the room the others
// leave, so the columns span the list.
void lay_out_pick_columns(const PickWindow& pick);
// The band's height and the widths measured, for a display of `dpi` after
// one of `old_dpi`, in the new list font.
void rescale_pick_columns(PickWindow& pick, int old_dpi, int dpi, HFONT font);
