// Running the example batch files as a user runs them: cmd.exe in a console
// of its own, the tools found on PATH, real keys and clicks in the windows
// the batch files open, and what the batch files print.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <set>
#include <string>

#include "tests/e2e/driver.h"

struct BatchRun {
    HANDLE process = nullptr;
    DWORD pid = 0;
    std::string dir;
    std::string output_file;
    std::set<DWORD> seen_tools;
};

struct ToolWindow {
    ToolRun run;
    HWND window = nullptr;
};

std::string examples_dir();
// A directory that did not exist before: the examples list and delete the
// files of their folder, so nothing of an earlier run may be left in it.
std::string fresh_dir();
// Runs the batch file `script` with ARGS through cmd.exe in `dir`, in a
// console of its own; standard output to `output_file`, standard error there
// too or, when given, to `error_file`.
BatchRun start_batch(const std::string& script, const std::string& args, const std::string& dir,
                     const std::string& output_file, const std::string& error_file,
                     bool hidden_console = false);
// Runs examples\NAME ARGS in `dir`; its standard output and error go to one
// file outside `dir`. `hidden_console`: a console without a window, as for a
// batch file run by a scheduler.
BatchRun start_example(const std::string& name, const std::string& args, const std::string& dir,
                       bool hidden_console = false);
// The next tool process named `exe` that the batch started, with its window.
ToolWindow wait_for_tool(BatchRun& batch, const char* exe);
// Waits for the batch file to end and returns what it printed; a batch file
// that hangs is ended with the tools it started.
std::string finish_batch(BatchRun& batch, DWORD* exit_code = nullptr);
void close_tool(ToolWindow& tool);
void type_keys(ToolWindow& tool, std::initializer_list<WORD> keys);
// A click given only once `target` is what lies under the pointer.
void click_on(HWND target, POINT p);
void click_row(ToolWindow& tool, int index);
bool contains(const std::string& text, const std::string& part);
bool file_exists(const std::string& path);
// The batch files call the tools by name, as from a folder on PATH.
void add_tools_to_path();
