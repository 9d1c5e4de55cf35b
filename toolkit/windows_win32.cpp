// Number-addressed top-level dialog windows: one window class per number, the
// registry of open windows, placement, colour and visibility.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "toolkit/text_encoding_win32.h"
#include "toolkit/windows_win32.h"

static_assert(WINDOW_HIDDEN == WS_VISIBLE,
              "taking WINDOW_HIDDEN out of the style is what creates a window hidden");

HINSTANCE toolkit_instance = nullptr;

namespace {

std::map<int, WindowRecord> window_registry;
HWND current_container = nullptr;
// The window procedure sits above this registry and looks windows up in it;
// the registry reaches it only through the system (a loop made by the Win32
// callback, see events_win32.cpp).
WNDPROC window_procedure = nullptr;

constexpr DWORD WINDOW_TOOLKIT_BITS = WINDOW_CENTER_SCREEN | WINDOW_CENTER_OWNER | WINDOW_HIDDEN;
constexpr DWORD WINDOW_LOW_BITS = 7;

std::wstring class_name_of(int window) {
    return L"WindowClass_" + std::to_wstring(window);
}

// Unicode windows: their captions, and the notifications and characters their
// controls send them, hold every character rather than the ANSI code page's.
void register_window_class(const std::wstring& name) {
    WNDCLASSW window_class = {};
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = toolkit_instance;
    window_class.hIcon = LoadIconA(toolkit_instance, MAKEINTRESOURCEA(1));
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name.c_str();
    // A class left from an earlier window of this number is simply reused.
    RegisterClassW(&window_class);
}

DWORD native_style_of(DWORD flags) {
    DWORD style = flags & ~WINDOW_NO_CONTAINER;
    if ((style & ~WINDOW_TOOLKIT_BITS) == 0) {
        style |= WS_CAPTION;
    }
    return style & ~WINDOW_HIDDEN & ~WINDOW_LOW_BITS;
}

POINT centred_position(int x, int y, int* width, int* height, DWORD flags, HWND owner) {
    POINT place = {x, y};
    if (flags & WINDOW_CENTER_SCREEN) {
        int screen_width = GetSystemMetrics(SM_CXSCREEN);
        int screen_height = GetSystemMetrics(SM_CYSCREEN);
        if (*width > screen_width) {
            *width = screen_width;
        }
        if (*height > screen_height) {
            *height = screen_height;
        }
        place.x = (screen_width - *width) / 2;
        place.y = (screen_height - *height) / 2;
    } else if (flags & WINDOW_CENTER_OWNER) {
        HWND reference = owner ? owner : GetActiveWindow();
        RECT outer;
        if (reference && GetWindowRect(reference, &outer)) {
            place.x = outer.left + (outer.right - outer.left - *width) / 2;
            place.y = outer.top + (outer.bottom - outer.top - *height) / 2;
            // Only the top-left corner is kept on screen: the title bar
            // must stay reachable even when the owner is half off screen.
            place.x = place.x < 0 ? 0 : place.x;
            place.y = place.y < 0 ? 0 : place.y;
        }
    }
    return place;
}

POINT initial_position(int x, int y, int* width, int* height, DWORD flags, HWND owner) {
    bool centred = (flags & (WINDOW_CENTER_SCREEN | WINDOW_CENTER_OWNER)) != 0;
    if (!centred && (x == KEEP_VALUE || y == KEEP_VALUE)) {
        return POINT{CW_USEDEFAULT, CW_USEDEFAULT};
    }
    POINT place = centred_position(x, y, width, height, flags, owner);
    // Owner centring without any reference window leaves the coordinates as
    // given; a kept value there would put the window far off screen.
    if (place.x == KEEP_VALUE || place.y == KEEP_VALUE) {
        place = POINT{CW_USEDEFAULT, CW_USEDEFAULT};
    }
    return place;
}

void free_window_record(int window, WindowRecord& record) {
    if (record.accelerators) {
        DestroyAcceleratorTable(record.accelerators);
    }
    if (record.brush) {
        DeleteObject(record.brush);
    }
    UnregisterClassW(class_name_of(window).c_str(), toolkit_instance);
}

RECT outer_rect_of(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

RECT client_rect_of(HWND hwnd) {
    RECT rect = {};
    GetClientRect(hwnd, &rect);
    return rect;
}

}  // namespace

void prepare_windows(HINSTANCE instance, WNDPROC procedure) {
    toolkit_instance = instance;
    window_procedure = procedure;
}

void close_every_window() {
    while (!window_registry.empty()) {
        close_window(window_registry.rbegin()->first);
    }
}

WindowRecord* find_window_record(int window) {
    auto found = window_registry.find(window);
    return found == window_registry.end() ? nullptr : &found->second;
}

WindowRecord* record_of_handle(HWND hwnd) {
    if (!hwnd) {
        return nullptr;
    }
    for (auto& entry : window_registry) {
        if (entry.second.handle == hwnd) {
            return &entry.second;
        }
    }
    return nullptr;
}

void rebuild_accelerators(WindowRecord& record) {
    if (record.accelerators) {
        DestroyAcceleratorTable(record.accelerators);
    }
    std::vector<ACCEL> table;
    for (const ShortcutEntry& entry : record.shortcuts) {
        table.push_back(ACCEL{entry.modifiers, entry.key, entry.command});
    }
    record.accelerators = CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

void forget_window_handle(HWND hwnd) {
    RemovePropA(hwnd, WINDOW_TAG);
    WindowRecord* record = record_of_handle(hwnd);
    if (record) {
        record->handle = nullptr;
    }
}

HWND container_window() {
    return current_container;
}

int window_number_of(HWND hwnd) {
    // The registry mirrors the windows' tags in-process; a property lookup per
    // message would cost a round trip to the window system.
    while (hwnd) {
        for (const auto& entry : window_registry) {
            if (entry.second.handle == hwnd) {
                return entry.first;
            }
        }
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
            break;
        }
        hwnd = GetParent(hwnd);
    }
    return -1;
}

HWND open_window(int window, int x, int y, int inner_width, int inner_height,
                 const std::string& title, DWORD flags, HWND owner) {
    if (window < 0) {
        return nullptr;
    }
    // A number is one window: opening it again replaces the old window
    // rather than leaking it.
    close_window(window);
    std::wstring class_name = class_name_of(window);
    register_window_class(class_name);

    DWORD style = native_style_of(flags);
    RECT outer = {0, 0, inner_width, inner_height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    POINT place = initial_position(x, y, &width, &height, flags, owner);

    std::wstring caption = to_wide_text(title, current_text_encoding());
    HWND hwnd = CreateWindowExW(0, class_name.c_str(), caption.c_str(), style, place.x, place.y,
                                width, height, owner, nullptr, toolkit_instance, nullptr);
    if (!hwnd) {
        UnregisterClassW(class_name.c_str(), toolkit_instance);
        return nullptr;
    }
    SetPropA(hwnd, WINDOW_TAG, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(window) + 1));
    WindowRecord& record = window_registry[window];
    record = WindowRecord{hwnd,   static_cast<COLORREF>(COLOR_DEFAULT), nullptr, false, nullptr, {},
                          nullptr};
    if (!(flags & WINDOW_HIDDEN)) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
    }
    record.shortcuts = initial_shortcuts();
    rebuild_accelerators(record);
    if (!(flags & WINDOW_NO_CONTAINER)) {
        current_container = hwnd;
    }
    return hwnd;
}

