// The rows of a list as the list's files read and change them: texts,
// selection states, redrawing, a temporary line to measure on. Calls nothing
// of the list above it. Private to the toolkit.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "toolkit/controls_win32.h"

int first_selected(HWND list);
// True for a list whose user may select several lines.
bool list_takes_several(HWND list);
bool is_virtual_list(const ControlRecord& record);
// Line `index` of a virtual list; empty outside it.
const char* virtual_line(const ControlRecord& record, int index);
// The text of a line, "" for a line that does not exist.
std::string item_text(const ControlRecord& record, int index);
// Redrawing suspended and resumed, nesting counted; the list is redrawn whole
// when the last bracket closes.
void suspend_redraw(ControlRecord& record);
void resume_redraw(ControlRecord& record);
// Selects (LVIS_SELECTED) or clears every line in one message.
void set_every_selection(ControlRecord& record, UINT state);
// Sets or clears the selected and focused states of one line.
void set_item_state(HWND list, int index, UINT state);
// The answer of `measure` while the list shows `text` as line 0 and, in a
// virtual list, as its only line; 0 when the line cannot be put in.
int with_temporary_line(ControlRecord& record, const char* text,
                        const std::function<int(HWND)>& measure);
// Line 0's top and bottom, measured on a temporary line and kept on the record
// until the font changes; false when the list cannot tell.
bool measure_row(ControlRecord& record);
