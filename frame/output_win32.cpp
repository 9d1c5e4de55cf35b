#include "frame/frame.h"
#include "frame/utf8.h"

void print_text(const std::string& text) {
    if (text.empty()) {
        return;
    }
    DWORD length = static_cast<DWORD>(text.size());
    // Some systems fault on a null count pointer even when the count is unused.
    DWORD written = 0;
    if (!WriteConsoleA(stdout_handle, text.data(), length, &written, nullptr)) {
        // Not a console: a file, a pipe or the null device.
        WriteFile(stdout_handle, text.data(), length, &written, nullptr);
    }
}

void print_utf8_text(const std::string& text) {
    if (text.empty()) {
        return;
    }
    // A console shows characters, whatever its code page; a file or a pipe
    // gets the bytes themselves, invalid sequences included.
    std::u16string wide = utf16_from_utf8(text);
    DWORD written = 0;
    if (!WriteConsoleW(stdout_handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                       nullptr)) {
        WriteFile(stdout_handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}
