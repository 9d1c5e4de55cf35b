// The list file on disk: path expansion and the open-file slots, which the
// frame closes at the end of the run if any is still open.
#pragma once

#include <string>

constexpr int LIST_FILE_SLOT = 0;

// Environment variables expanded, then made absolute; the input where that
// is not possible.
std::string expand_list_path(const std::string& path);

bool open_list_file(int slot, const std::string& path);
// Up to `capacity` bytes; 0 at the end of the file and after a read error.
int read_list_file(int slot, char* buffer, int capacity);
void close_list_file(int slot);
void close_list_files();
