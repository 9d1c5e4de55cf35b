#include "orlipan/list_file_win32.h"

#include <windows.h>

#include <map>
#include <vector>

#include "toolkit/toolkit.h"

namespace {

struct ListInput {
    HANDLE handle;
    bool owned;  // standard input belongs to the process, not to the slot
    bool pipe;
};

std::map<int, ListInput> open_files;

// The system reports the size it needs when the buffer is too small, so a
// long path is never cut; a few tries cover an environment that changes
// between the calls.
constexpr int PATH_TRIES = 3;

// Paths come from the command line as UTF-8 and go to the system wide, so a
// file name in any script is found.
std::wstring wide_path(const std::string& path) {
    return to_wide_text(path, TEXT_UTF8);
}

bool expand_environment(const std::string& path, std::string* expanded) {
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < PATH_TRIES; ++attempt) {
        std::vector<wchar_t> buffer(size + 1);
        DWORD needed = ExpandEnvironmentStringsW(wide_path(path).c_str(), buffer.data(), size);
        if (needed == 0)
            return false;
        if (needed <= size) {
            *expanded = from_wide_text(buffer.data(), TEXT_UTF8);
            return true;
        }
        size = needed;
    }
    return false;
}

bool full_path_of(const std::string& path, std::string* full) {
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < PATH_TRIES; ++attempt) {
        std::vector<wchar_t> buffer(size + 1);
        DWORD length = GetFullPathNameW(wide_path(path).c_str(), size, buffer.data(), nullptr);
        if (length == 0)
            return false;
        if (length < size) {
            *full = from_wide_text(std::wstring(buffer.data(), length), TEXT_UTF8);
            return true;
        }
        size = length;
    }
    return false;
}

}  // namespace

std::string expand_list_path(const std::string& path) {
    if (path.empty() || path == LIST_FROM_STANDARD_INPUT)
        return path;
    std::string expanded;
    if (!expand_environment(path, &expanded))
        return path;
    std::string full;
    if (!full_path_of(expanded, &full))
        return expanded;
    return full;
}

bool open_list_file(int slot, const std::string& path) {
    close_list_file(slot);
    HANDLE file = CreateFileW(wide_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    open_files[slot] = ListInput{file, true, false};
    return true;
}

bool open_standard_input(int slot) {
    close_list_file(slot);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    if (GetConsoleMode(input, &mode))
        return false;
    open_files[slot] = ListInput{input, false, GetFileType(input) == FILE_TYPE_PIPE};
    return true;
}

int read_list_handle(HANDLE handle, bool pipe, char* buffer, int capacity) {
    if (capacity <= 0)
        return 0;
    DWORD got = 0;
    // A writer's empty write reaches a pipe's reader as an empty read; only a
    // failed read (the writer closed its end) ends a pipe.
    do {
        if (!ReadFile(handle, buffer, (DWORD)capacity, &got, nullptr))
            return 0;
    } while (got == 0 && pipe);
    return (int)got;
}

bool list_file_handle(int slot, HANDLE* handle, bool* pipe) {
    auto found = open_files.find(slot);
    if (found == open_files.end())
        return false;
    *handle = found->second.handle;
    *pipe = found->second.pipe;
    return true;
}

void close_list_file(int slot) {
    auto found = open_files.find(slot);
    if (found == open_files.end())
        return;
    if (found->second.owned)
        CloseHandle(found->second.handle);
    open_files.erase(found);
}

void close_list_files() {
    while (!open_files.empty())
        close_list_file(open_files.begin()->first);
}
