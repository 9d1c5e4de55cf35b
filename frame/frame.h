// The process frame: start-up, the owner console window, the exit code and
// the end of the process. Both tools run their body through run_frame.
#pragma once

#include <windows.h>

#include <string>

extern HINSTANCE module_instance;
extern HANDLE stdout_handle;
extern HWND console_window;
extern UINT ToolExit;

using ToolBody = void (*)();
using ToolRelease = void (*)();
using ToolPrepare = void (*)(HINSTANCE instance);

// What a tool hands the frame. The frame knows nothing above itself: the
// tool's main names the toolkit's start and end here. Any of them may be null.
struct FrameHooks {
    ToolBody body;
    // Runs first, before the command line is read.
    ToolPrepare prepare;
    // release_runtime closes the windows first, then the files they showed.
    ToolRelease release_windows;
    ToolRelease release_files;
    // The title of the box that reports a failed run (end_failed_run).
    const char* title;
};

// Runs the whole start-up and end sequence and ends the process with ToolExit.
[[noreturn]] void run_frame(const FrameHooks& hooks);

// A run that failed ends with this code, never one an answer could have.
constexpr UINT FRAME_FAILURE_EXIT_CODE = 255;
// The reasons its box gives.
constexpr char FRAME_FAILURE_MEMORY[] = "Not enough memory. Nothing was answered.";
constexpr char FRAME_FAILURE_INTERNAL[] =
    "An internal error stopped the program. Nothing was answered.";

// Has std::terminate and an abort end the run through end_failed_run, with
// `title` on its box (failure_win32.cpp).
void install_failure_handlers(const char* title);
// Runs `body`; an exception that leaves it ends the run through end_failed_run.
void run_guarded(ToolBody body);
// Shows `reason` in a box (once, however often it is called) and ends the
// process with FRAME_FAILURE_EXIT_CODE. `unwound`: called after the stack
// was unwound, so that the windows can be closed first.
[[noreturn]] void end_failed_run(const char* reason, bool unwound);

int attach_console();
void find_console_window();
// Runs the release hooks, windows then files; harmless when called again.
void release_runtime();
// What release_runtime runs; run_frame sets it from its hooks.
void set_release_hooks(ToolRelease release_windows, ToolRelease release_files);
// Installed by attach_console; the system calls it on a thread of its own.
// Always FALSE; on CTRL_CLOSE_EVENT it first has release_runtime run on the
// main thread (see frame_win32.cpp).
BOOL WINAPI console_ctrl_handler(DWORD event);

// Writes the bytes of `text` to standard output as they are: the console when
// it is one, otherwise the file or pipe behind it. Reports nothing.
void print_text(const std::string& text);
// The same for a UTF-8 text: a console gets its characters through the
// Unicode console call, a file or pipe its bytes unchanged, with no mark.
void print_utf8_text(const std::string& text);
