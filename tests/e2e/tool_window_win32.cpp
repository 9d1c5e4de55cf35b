#include "tests/e2e/tool_window_win32.h"

namespace {

// Classes of console windows: the classic console host, the pseudo console
// behind Windows Terminal, and the console window Wine's conhost creates.
const char* const CONSOLE_CLASSES[] = {"ConsoleWindowClass", "PseudoConsoleWindow",
                                       "WineConsoleClass"};

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_tool_window(HWND hwnd, LPARAM param) {
    WindowSearch* search = (WindowSearch*)param;
    DWORD owner_pid = 0;
    GetWindowThreadProcessId(hwnd, &owner_pid);
    if (owner_pid == search->pid && IsWindowVisible(hwnd) && !is_console_window(hwnd)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

bool is_console_window(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    for (const char* console_class : CONSOLE_CLASSES) {
        if (lstrcmpiA(name, console_class) == 0)
            return true;
    }
    return false;
}

std::vector<HWND> tool_windows(DWORD pid) {
    WindowSearch search = {pid, {}};
    EnumWindows(collect_tool_window, (LPARAM)&search);
    return search.found;
}

HWND wait_for_tool_window(HANDLE process, DWORD pid, DWORD timeout_ms, DWORD poll_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> windows = tool_windows(pid);
        if (!windows.empty())
            return windows.front();
        if (!process || WaitForSingleObject(process, poll_ms) == WAIT_OBJECT_0)
            return nullptr;
        if (GetTickCount() - start > timeout_ms)
            return nullptr;
    }
}

void send_character_key(char c) {
    SHORT key = VkKeyScanA(c);
    WORD vk = LOBYTE(key);
    bool shift = (HIBYTE(key) & 1) != 0;
    INPUT keys[4] = {};
    int n = 0;
    if (shift)
        keys[n++].ki.wVk = VK_SHIFT;
    keys[n++].ki.wVk = vk;
    keys[n].ki.wVk = vk;
    keys[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) {
        keys[n].ki.wVk = VK_SHIFT;
        keys[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    for (int i = 0; i < n; ++i)
        keys[i].type = INPUT_KEYBOARD;
    SendInput(n, keys, sizeof(INPUT));
}
