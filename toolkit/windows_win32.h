// The registry of open toolkit windows, which the window procedure, the
// keyboard handling and the controls look windows up in. Private to the
// toolkit.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/keyboard.h"
#include "toolkit/toolkit.h"

// Window property that tags a toolkit window with its number. The stored value
// is number + 1 so that number 0 is distinguishable from "none".
constexpr char WINDOW_TAG[] = "ToolkitWindowNumber";

struct WindowRecord {
    HWND handle;
    COLORREF color;     // or COLOR_DEFAULT
    HBRUSH brush;       // none for COLOR_DEFAULT
    bool min_max;       // set while minimised or maximised
    HWND focus_memory;  // the control that had the focus at deactivation
    std::vector<ShortcutEntry> shortcuts;
    HACCEL accelerators;
};

extern HINSTANCE toolkit_instance;

// The instance the windows belong to and the procedure their classes use,
// handed in by prepare_toolkit: the window procedure sits above the registry.
void prepare_windows(HINSTANCE instance, WNDPROC procedure);
// Closes every window, the highest number first.
void close_every_window();
// The window into which controls are created now (the last opened without
// WINDOW_NO_CONTAINER); 0 when none.
HWND container_window();
// Number of the toolkit window `hwnd` or of its nearest tagged ancestor; -1.
int window_number_of(HWND hwnd);
// Null when the number is not open.
WindowRecord* find_window_record(int window);
// The record whose native window is exactly `hwnd`; null for any other window.
WindowRecord* record_of_handle(HWND hwnd);
// Builds the native accelerator table anew from the record's shortcuts.
void rebuild_accelerators(WindowRecord& record);
// WM_NCDESTROY: the window's tag and handle go; its record stays until
// close_window frees it.
void forget_window_handle(HWND hwnd);
