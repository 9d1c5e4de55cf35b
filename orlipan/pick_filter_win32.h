// The filter box of /filter: the edit box above the list and the lines it
// lets the list show. Without /filter there is no box and every row of the
// list is the line of the same number.
#pragma once

#include <windows.h>

#include <cstdint>

#include "orlipan/line_filter.h"
#include "orlipan/line_store.h"

constexpr int PICK_BOX_ID = 2;

// The filter of one pick window. The list asks it for the text of each row
// it draws, so it must stay in place while the list shows its lines.
struct PickFilter {
    uint32_t flags = 0;  // the PICK_FLAG_ values in use
    const LineStore* lines = nullptr;
    ShownLines shown;
};

bool filtering(const PickFilter& filter);
// Creates the box in the list's font and links it to the list (/filter only);
// returns its height, 0 without /filter.
int create_filter_box(const PickFilter& filter, HFONT font);
// Hands the list its lines through the filter.
void start_filter(PickFilter& filter, const LineStore& lines);
// After the box text changed: narrows or widens the list, then selects the
// first shown line (normal mode) or nothing (menu mode).
void refilter(PickFilter& filter);
// Empties the box if it holds text; true when it did.
bool clear_filter_box(const PickFilter& filter);
// The number in the whole list of the line that list row `row` shows.
int line_of_row(const PickFilter& filter, int row);
// The list row that shows line `line` of the whole list; -1 when the filter
// hides it.
int row_of_line(const PickFilter& filter, int line);
// The rows the filter lets the list show (/filter only).
int shown_row_count(const PickFilter& filter);
