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

// Runs the whole start-up and end sequence and ends the process with ToolExit.
// `release_files` (may be null) closes whatever files the tool left open.
[[noreturn]] void run_frame(ToolBody body, ToolRelease release_files);

int attach_console();
void find_console_window();
// Releases the toolkit, then the tool's files; harmless when called again.
void release_runtime();
// What release_runtime closes after the toolkit; run_frame sets it.
void set_file_release(ToolRelease release_files);
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
