// What the files of the list control tell each other. list_view_win32.cpp is
// the kind itself (creation, lines, selection, the events); it draws on
// list_rows_win32.cpp (line texts, the temporary line), virtual_list_win32.cpp
// (lines that stay with the tool) and grid_lines_win32.cpp (the self-drawn
// grid), which call nothing above them. Private to the toolkit.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "toolkit/controls_win32.h"

// ---- provided by the list kind ------------------------------------------------

// The list with that id; null for no control or one of another kind.
ControlRecord* find_list(int id);
// Forgets the native defaults recorded from the first list.
void prepare_lists();

// ---- provided by the rows of a list ---------------------------------------------

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

// ---- provided by the virtual list -----------------------------------------------

// The notifications by which a virtual list asks for its lines.
bool virtual_list_notify(ControlRecord& record, LPARAM lparam, LRESULT* result);
void set_virtual_source(ControlRecord& record, ListTextSource source, void* context, int count);
// The column width that shows `text` whole, as the list fits a column.
int virtual_fitted_width(ControlRecord& record, const std::string& text);

// ---- provided by the grid ---------------------------------------------------------

// NM_CUSTOMDRAW of a list; `comctl_major` is the common controls' major version.
LRESULT grid_custom_draw(ControlRecord& record, NMLVCUSTOMDRAW& draw, DWORD comctl_major);
