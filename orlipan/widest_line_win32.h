// The widest line of a list, measured in the pick list's own font: the few
// candidates that the estimates choose are measured for real.
#pragma once

#include <string>
#include <vector>

#include "orlipan/line_store.h"

// The column width that shows the widest line whole; 0 for an empty list.
// `utf8`: the lines are UTF-8 and are estimated by their characters.
int widest_line_column(const LineStore& lines, bool utf8);
// Lines arrived while the list shows: the column width of the widest of
// lines[0 .. count - 1] if its estimate is above that of every line looked at
// before, otherwise 0. One pass over lines of the ANSI code page, so that a
// fast writer's lines cost the showing thread little. `padding` is
// fit_padding's, measured before the list showed.
int wider_line_column(const char* const* lines, int count, bool utf8, int padding);
// What the list's fit of a column adds to the width of its text.
int fit_padding();

// Lines in columns (/tab): the text of the widest cell of each of `columns`
// columns among lines[0 .. count - 1], chosen the same way; "" for a column
// no line reaches.
std::vector<std::string> widest_cells(const char* const* lines, int count, int columns, bool utf8);
