// The start of a pick: the query typed for the user (/query), the answer
// taken at once when the start leaves no choice (/auto), and the lines
// selected when the window shows (/sel).
#pragma once

#include <string>

#include "orlipan/pick_run_win32.h"

// A text of the command line (UTF-8) in the encoding of the list's lines:
// UTF-8 with /utf8, otherwise the ANSI code page, as if it had come from the
// ANSI command line.
std::string in_line_encoding(const PickSettings& settings, const std::string& text);

// Before the window shows: puts the query into the filter box, caret at its
// end, and narrows the list by it. With /auto: PICK_ACCEPT with the one
// shown line selected, or PICK_CANCEL when none is shown; otherwise, and
// always without /auto, PICK_NONE. While the input is still read, /auto waits
// for it to end or for a second shown line (then PICK_NONE).
int start_pick(PickWindow& pick);

// Once the window shows: selects, focuses and scrolls to the lines of /sel
// that the list shows; without /sel, or when it names none of them, the
// list starts as it always did.
void select_start_lines(PickWindow& pick);
// Lines arrived while the window shows: the lines of /sel among them are
// selected as at the start, unless the user has moved the selection since.
// `first_new` is the first line that arrived since the last call.
void follow_start_lines(PickWindow& pick, int first_new);
