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
void release_runtime();

// Writes the bytes of `text` to standard output as they are: the console when
// it is one, otherwise the file or pipe behind it. Reports nothing.
void print_text(const std::string& text);
