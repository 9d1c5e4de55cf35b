// Where the list comes from: a file on disk or standard input, read through
// the open-file slots, which the frame closes at the end of the run if any is
// still open.
#pragma once

#include <windows.h>

#include <string>

constexpr int LIST_FILE_SLOT = 0;
// The list-file argument that reads the list from standard input.
constexpr char LIST_FROM_STANDARD_INPUT[] = "-";

// Environment variables expanded, then made absolute; the input where that
// is not possible. LIST_FROM_STANDARD_INPUT stays as it is.
std::string expand_list_path(const std::string& path);

bool open_list_file(int slot, const std::string& path);
// False when there is no standard input or it is the console itself, where
// nothing was piped or redirected and a read would wait for typing.
bool open_standard_input(int slot);
// The open handle of a slot and whether it is a pipe, for a reader on a
// thread of its own; the slot still owns the handle.
bool list_file_handle(int slot, HANDLE* handle, bool* pipe);
// Up to `capacity` bytes from a handle of list_file_handle; 0 at the end of
// the file and after a read error (a cancelled read among them).
int read_list_handle(HANDLE handle, bool pipe, char* buffer, int capacity);
void close_list_file(int slot);
void close_list_files();
