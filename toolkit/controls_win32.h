// What the control registry (controls_win32.cpp) and the list control
// (list_view_win32.cpp) share. Private to the toolkit.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/toolkit.h"

constexpr int CONTROL_KIND_LIST = 1;
constexpr int CONTROL_KIND_LABEL = 2;
constexpr int CONTROL_KIND_BUTTON = 3;
constexpr int CONTROL_KIND_EDIT = 4;

constexpr COLORREF COLOR_NONE = static_cast<COLORREF>(COLOR_DEFAULT);

struct ControlRecord {
    HWND handle = nullptr;
    int kind = 0;
    int encoding = TEXT_ANSI;  // of the texts the tool gives and gets
    WNDPROC previous_procedure = nullptr;
    // List: reading texts back needs a buffer as long as the longest line.
    size_t longest_text = 0;
    bool grid_lines = false;
    COLORREF line_color = COLOR_NONE;
    int last_selected = -1;
    int update_depth = 0;
    // Virtual list: the tool's lines, and a line that stands in for line 0
    // while the list measures it.
    ListTextSource source = nullptr;
    void* source_context = nullptr;
    int virtual_count = 0;
    const char* measured_text = nullptr;
    // Row bounds measured on a temporary line while the list was empty.
    bool row_measured = false;
    int row_top = 0;
    int row_bottom = 0;
    // Edit box: the list that takes its line-moving keys, or -1.
    int key_target = -1;
    // Label.
    COLORREF text_color = COLOR_NONE;
    COLORREF back_color = COLOR_NONE;
    HBRUSH back_brush = nullptr;
};

LRESULT send_to(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
// Null when no control has the id.
ControlRecord* find_control(int id);
// The id the window is tagged with, whether or not its window id still agrees.
int tag_of(HWND hwnd);
// The record of `hwnd` when both its tag and its window id name it.
ControlRecord* control_of_window(HWND hwnd);
HWND create_control(int id, int kind, const wchar_t* class_name, DWORD style, DWORD ex_style, int x,
                    int y, int width, int height, const std::string& text);

// ---- provided by the list control ----

// Forgets the native defaults recorded from the first list.
void prepare_lists();
void set_list_color(ControlRecord& record, int slot, COLORREF color);
std::string selected_item_text(const ControlRecord& record);
bool list_notify(ControlRecord& record, int id, LPARAM lparam, LRESULT* result);
// Queues a selection change and remembers the first selected line.
void note_selection_change(ControlRecord& record, int id);

// True for a list whose user may select several lines.
bool list_takes_several(HWND list);
// Ctrl+A in a list of several lines selects every line.
bool list_key_message(ControlRecord& record, UINT message, WPARAM wparam, LRESULT* result);

// ---- provided by the edit box ----

// A notification of the box to its window (EN_ code).
bool edit_box_command(ControlRecord& record, int code, LRESULT* result);
// The keys a box linked to a list hands over; true when taken.
bool edit_box_message(ControlRecord& record, UINT message, WPARAM wparam, LPARAM lparam,
                      LRESULT* result);

// ---- provided by the virtual list ----

bool is_virtual_list(const ControlRecord& record);
// Line `index` of a virtual list; empty outside it.
const char* virtual_line(const ControlRecord& record, int index);
// The notifications by which a virtual list asks for its lines.
bool virtual_list_notify(ControlRecord& record, int id, LPARAM lparam, LRESULT* result);
