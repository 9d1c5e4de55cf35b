// The driver's window side: finding a tool's windows and reading them; see
// driver.h.
#include "tests/e2e/driver.h"

#include <cstdio>

namespace {

const DWORD DRIVER_POLL_MS = 20;
const int DRIVER_TEXT_TIMEOUT_MS = 2000;

struct ChildSearch {
    std::string class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_child(HWND hwnd, LPARAM param) {
    ChildSearch* search = (ChildSearch*)param;
    if (lstrcmpiA(window_class(hwnd).c_str(), search->class_name.c_str()) == 0) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

// WM_GETTEXT is marshalled across processes, unlike a plain GetWindowTextA
// on a control of another process.
std::string window_text(HWND hwnd) {
    if (!hwnd)
        return "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, DRIVER_TEXT_TIMEOUT_MS,
                             &length)) {
        return "";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), (LPARAM)&text[0], SMTO_ABORTIFHUNG,
                             DRIVER_TEXT_TIMEOUT_MS, &copied)) {
        return "";
    }
    text.resize(copied < length ? copied : length);
    return text;
}

// A start that shows no window says how the tool ended, so that a rare
// start-up fault leaves its exit code in the test log.
HWND wait_for_first_window(const ToolRun& run, int timeout_ms, DWORD* exit_code) {
    HWND window = wait_for_tool_window(run.process, run.pid, (DWORD)timeout_ms, DRIVER_POLL_MS);
    *exit_code = STILL_ACTIVE;
    if (!window && run.process) {
        GetExitCodeProcess(run.process, exit_code);
        if (*exit_code == STILL_ACTIVE)
            fprintf(stderr, "driver: process %lu shows no window after %d ms and still runs\n",
                    (unsigned long)run.pid, timeout_ms);
        else
            fprintf(stderr, "driver: process %lu ended without a window, exit code %lu (0x%08lx)\n",
                    (unsigned long)run.pid, (unsigned long)*exit_code, (unsigned long)*exit_code);
    }
    return window;
}

// An unhandled exception ends a process with its code, an error status; the
// tools' own exit codes are button and line numbers.
bool ended_by_exception(DWORD exit_code) {
    return exit_code != STILL_ACTIVE && exit_code >= 0xC0000000u;
}

}  // namespace

HWND wait_for_window(ToolRun& run, int timeout_ms) {
    DWORD exit_code = STILL_ACTIVE;
    HWND window = wait_for_first_window(run, timeout_ms, &exit_code);
    // A tool that a batch file started, or one fed from the test's pipe, can
    // only be started again by what started it.
    if (window || !ended_by_exception(exit_code) || run.exe.empty() ||
        run.options.input == INPUT_PIPE)
        return window;
    fprintf(stderr, "driver: %s %s crashed before showing a window; starting it once more\n",
            run.exe.c_str(), run.args.c_str());
    kill_tool(run);
    run = start_tool(run.exe, run.args, run.options);
    return wait_for_first_window(run, timeout_ms, &exit_code);
}

std::string window_class(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string window_caption(HWND hwnd) {
    return window_text(hwnd);
}

std::wstring wide_of_utf8(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &wide[0], size);
    return wide;
}

std::string utf8_of_wide(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr,
                                   nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &bytes[0], size, nullptr,
                        nullptr);
    return bytes;
}

std::string window_text_utf8(HWND hwnd) {
    if (!hwnd)
        return "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, DRIVER_TEXT_TIMEOUT_MS,
                             &length)) {
        return "";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), (LPARAM)&text[0], SMTO_ABORTIFHUNG,
                             DRIVER_TEXT_TIMEOUT_MS, &copied)) {
        return "";
    }
    text.resize(copied < length ? copied : length);
    return utf8_of_wide(text);
}

std::string message_box_text(HWND box) {
    return window_text(GetDlgItem(box, 0xFFFF));
}

std::vector<HWND> children_by_class(HWND parent, const std::string& class_name) {
    ChildSearch search = {class_name, {}};
    EnumChildWindows(parent, collect_child, (LPARAM)&search);
    return search.found;
}

HWND child_by_class(HWND parent, const std::string& class_name, int index) {
    std::vector<HWND> found = children_by_class(parent, class_name);
    return index >= 0 && index < (int)found.size() ? found[index] : nullptr;
}

HWND child_by_text(HWND parent, const std::string& class_name, const std::string& text) {
    for (HWND child : children_by_class(parent, class_name)) {
        if (window_text(child) == text)
            return child;
    }
    return nullptr;
}

RECT window_rect(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

RECT client_rect_on_screen(HWND hwnd) {
    RECT rect = {};
    GetClientRect(hwnd, &rect);
    POINT top_left = {rect.left, rect.top};
    POINT bottom_right = {rect.right, rect.bottom};
    ClientToScreen(hwnd, &top_left);
    ClientToScreen(hwnd, &bottom_right);
    return RECT{top_left.x, top_left.y, bottom_right.x, bottom_right.y};
}

RECT rect_in_client(HWND window, HWND control) {
    RECT r = window_rect(control);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void request_close(HWND hwnd) {
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::wstring attached_console_text() {
    HANDLE screen =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) {
        if (screen != INVALID_HANDLE_VALUE)
            CloseHandle(screen);
        return std::wstring();
    }
    std::wstring shown(info.dwSize.X * info.dwSize.Y, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, &shown[0], (DWORD)shown.size(), COORD{0, 0}, &read);
    CloseHandle(screen);
    shown.resize(read);
    return shown;
}
