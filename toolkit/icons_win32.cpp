// The system's message icons (information, warning, error, question) as a
// control, drawn at the icon size of the window's display, and the sound the
// system's message box makes with each. The control owns its icon image and
// loads it again whenever it is resized, so a move to another density gets a
// sharp image rather than a stretched one.
#include <windows.h>

#include "toolkit/controls_win32.h"

namespace {

using LoadScaledIcon = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
using MetricForDpi = int(WINAPI*)(int, UINT);

// Both calls are newer than the oldest systems the tools start on; looked up
// once, with the older calls behind them.
LoadScaledIcon scaled_icon_function() {
    static LoadScaledIcon function = [] {
        HMODULE controls = GetModuleHandleA("comctl32.dll");
        FARPROC found = controls ? GetProcAddress(controls, "LoadIconWithScaleDown") : nullptr;
        return reinterpret_cast<LoadScaledIcon>(reinterpret_cast<void*>(found));
    }();
    return function;
}

MetricForDpi metric_for_dpi_function() {
    static MetricForDpi function = [] {
        HMODULE user = GetModuleHandleA("user32.dll");
        FARPROC found = user ? GetProcAddress(user, "GetSystemMetricsForDpi") : nullptr;
        return reinterpret_cast<MetricForDpi>(reinterpret_cast<void*>(found));
    }();
    return function;
}

const wchar_t* system_icon_name(int icon) {
    switch (icon) {
        case ICON_INFORMATION:
            return MAKEINTRESOURCEW(32516);  // IDI_INFORMATION
        case ICON_WARNING:
            return MAKEINTRESOURCEW(32515);  // IDI_WARNING
        case ICON_ERROR:
            return MAKEINTRESOURCEW(32513);  // IDI_ERROR
        case ICON_QUESTION:
            return MAKEINTRESOURCEW(32514);  // IDI_QUESTION
        default:
            return nullptr;
    }
}

// The system's image made for that size where the system offers it; else
// the standard icon scaled, a copy the control owns as it owns the other.
HICON load_system_icon(int icon, int size) {
    const wchar_t* name = system_icon_name(icon);
    if (!name || size <= 0) {
        return nullptr;
    }
    HICON loaded = nullptr;
    LoadScaledIcon scaled = scaled_icon_function();
    if (scaled && SUCCEEDED(scaled(nullptr, name, size, size, &loaded)) && loaded) {
        return loaded;
    }
    return static_cast<HICON>(CopyImage(LoadIconW(nullptr, name), IMAGE_ICON, size, size, 0));
}

void release_icon(ControlRecord& record) {
    if (record.icon) {
        DestroyIcon(record.icon);
        record.icon = nullptr;
    }
}

// A resize brings the image for the new size; a static control with an icon
// would otherwise size itself to the old image.
void icon_moved(ControlRecord& record) {
    RECT client;
    GetClientRect(record.handle, &client);
    HICON fresh = load_system_icon(record.icon_kind, client.right - client.left);
    if (!fresh) {
        return;
    }
    send_to(record.handle, STM_SETICON, reinterpret_cast<WPARAM>(fresh), 0);
    release_icon(record);
    record.icon = fresh;
    InvalidateRect(record.handle, nullptr, TRUE);
}

const ControlKind ICON_KIND = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, icon_moved, release_icon,
};

}  // namespace

int system_icon_size(int dpi) {
    MetricForDpi metric = metric_for_dpi_function();
    if (metric && dpi > 0) {
        return metric(SM_CXICON, static_cast<UINT>(dpi));
    }
    // Older systems have one icon size, that of the whole display.
    HDC screen = GetDC(nullptr);
    int system_dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    int size = GetSystemMetrics(SM_CXICON);
    return dpi > 0 && system_dpi > 0 ? MulDiv(size, dpi, system_dpi) : size;
}

HWND create_icon(int id, int x, int y, int size, int icon) {
    HICON image = load_system_icon(icon, size);
    if (!image) {
        return nullptr;
    }
    DWORD style = WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE;
    HWND hwnd = create_control(id, ICON_KIND, L"Static", style, 0, x, y, size, size, "");
    ControlRecord* record = find_control_of(id, ICON_KIND);
    if (!record) {
        DestroyIcon(image);
        return nullptr;
    }
    record->icon_kind = icon;
    record->icon = image;
    send_to(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
    SetWindowPos(hwnd, nullptr, x, y, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    return hwnd;
}

void play_icon_sound(int icon) {
    switch (icon) {
        case ICON_INFORMATION:
            MessageBeep(MB_ICONASTERISK);
            break;
        case ICON_WARNING:
            MessageBeep(MB_ICONEXCLAMATION);
            break;
        case ICON_ERROR:
            MessageBeep(MB_ICONHAND);
            break;
        case ICON_QUESTION:
            MessageBeep(MB_ICONQUESTION);
            break;
        default:
            break;
    }
}
