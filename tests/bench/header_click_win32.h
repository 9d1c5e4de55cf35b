// Sorting a pick list by a click on a column's header, timed from outside the
// tool (the benchmark launcher, launch.cpp).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Clicks the header of `column` (0-based) of the list in `window` once for
// each text of `expected_first`, as a user does: a real click at the header
// item's place on the screen. Each click is timed until the list's first row
// shows that text in its first column, the tool has handled the click and
// the list and its header have drawn what changed. Prints one line a click:
//   sort_ms=MS click=N first=TEXT
// with MS "none" and TEXT what the row showed last when the text never came
// within `timeout_ms`; "sort_ms=no_header" when the list has no header item
// to click.
// Milliseconds of the performance counter, for every time the launcher takes.
double now_ms();

void click_header_and_time(HANDLE process, HWND window, int column,
                           const std::vector<std::string>& expected_first, DWORD timeout_ms);
