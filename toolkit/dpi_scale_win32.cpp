// The display density of the toolkit's windows and their move to a monitor
// of another density.
#include <windows.h>

#include "toolkit/dpi_scale.h"
#include "toolkit/dpi_scale_win32.h"
#include "toolkit/events.h"
#include "toolkit/windows_win32.h"

namespace {

using DpiOfWindow = UINT(WINAPI*)(HWND);

// Systems before Windows 10 version 1607 have no per-window DPI; looked up
// once so that the executables still start there.
DpiOfWindow dpi_of_window_function() {
    static DpiOfWindow function = [] {
        HMODULE user = GetModuleHandleA("user32.dll");
        FARPROC found = user ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<DpiOfWindow>(reinterpret_cast<void*>(found));
    }();
    return function;
}

// A density the layouts can work with: what the system reports, or 96 when
// it reports nothing usable.
int usable_dpi(long dpi) {
    return dpi >= DPI_LOWEST && dpi <= DPI_HIGHEST ? static_cast<int>(dpi) : DPI_BASE;
}

int device_dpi(HWND hwnd) {
    HDC context = GetDC(hwnd);
    if (!context) {
        return DPI_BASE;
    }
    int dpi = GetDeviceCaps(context, LOGPIXELSY);
    ReleaseDC(hwnd, context);
    return usable_dpi(dpi);
}

}  // namespace

int window_dpi(int window) {
    HWND hwnd = window_handle(window);
    if (!hwnd) {
        return device_dpi(nullptr);
    }
    DpiOfWindow dpi_of_window = dpi_of_window_function();
    return dpi_of_window ? usable_dpi(dpi_of_window(hwnd)) : device_dpi(hwnd);
}

// The tool hears of the new density first, with the window already at the
// size the system suggests (which keeps it under the pointer that dragged
// it); the resize that follows comes after it in the queue. Everything is
// drawn anew in the new fonts, and the paint also ends the wait of a loop
// that received the change as a sent message.
void follow_dpi_change(HWND hwnd, int window, WPARAM wparam, LPARAM lparam) {
    queue_event(EVENT_DPI_CHANGE, window, window, usable_dpi(HIWORD(wparam)));
    const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
    if (suggested) {
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}
