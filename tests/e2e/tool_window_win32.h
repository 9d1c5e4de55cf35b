// Finding a tool's window from outside by its process id, and typing into it:
// shared by the end-to-end driver, the benchmark launcher and the screenshot
// launcher.
#pragma once

#include <windows.h>

#include <vector>

// The console windows that a console program's process may own.
bool is_console_window(HWND hwnd);
// Visible top-level windows of the process other than console windows, in
// the system's top-to-bottom order.
std::vector<HWND> tool_windows(DWORD pid);
// Checks every `poll_ms` for a tool window of the process; null once the
// process has ended (or `process` is null) or after `timeout_ms`.
HWND wait_for_tool_window(HANDLE process, DWORD pid, DWORD timeout_ms, DWORD poll_ms);
// Presses and releases the key of `c` in the keyboard layout, with Shift
// when the layout needs it, as one batch of real input.
void send_character_key(char c);
