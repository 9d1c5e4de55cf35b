// Driving the pick window from outside; see pick_driver.h.
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// List-view messages that return data through a pointer need that pointer in
// the tool's own address space: the structure is placed there with
// VirtualAllocEx and read back with ReadProcessMemory.

struct RemoteBlock {
    HANDLE process = nullptr;
    char* address = nullptr;
    RemoteBlock(HANDLE p, size_t size) : process(p) {
        address = (char*)VirtualAllocEx(p, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
};

}  // namespace

RECT remote_item_rect(HANDLE process, HWND list, int index) {
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    RemoteBlock block(process, sizeof rect);
    WriteProcessMemory(process, block.address, &rect, sizeof rect, nullptr);
    if (!SendMessageA(list, LVM_GETITEMRECT, index, (LPARAM)block.address))
        return RECT{};
    ReadProcessMemory(process, block.address, &rect, sizeof rect, nullptr);
    return rect;
}

std::string remote_item_text(HANDLE process, HWND list, int index, int column) {
    const int capacity = 1024;
    RemoteBlock block(process, sizeof(LVITEMA) + capacity);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = block.address + sizeof(LVITEMA);
    item.cchTextMax = capacity;
    WriteProcessMemory(process, block.address, &item, sizeof item, nullptr);
    int length = (int)SendMessageA(list, LVM_GETITEMTEXTA, index, (LPARAM)block.address);
    std::string text(length > 0 ? length : 0, '\0');
    if (length > 0) {
        ReadProcessMemory(process, block.address + sizeof(LVITEMA), &text[0], length, nullptr);
    }
    return text;
}

std::string remote_item_text_utf8(HANDLE process, HWND list, int index, int column) {
    const int capacity = 1024;
    RemoteBlock block(process, sizeof(LVITEMW) + capacity * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = (wchar_t*)(block.address + sizeof(LVITEMW));
    item.cchTextMax = capacity;
    WriteProcessMemory(process, block.address, &item, sizeof item, nullptr);
    int length = (int)SendMessageW(list, LVM_GETITEMTEXTW, index, (LPARAM)block.address);
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0) {
        ReadProcessMemory(process, block.address + sizeof(LVITEMW), &text[0],
                          length * sizeof(wchar_t), nullptr);
    }
    return utf8_of_wide(text);
}

std::string remote_column_title(HANDLE process, HWND list, int column) {
    const int capacity = 1024;
    RemoteBlock block(process, sizeof(LVCOLUMNA) + capacity);
    LVCOLUMNA native = {};
    native.mask = LVCF_TEXT;
    native.pszText = block.address + sizeof(LVCOLUMNA);
    native.cchTextMax = capacity;
    WriteProcessMemory(process, block.address, &native, sizeof native, nullptr);
    if (!SendMessageA(list, LVM_GETCOLUMNA, column, (LPARAM)block.address))
        return "(no column)";
    std::string text(capacity, '\0');
    ReadProcessMemory(process, block.address + sizeof(LVCOLUMNA), &text[0], capacity, nullptr);
    return text.c_str();
}

int column_count(HWND list) {
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    return header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
}

POINT title_point(HANDLE process, HWND list, int column) {
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    RECT rect = {};
    RemoteBlock block(process, sizeof rect);
    if (header && SendMessageA(header, HDM_GETITEMRECT, column, (LPARAM)block.address))
        ReadProcessMemory(process, block.address, &rect, sizeof rect, nullptr);
    POINT p = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(header, &p);
    return p;
}

int selected_line(HWND list) {
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

bool starts_on(HWND list, int line) {
    return selected_line(list) == line;
}

std::vector<int> selected_lines(HWND list) {
    std::vector<int> lines;
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int line = selected_line(list); line != -1 && (int)lines.size() < count;
         line = (int)SendMessageA(list, LVM_GETNEXTITEM, line, LVNI_SELECTED)) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> shown_lines(Pick& pick) {
    std::vector<std::string> lines;
    int count = (int)SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        lines.push_back(remote_item_text(pick.run.process, pick.list, i));
    return lines;
}

std::shared_ptr<void> end_when_dropped(HANDLE process) {
    HANDLE own = nullptr;
    if (!process || !DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &own, 0,
                                     FALSE, DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return std::shared_ptr<void>(own, [](void* h) {
        if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, 5000);
        }
        CloseHandle(h);
    });
}

std::string lines_text(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

Pick start_pick(const std::string& list_bytes, const std::string& args, LaunchMode mode,
                int timeout_ms) {
    Pick pick;
    pick.dir = scratch_dir();
    write_file(pick.dir + "\\list.txt", list_bytes);
    LaunchOptions options;
    options.mode = mode;
    options.working_dir = pick.dir;
    pick.run = start_tool("orlipan.exe", "list.txt " + args, options);
    pick.guard = end_when_dropped(pick.run.process);
    pick.window = wait_for_window(pick.run, timeout_ms);
    if (pick.window)
        pick.list = child_by_class(pick.window, "SysListView32");
    return pick;
}

Ending finish(Pick& pick, int timeout_ms) {
    Ending ending;
    ending.ended = wait_exit(pick.run, timeout_ms, &ending.exit_code);
    ending.output = output_bytes(pick.run);
    kill_tool(pick.run);
    return ending;
}

void press_in(Pick& pick, WORD vk, bool alt) {
    ASSERT_TRUE(make_foreground(pick.window));
    press_key(vk, false, false, alt);
}

POINT line_point(Pick& pick, int index) {
    RECT row = remote_item_rect(pick.run.process, pick.list, index);
    POINT p = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(pick.list, &p);
    return p;
}

void click_line(Pick& pick, int index, bool twice) {
    ASSERT_TRUE(make_foreground(pick.window));
    POINT p = line_point(pick, index);
    if (twice) {
        double_click_at(p.x, p.y);
    } else {
        click_at(p.x, p.y);
    }
}

void click_title(Pick& pick, int column) {
    ASSERT_TRUE(make_foreground(pick.window));
    POINT p = title_point(pick.run.process, pick.list, column);
    click_at(p.x, p.y);
}

std::vector<std::string> shown_column(Pick& pick, int column) {
    std::vector<std::string> cells;
    int count = (int)SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        cells.push_back(remote_item_text(pick.run.process, pick.list, i, column));
    return cells;
}

std::string pick_report(const std::string& args) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", "one\r\n");
    LaunchOptions options;
    options.working_dir = dir;
    ToolRun run = start_tool("orlipan.exe", "list.txt " + args, options);
    HWND box = wait_for_window(run);
    std::string text = box ? message_box_text(box) : "no report";
    if (box && make_foreground(box))
        press_key(VK_RETURN);
    DWORD code = 12345;
    if (!wait_exit(run, EXIT_TIMEOUT_MS, &code) || code != 0)
        text += " (no clean end)";
    kill_tool(run);
    return text;
}

bool still_open(Pick& pick) {
    return WaitForSingleObject(pick.run.process, 0) == WAIT_TIMEOUT;
}

Pick start_pick_with(const std::string& args, const LaunchOptions& options) {
    Pick pick;
    pick.dir = options.working_dir;
    pick.run = start_tool("orlipan.exe", args, options);
    pick.guard = end_when_dropped(pick.run.process);
    return pick;
}

bool find_pick_window(Pick& pick, int timeout_ms) {
    pick.window = wait_for_window(pick.run, timeout_ms);
    if (pick.window)
        pick.list = child_by_class(pick.window, "SysListView32");
    return pick.window != nullptr;
}

void expect_enter_ignored_then_escape_cancels(Pick& pick) {
    press_in(pick, VK_RETURN);
    // Bounded wait for a reaction that must not come: the window stays.
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));
    press_in(pick, VK_ESCAPE);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 0u);
    EXPECT_EQ(end.output, "");
}