void close_window(int window) {
    WindowRecord* record = find_window_record(window);
    if (!record) {
        return;
    }
    HWND hwnd = record->handle;
    if (hwnd) {
        // Hand the activation back before the window goes, so the owner (the
        // console) does not lose its place in the activation order.
        HWND owner = GetWindow(hwnd, GW_OWNER);
        if (owner) {
            SetActiveWindow(owner);
        }
        DestroyWindow(hwnd);
    }
    if (current_container && current_container == hwnd) {
        current_container = nullptr;
    }
    // The destruction may have run tool code through the window callback;
    // look the record up again instead of trusting the old pointer.
    record = find_window_record(window);
    if (record) {
        free_window_record(window, *record);
        window_registry.erase(window);
    }
}

void set_window_color(int window, COLORREF color) {
    WindowRecord* record = find_window_record(window);
    if (!record || record->color == color) {
        return;
    }
    if (record->brush) {
        DeleteObject(record->brush);
        record->brush = nullptr;
    }
    if (color != static_cast<COLORREF>(COLOR_DEFAULT)) {
        record->brush = CreateSolidBrush(color);
    }
    record->color = color;
    RedrawWindow(record->handle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_INTERNALPAINT);
}

int resize_window(int window, int x, int y, int inner_width, int inner_height) {
    WindowRecord* record = find_window_record(window);
    if (!record || !record->handle) {
        return 0;
    }
    HWND hwnd = record->handle;
    RECT outer = outer_rect_of(hwnd);
    x = x == KEEP_VALUE ? outer.left : x;
    y = y == KEEP_VALUE ? outer.top : y;
    RECT inner = {0, 0, inner_width, inner_height};
    if (inner_width == KEEP_VALUE || inner_height == KEEP_VALUE) {
        inner = client_rect_of(hwnd);
        inner.right = inner_width == KEEP_VALUE ? inner.right : inner_width;
        inner.bottom = inner_height == KEEP_VALUE ? inner.bottom : inner_height;
    }
    AdjustWindowRectEx(&inner, GetWindowLongA(hwnd, GWL_STYLE), FALSE,
                       GetWindowLongA(hwnd, GWL_EXSTYLE));
    return SetWindowPos(hwnd, nullptr, x, y, inner.right - inner.left, inner.bottom - inner.top,
                        SWP_NOZORDER | SWP_NOACTIVATE);
}

void show_window(int window, int hide) {
    WindowRecord* record = find_window_record(window);
    if (!record || !record->handle) {
        return;
    }
    HWND hwnd = record->handle;
    if (!hide) {
        int command =
            IsZoomed(hwnd) ? SW_SHOWMAXIMIZED : (IsIconic(hwnd) ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
        ShowWindow(hwnd, command);
        return;
    }
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner) {
        SetActiveWindow(owner);
    }
    ShowWindow(hwnd, SW_HIDE);
}

void set_window_topmost(int window, int on) {
    WindowRecord* record = find_window_record(window);
    if (!record || !record->handle) {
        return;
    }
    SetWindowPos(record->handle, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void set_window_title(int window, const std::string& title) {
    WindowRecord* record = find_window_record(window);
    if (record && record->handle) {
        SetWindowTextW(record->handle, to_wide_text(title, current_text_encoding()).c_str());
    }
}

HWND window_handle(int window) {
    WindowRecord* record = find_window_record(window);
    return record ? record->handle : nullptr;
}

int window_x(int window) {
    HWND hwnd = window_handle(window);
    return hwnd ? outer_rect_of(hwnd).left : 0;
}

int window_y(int window) {
    HWND hwnd = window_handle(window);
    return hwnd ? outer_rect_of(hwnd).top : 0;
}

int window_inner_width(int window) {
    HWND hwnd = window_handle(window);
    return hwnd ? client_rect_of(hwnd).right : 0;
}

int window_inner_height(int window) {
    HWND hwnd = window_handle(window);
    return hwnd ? client_rect_of(hwnd).bottom : 0;
}
