// The widest line of a list, measured in the pick list's own font: the few
// candidates that the estimates choose are measured for real.
#pragma once

#include <string>
#include <vector>

#include "orlipan/line_store.h"

// The column width that shows the widest line whole; 0 for an empty list.
// `utf8`: the lines are UTF-8 and are estimated by their characters.
int widest_line_column(const LineStore& lines, bool utf8);
// The same for lines[0 .. count - 1] only, as lines arrive.
int widest_line_column_of(const char* const* lines, int count, bool utf8);

// Lines in columns (/tab): the text of the widest cell of each of `columns`
// columns among lines[0 .. count - 1], chosen the same way; "" for a column
// no line reaches.
std::vector<std::string> widest_cells(const char* const* lines, int count, int columns, bool utf8);
