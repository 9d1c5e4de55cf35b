// Plain text onto the clipboard, as Ctrl+C puts it there in any dialog: the
// Unicode format for every program of today, the ANSI one for older ones.
#include <windows.h>

#include <cstring>
#include <string>

#include "toolkit/toolkit.h"

namespace {

// Another program may hold the clipboard for a moment while it reads it.
constexpr int CLIPBOARD_OPEN_TRIES = 20;
constexpr DWORD CLIPBOARD_RETRY_MS = 10;

bool open_clipboard(HWND owner) {
    for (int attempt = 0; attempt < CLIPBOARD_OPEN_TRIES; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(CLIPBOARD_RETRY_MS);
    }
    return false;
}

// The clipboard owns the memory once SetClipboardData took it.
bool put_format(UINT format, const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) {
        return false;
    }
    void* at = GlobalLock(memory);
    if (!at) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(at, data, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

std::string ansi_of(const std::wstring& wide) {
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    }
    return bytes;  // with its terminating zero
}

}  // namespace

int copy_text(int window, const std::string& text, int encoding) {
    const std::wstring wide = to_wide_text(text, encoding);
    if (!open_clipboard(window_handle(window))) {
        return 0;
    }
    EmptyClipboard();
    bool done = put_format(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    const std::string ansi = ansi_of(wide);
    done = put_format(CF_TEXT, ansi.data(), ansi.size()) && done;
    CloseClipboard();
    return done ? 1 : 0;
}

int copy_edit_selection(int id) {
    HWND box = control_handle(id);
    if (!box || (GetWindowLongW(box, GWL_STYLE) & ES_PASSWORD) != 0) {
        return 0;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) {
        return 0;
    }
    SendMessageW(box, WM_COPY, 0, 0);
    return 1;
}
