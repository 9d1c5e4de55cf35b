// What the two halves of the toolkit tell each other: the window side
// (windows, window procedure, events, shortcuts, timers) and the control side
// (controls and fonts). Tools never include this header.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/event_queue.h"
#include "toolkit/toolkit.h"

// Window properties that tag native windows with their toolkit numbers. The
// stored value is number + 1 so that number 0 is distinguishable from "none".
constexpr char WINDOW_TAG[] = "ToolkitWindowNumber";
constexpr char CONTROL_TAG[] = "ToolkitControlId";

// ---- provided by the text boundary ----

// What set_text_encoding chose last.
int current_text_encoding();
std::string from_wide_text(const wchar_t* text, size_t length, int encoding);

// ---- provided by the window side ----

extern HINSTANCE toolkit_instance;
// The window into which controls are created now (the last opened without
// WINDOW_NO_CONTAINER); 0 when none.
HWND container_window();
// Number of the toolkit window `hwnd` or of its nearest tagged ancestor; -1.
int window_number_of(HWND hwnd);
// Appends to the queue unless equal to the unread tail entry.
void queue_event(int kind, int id, int window, int detail);
// Sets the live (immediate) event returned by the wait_event call that is
// dispatching the current message.
void set_immediate_event(int kind, int id, int detail);

// ---- shared by the window side's own files ----

struct WindowRecord {
    HWND handle;
    COLORREF color;     // or COLOR_DEFAULT
    HBRUSH brush;       // none for COLOR_DEFAULT
    bool min_max;       // set while minimised or maximised
    HWND focus_memory;  // the control that had the focus at deactivation
    std::vector<ShortcutEntry> shortcuts;
    HACCEL accelerators;
};

// Null when the number is not open.
WindowRecord* find_window_record(int window);
// The record whose native window is exactly `hwnd`; null for any other window.
WindowRecord* record_of_handle(HWND hwnd);
// Builds the native accelerator table of a fresh window.
void start_window_shortcuts(WindowRecord& record);
LRESULT CALLBACK toolkit_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// Forgets the queue, the live and snapshot fields and the window callback.
void drop_event_state();
// WM_DPICHANGED: queues EVENT_DPI_CHANGE and takes the suggested rectangle.
void follow_dpi_change(HWND hwnd, int window, WPARAM wparam, LPARAM lparam);

// ---- provided by the control side ----

void prepare_controls();
// Deletes every loaded font and the shared label brushes.
void release_controls();
// Each returns true when the control side took the message and set *result.
bool control_command(HWND window, WPARAM wparam, LPARAM lparam, LRESULT* result);
bool control_notify(HWND window, WPARAM wparam, LPARAM lparam, LRESULT* result);
bool control_color_static(HWND window, WPARAM wparam, LPARAM lparam, LRESULT* result);
