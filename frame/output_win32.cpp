#include "frame/frame.h"

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
