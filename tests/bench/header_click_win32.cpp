// Sorting by a click on a column's header, timed from outside; see
// header_click_win32.h.
#include "tests/bench/header_click_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "tests/e2e/driver.h"

namespace {

const int CLICK_TEXT_CAPACITY = 1024;

// Messages that hand back data through a pointer need the pointer in the
// tool's own address space: the structure lives there for the whole run.
struct RemoteBlock {
    HANDLE process = nullptr;
    char* address = nullptr;
};

RemoteBlock remote_block(HANDLE process, size_t size) {
    RemoteBlock block;
    block.process = process;
    block.address =
        (char*)VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return block;
}

void free_block(RemoteBlock& block) {
    if (block.address)
        VirtualFreeEx(block.process, block.address, 0, MEM_RELEASE);
    block.address = nullptr;
}

// The header item's rectangle on the screen; false when the header has no
// such item.
bool header_item_on_screen(const RemoteBlock& block, HWND header, int column, DWORD timeout_ms,
                           RECT* rect) {
    DWORD_PTR found = 0;
    if (!SendMessageTimeoutA(header, HDM_GETITEMRECT, column, (LPARAM)block.address, SMTO_NORMAL,
                             timeout_ms, &found) ||
        !found) {
        return false;
    }
    ReadProcessMemory(block.process, block.address, rect, sizeof *rect, nullptr);
    MapWindowPoints(header, nullptr, (POINT*)rect, 2);
    return rect->right > rect->left;
}

// Column 0 of `row` as the tool gives it to its list view. The tool answers
// a sent message only between two events of its loop, so this waits for a
// sort that is still running.
std::string first_cell(const RemoteBlock& block, HWND list, int row, DWORD timeout_ms) {
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = block.address + sizeof(LVITEMA);
    item.cchTextMax = CLICK_TEXT_CAPACITY;
    WriteProcessMemory(block.process, block.address, &item, sizeof item, nullptr);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, (LPARAM)block.address, SMTO_NORMAL,
                             timeout_ms, &length)) {
        return std::string();
    }
    std::string text(length < (DWORD_PTR)CLICK_TEXT_CAPACITY ? length : 0, '\0');
    if (!text.empty()) {
        ReadProcessMemory(block.process, block.address + sizeof(LVITEMA), &text[0], text.size(),
                          nullptr);
    }
    return text;
}

// A second click on the same place within the double-click time reaches the
// header as a double click, a message of its own; a user reversing the order
// clicks again later than that, and each click is timed as a single one.
void wait_out_double_click(DWORD last_click) {
    DWORD wait = GetDoubleClickTime() + 50;
    while (GetTickCount() - last_click <= wait)
        Sleep(10);
}

}  // namespace

double now_ms() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

void click_header_and_time(HANDLE process, HWND window, int column,
                           const std::vector<std::string>& expected_first, DWORD timeout_ms) {
    HWND list = FindWindowExA(window, nullptr, "SysListView32", nullptr);
    HWND header = list ? (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0) : nullptr;
    RemoteBlock block = remote_block(process, sizeof(LVITEMA) + CLICK_TEXT_CAPACITY);
    RECT item = {};
    if (!header || !block.address || !IsWindowVisible(header) ||
        !header_item_on_screen(block, header, column, timeout_ms, &item)) {
        printf("sort_ms=no_header\n");
        free_block(block);
        return;
    }
    POINT middle = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    SetForegroundWindow(window);
    DWORD last_click = 0;
    for (size_t click = 0; click < expected_first.size(); ++click) {
        if (click > 0)
            wait_out_double_click(last_click);
        // The move is not part of the time measured: the click finds the
        // cursor in place.
        move_cursor_to(middle.x, middle.y);
        last_click = GetTickCount();
        double start = now_ms();
        click_at(middle.x, middle.y);
        std::string first;
        do {
            first = first_cell(block, list, 0, timeout_ms);
            if (first != expected_first[click])
                Sleep(1);
        } while (first != expected_first[click] && now_ms() - start < timeout_ms);
        // The row may show the new order before the tool is through with the
        // click (the arrow in the header); WM_NULL comes back only after it.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored);
        UpdateWindow(header);
        UpdateWindow(list);
        double took = now_ms() - start;
        if (first == expected_first[click])
            printf("sort_ms=%.1f click=%d first=%s\n", took, (int)click + 1, first.c_str());
        else
            printf("sort_ms=none click=%d first=%s\n", (int)click + 1, first.c_str());
        fflush(stdout);
    }
    free_block(block);
}
