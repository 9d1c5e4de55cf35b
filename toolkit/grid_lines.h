// Where the self-drawn grid of the list control falls. The list ruling is drawn
// by the toolkit rather than the control so that the empty area under the last
// line is ruled too; this is the arithmetic, kept free of the window system.
#pragma once

#include <vector>

// Pixel rows (client coordinates, top to bottom) of the horizontal rules, given
// the top and bottom of line 0's bounds (negative when the list is scrolled
// down) and the height of the client area. A rule sits on the last pixel row of
// every line slot, one row pitch apart, continued below the last line; only rows
// inside [0, client_height) are returned.
std::vector<int> grid_rule_rows(int line_top, int line_bottom, int client_height);
