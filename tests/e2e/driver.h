// End-to-end driver: starts orlipan.exe / vemo.exe the way a batch file does,
// finds their windows by process id, reads them, types and clicks with real
// input (SendInput) and collects the exit code and the bytes written to
// standard output. Uses documented Win32 only, so it runs on Windows as well
// as under Wine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/tool_window_win32.h"

enum LaunchMode {
    LAUNCH_NEW_CONSOLE,    // CREATE_NEW_CONSOLE, standard output to the console
    LAUNCH_DETACHED,       // DETACHED_PROCESS: no console window; standard output to a file
    LAUNCH_REDIRECT_FILE,  // new console, standard output redirected to a file
    LAUNCH_REDIRECT_PIPE,  // new console, standard output into a pipe read by the driver
};

// Standard input of a redirecting launch (LAUNCH_NEW_CONSOLE leaves the
// console as standard input).
enum InputMode {
    INPUT_NUL,   // the null device
    INPUT_PIPE,  // a pipe the test writes into (ToolRun::input_write)
    INPUT_FILE,  // LaunchOptions::input_file, as `< file` gives it
};

struct LaunchOptions {
    LaunchMode mode = LAUNCH_REDIRECT_FILE;
    InputMode input = INPUT_NUL;
    std::string input_file;
    std::string working_dir;            // empty: the driver's temporary directory
    WORD console_show = SW_SHOWNORMAL;  // e.g. SW_SHOWMINNOACTIVE to start the console minimised
    bool wide_arguments = false;        // `args` are UTF-8 and go through CreateProcessW
};

struct ToolRun {
    HANDLE process = nullptr;
    DWORD pid = 0;
    std::string output_file;       // LAUNCH_REDIRECT_FILE
    HANDLE pipe_read = nullptr;    // LAUNCH_REDIRECT_PIPE
    std::string piped;             // bytes collected from the pipe so far
    HANDLE input_write = nullptr;  // INPUT_PIPE: the test's end of standard input
    // How it was started, so that a start that crashed can be made again.
    std::string exe;
    std::string args;
    LaunchOptions options;
};

// ---- Starting, feeding and ending a tool (driver_launch_win32.cpp) ----

// Directory of the running test executable; the tools are built next to it.
std::string test_dir();
// A fresh scratch directory for one test's files.
std::string scratch_dir();
void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);

// `exe` is "orlipan.exe" or "vemo.exe" (looked up in test_dir()); `args` is
// the rest of the command line exactly as a batch file would write it.
ToolRun start_tool(const std::string& exe, const std::string& args,
                   const LaunchOptions& options = LaunchOptions());

// Writes `bytes` into the tool's standard input from a thread of its own, in
// `pieces` writes `pause_ms` apart, then closes the pipe (ends the input).
// The returned handle is the writing thread; wait for it or close it.
HANDLE feed_input(ToolRun& run, const std::string& bytes, int pieces = 1, int pause_ms = 0);
// Writes `bytes` into the tool's standard input and leaves the pipe open, as
// a writer still busy with its lines does; false when the write fails (the
// tool has let go of its end).
bool write_input(ToolRun& run, const std::string& bytes);
// Closes the test's end of standard input: the tool's input ends.
void close_input(ToolRun& run);

// ---- Finding and reading windows (driver_windows_win32.cpp) ----

// Waits (bounded polling) for the first visible tool window; 0 on timeout.
// A tool that crashed before showing a window is started once more, with a
// line on standard error, unless the test feeds its standard input or the
// driver did not start it (a batch file's tool). Wine has been seen, rarely
// and under load, to crash a program as it starts, inside its own gdi32
// whose handle table it had not set up. A tool that crashes every time still
// fails.
HWND wait_for_window(ToolRun& run, int timeout_ms = 10000);

std::string window_caption(HWND hwnd);
std::string window_class(HWND hwnd);
// The text of any window read through the Unicode call, as UTF-8.
std::string window_text_utf8(HWND hwnd);
std::wstring wide_of_utf8(const std::string& text);
std::string utf8_of_wide(const std::wstring& text);
// Text of a system message box (its static control, id 0xFFFF).
std::string message_box_text(HWND box);
HWND child_by_class(HWND parent, const std::string& class_name, int index = 0);
std::vector<HWND> children_by_class(HWND parent, const std::string& class_name);
// First descendant of that class whose text equals `text` exactly; 0 if none.
HWND child_by_text(HWND parent, const std::string& class_name, const std::string& text);
RECT window_rect(HWND hwnd);  // outer, screen coordinates
RECT client_rect_on_screen(HWND hwnd);
// A control's place inside its window, in the window's client coordinates.
RECT rect_in_client(HWND window, HWND control);

// The characters the console this process is attached to shows, row after
// row; empty when it has none.
std::wstring attached_console_text();

// ---- Real input (driver_input_win32.cpp) ----

void press_key(WORD vk, bool shift = false, bool control = false, bool alt = false);
void click_at(int x, int y, bool right = false);
// Moves the mouse and waits until the cursor is there (at most a second).
void move_cursor_to(int x, int y);
// A left click with `key` (VK_CONTROL, VK_SHIFT) held down.
void click_holding(int x, int y, WORD key);
void double_click_at(int x, int y);
void click_window_center(HWND hwnd);
// Waits until `hwnd` is the foreground window (activating it if need be, with
// a click on its caption when the system refuses).
bool make_foreground(HWND hwnd, int timeout_ms = 5000);

// Bounded polling for a condition.
template <typename Condition>
bool wait_until(Condition condition, int timeout_ms = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > (DWORD)timeout_ms)
            return false;
        Sleep(20);
    }
    return true;
}

// Waits for the process to end; false on timeout (the process is then killed
// and *exit_code is left unchanged).
bool wait_exit(ToolRun& run, int timeout_ms, DWORD* exit_code);
// Bytes the tool wrote to standard output (file or pipe), after it ended.
std::string output_bytes(ToolRun& run);
void kill_tool(ToolRun& run);
// Asks a window to close as its system menu's Close item does (Alt+F4 without
// the keyboard); used where no close box can be clicked.
void request_close(HWND hwnd);
