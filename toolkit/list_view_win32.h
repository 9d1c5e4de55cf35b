// The list control kind, which the list's other files (list_rows_win32.h,
// virtual_list_win32.h, grid_lines_win32.h) serve. Private to the toolkit.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "toolkit/controls_win32.h"

// The list with that id; null for no control or one of another kind.
ControlRecord* find_list(int id);
// Forgets the native defaults recorded from the first list.
void prepare_lists();
