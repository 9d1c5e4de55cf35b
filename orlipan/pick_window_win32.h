// The pick window: its set-up, the list's lines handed to it, its size and
// place, and the layout that keeps the list filling it, also after a move to
// a display of another density.
#pragma once

#include "orlipan/pick_run_win32.h"

// False only when the window cannot be opened.
bool build_pick_window(PickWindow& pick);
// Hands the loaded lines to the list, through the filter with /filter.
void fill_pick_list(PickWindow& pick);
// Size and place for the lines the list holds, with the list laid out in it.
void size_pick_window(PickWindow& pick);
// Selects the start lines, then shows the window (on top with /ontop) with
// the focus in the filter box or the list.
void show_pick_window(PickWindow& pick);
// Lines from `first_new` on arrived while the window shows: it grows to fit
// the lines it holds now, as far as the limits it was sized by allow, never
// smaller than it is, until the user has moved or sized it.
void grow_pick_window(PickWindow& pick, int first_new);
void layout_pick_list(const PickWindow& pick);
// The window moved to a display of `dpi`: new list font and margin, then the
// list laid out again in the window's new size.
void rescale_pick_window(PickWindow& pick, int dpi);
