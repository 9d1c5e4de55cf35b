// Driving the list tool's pick window from outside: starting it on a list,
// reading its list view in the tool's address space, keys and clicks on its
// lines, and its ending.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

const int EXIT_TIMEOUT_MS = 20000;

RECT remote_item_rect(HANDLE process, HWND list, int index);
// The text of a line, or of one of its cells in a list of several columns.
std::string remote_item_text(HANDLE process, HWND list, int index, int column = 0);
// The same through the Unicode message, as UTF-8.
std::string remote_item_text_utf8(HANDLE process, HWND list, int index, int column = 0);
std::string remote_column_title(HANDLE process, HWND list, int column);
int column_count(HWND list);
// The middle of a column's title, in screen coordinates.
POINT title_point(HANDLE process, HWND list, int column);
int selected_line(HWND list);
// Whether the list starts on `line`, read as soon as the window shows: the
// tool selects its start lines before it shows the window, so no wait.
bool starts_on(HWND list, int line);
// Every selected line of a list, in order.
std::vector<int> selected_lines(HWND list);

struct Pick {
    ToolRun run;
    HWND window = nullptr;
    HWND list = nullptr;
    std::string dir;
    // Ends a tool that a failed check left running.
    std::shared_ptr<void> guard;
};

struct Ending {
    bool ended = false;
    DWORD exit_code = 12345;
    std::string output;
};

std::shared_ptr<void> end_when_dropped(HANDLE process);
// Each line followed by CR LF.
std::string lines_text(const std::vector<std::string>& lines);
// Starts orlipan on `list_bytes` written to list.txt in a scratch folder, as
// `orlipan list.txt ARGS`, and waits for its window.
Pick start_pick(const std::string& list_bytes, const std::string& args,
                LaunchMode mode = LAUNCH_REDIRECT_FILE, int timeout_ms = 10000);
// Starts `orlipan ARGS` with `options` as given; waits for no window.
Pick start_pick_with(const std::string& args, const LaunchOptions& options);
// Waits for the tool's window and finds its list.
bool find_pick_window(Pick& pick, int timeout_ms = 10000);
Ending finish(Pick& pick, int timeout_ms = EXIT_TIMEOUT_MS);
void press_in(Pick& pick, WORD vk, bool alt = false);
// The lines the list shows, read from the tool.
std::vector<std::string> shown_lines(Pick& pick);
POINT line_point(Pick& pick, int index);
void click_line(Pick& pick, int index, bool twice = false);
// A click on a column's title, as a user sorts by it.
void click_title(Pick& pick, int column);
// The cells of one column, row by row, as the list shows them.
std::vector<std::string> shown_column(Pick& pick, int column);
bool still_open(Pick& pick);
// The report that `orlipan list.txt ARGS` shows for a bad command line, read
// from its message box; " (no clean end)" follows unless the tool then ends
// with exit code 0.
std::string pick_report(const std::string& args);
// Enter accepts nothing and leaves the window open; Escape then ends the
// tool with 0 and no output.
void expect_enter_ignored_then_escape_cancels(Pick& pick);
// Types one character as an input method delivers it, whatever the keyboard.
void type_character(Pick& pick, wchar_t character);
RECT work_area();

// Runs `script` (copied next to the test program) with cmd.exe in a console
// of its own, with `dir` as its argument; null if it cannot start.
HANDLE start_batch(const std::string& script, const std::string& dir);
// The tool's window, found by its caption, with the tool's process opened
// so that its list can be read.
Pick pick_started_by_batch(const char* caption);
// Waits for the batch file to end and returns its result.txt.
std::string batch_result(HANDLE batch, const std::string& dir);
