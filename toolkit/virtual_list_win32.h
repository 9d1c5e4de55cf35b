// Lists whose lines stay with the tool. Private to the toolkit.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolkit/controls_win32.h"

// The notifications by which a virtual list asks for its lines.
bool virtual_list_notify(ControlRecord& record, LPARAM lparam, LRESULT* result);
void set_virtual_source(ControlRecord& record, ListTextSource source, void* context, int count);
// More rows of the same source, without moving the view.
void add_virtual_rows(ControlRecord& record, int count);
// The column width that shows `text` whole, as the list fits a column.
int virtual_fitted_width(ControlRecord& record, const std::string& text);
