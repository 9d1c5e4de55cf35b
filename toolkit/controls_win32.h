// The control registry and what every control kind hands it: each kind
// (labels_win32.cpp, buttons_win32.cpp, edit_box_win32.cpp, icons_win32.cpp,
// the list in list_view_win32.cpp) brings a ControlKind, and the registry
// calls through it without knowing which kind it serves. Private to the toolkit.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/toolkit.h"

constexpr COLORREF COLOR_NONE = static_cast<COLORREF>(COLOR_DEFAULT);

struct ControlRecord;

// What a kind does with the messages of its controls. A null entry means the
// common handling.
struct ControlKind {
    // A message to the control itself, before its own procedure; true when
    // taken, with the answer in *result.
    bool (*message)(ControlRecord& record, UINT message, WPARAM wparam, LPARAM lparam,
                    LRESULT* result);
    // A WM_COMMAND notification (`code`) the control sends its window; true
    // when taken. Otherwise it becomes an immediate EVENT_CONTROL.
    bool (*command)(ControlRecord& record, int code, LRESULT* result);
    // A WM_NOTIFY the control sends its window; true when taken.
    bool (*notify)(ControlRecord& record, LPARAM lparam, LRESULT* result);
    // WM_CTLCOLORSTATIC: true when the kind answers with its own brush.
    bool (*color_static)(ControlRecord& record, HDC dc, LRESULT* result);
    // set_control_color; null: the kind has no colours and nothing happens.
    void (*set_color)(ControlRecord& record, int slot, COLORREF color);
    // control_text; null: the window text.
    std::string (*text)(const ControlRecord& record);
    // After resize_control moved the control.
    void (*moved)(ControlRecord& record);
    // When the record is forgotten, for what the kind holds besides it.
    void (*release)(ControlRecord& record);
};

struct ControlRecord {
    HWND handle = nullptr;
    int id = -1;
    const ControlKind* kind = nullptr;
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
    // Columns: each cell cut out of its line; null while the list has one column.
    ListCellSource cells = nullptr;
    int column_count = 1;
    // Row bounds measured on a temporary line while the list was empty.
    bool row_measured = false;
    int row_top = 0;
    int row_bottom = 0;
    // Edit box: the list that takes its line-moving keys, or -1.
    int key_target = -1;
    // Icon: which of the system's icons, and the image the control owns.
    int icon_kind = 0;
    HICON icon = nullptr;
    // Label.
    COLORREF text_color = COLOR_NONE;
    COLORREF back_color = COLOR_NONE;
    HBRUSH back_brush = nullptr;
};

LRESULT send_to(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
// Null when no control has the id.
ControlRecord* find_control(int id);
// Null when no control has the id or it is of another kind.
ControlRecord* find_control_of(int id, const ControlKind& kind);
// Creates, subclasses, numbers and tags a control of `kind`.
HWND create_control(int id, const ControlKind& kind, const wchar_t* class_name, DWORD style,
                    DWORD ex_style, int x, int y, int width, int height, const std::string& text);
// Controls still alive are handed back their own procedure and forgotten.
void release_controls();

// What the window procedure offers the control that sent a message; each
// returns true when the control's kind took it and set *result.
bool control_command(WPARAM wparam, LPARAM lparam, LRESULT* result);
bool control_notify(LPARAM lparam, LRESULT* result);
bool control_color_static(WPARAM wparam, LPARAM lparam, LRESULT* result);
