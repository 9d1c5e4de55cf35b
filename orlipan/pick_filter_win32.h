// The filter box of /filter: the edit box above the list and the lines it
// lets the list show. Without /filter there is no box and every row of the
// list is the line of the same number.
#pragma once

#include <windows.h>

#include "orlipan/line_store.h"

constexpr int PICK_BOX_ID = 2;

bool filtering();
// Creates the box in the list's font and links it to the list (/filter only);
// returns its height, 0 without /filter.
int create_filter_box(HFONT font);
// Hands the list its lines through the filter.
void start_filter(const LineStore& lines);
// After the box text changed: narrows or widens the list, then selects the
// first shown line (normal mode) or nothing (menu mode).
void refilter();
// Empties the box if it holds text; true when it did.
bool clear_filter_box();
// The number in the whole list of the line that list row `row` shows.
int line_of_row(int row);