RECT work_area() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// Runs `script` (copied next to this program) with cmd.exe in a console of
// its own, with `dir` as its argument.
HANDLE start_batch(const std::string& script, const std::string& dir) {
    std::string command = "cmd.exe /c \"\"" + test_dir() + "\\" + script + "\" \"" + dir + "\"\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        dir.c_str(), &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

// The tool's window, found by its caption, with the tool's process opened
// so that its list can be read.
Pick pick_started_by_batch(const char* caption) {
    Pick pick;
    wait_until(
        [&] {
            pick.window = FindWindowA(nullptr, caption);
            return pick.window && IsWindowVisible(pick.window);
        },
        10000);
    if (!pick.window)
        return pick;
    GetWindowThreadProcessId(pick.window, &pick.run.pid);
    pick.run.process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                       SYNCHRONIZE | PROCESS_QUERY_INFORMATION,
                                   FALSE, pick.run.pid);
    pick.list = child_by_class(pick.window, "SysListView32");
    return pick;
}

std::string batch_result(HANDLE batch, const std::string& dir) {
    bool ended = WaitForSingleObject(batch, EXIT_TIMEOUT_MS) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(batch, 1);
    CloseHandle(batch);
    return ended ? read_file(dir + "\\result.txt") : "batch file did not end";
}

// A character typed as an input method delivers it, whatever the keyboard.
void type_character(Pick& pick, wchar_t character) {
    ASSERT_TRUE(make_foreground(pick.window));
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = character;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}
