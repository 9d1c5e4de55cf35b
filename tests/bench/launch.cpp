// Starts a program the way a batch file started from the desktop does (a new
// console of its own) and reports how it went. Used by the demo and the
// benchmark:
//
//   launch [--out FILE] [--pipe-in FILE [--pipe-hold]] [--ready FILE --go FILE]
//          [--measure [--escape | --enter] [--complete-title TEXT] [--type TEXT]
//          [--click-header COLUMN --expect TEXT...] [--close-wait MS]] [--timeout MS]
//          COMMAND LINE
//
// Everything after the options is passed to CreateProcessA unchanged.
//   --out FILE    standard output of the program goes to FILE
//   --pipe-in FILE  standard input is a pipe into which FILE is written
//   --pipe-hold   the pipe stays open after FILE until the program ends; with
//                 --measure, a program that shows no window within --timeout
//                 is ended at once (its input would never end)
//   --ready/--go  once the program shows a window, FILE (ready) is created;
//                 when FILE (go) appears, Escape is pressed in that window
//   --measure     time from process start to its first visible window and the
//                 peak working set; then the window is asked to close, and
//                 the program is ended if it has not within --close-wait MS;
//                 with --escape the window is closed by pressing Escape in it,
//                 as a user does, instead of by a close request (--enter:
//                 by pressing Enter); with --complete-title the time until
//                 the window's title reads TEXT (the list read whole) is
//                 reported as complete_ms, from process start, with the
//                 lines the list then holds (complete_items), and the peak
//                 working set is read after it; with --type
//                 the characters of TEXT are first typed one by one into the
//                 window's edit box (a pick window with /filter), each timed
//                 from the key to the list drawn anew, and the peak working
//                 set is read again after the typing; with --click-header
//                 the header of COLUMN (0-based) of the list is then clicked
//                 once for each --expect, each click timed until the first
//                 row shows TEXT in its first column (header_click_win32.h),
//                 and the peak working set is read again after the clicks
// The last line printed is "exit_code=N" (or "exit_code=timeout").
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/bench/header_click_win32.h"
#include "tests/bench/start_child_win32.h"
#include "tests/e2e/tool_window_win32.h"

namespace {

struct LaunchArgs {
    std::string out_file;
    std::string pipe_in_file;
    bool pipe_hold = false;
    bool escape = false;
    bool enter = false;
    std::string complete_title;
    std::string typed;
    int header_column = -1;
    std::vector<std::string> expected_first;
    std::string ready_file;
    std::string go_file;
    bool measure = false;
    DWORD timeout_ms = 600000;
    DWORD close_wait_ms = 20000;
    std::string command;
};

// Cuts one token off the raw command line: quoted, or up to the next space.
std::string next_token(const char*& p) {
    while (*p == ' ')
        ++p;
    std::string token;
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p)
            token += *p;
        if (*p == '"')
            ++p;
    } else {
        for (; *p && *p != ' '; ++p)
            token += *p;
    }
    return token;
}

LaunchArgs parse_launch_args(const char* line) {
    LaunchArgs args;
    next_token(line);  // the launcher itself
    for (;;) {
        while (*line == ' ')
            ++line;
        if (line[0] != '-' || line[1] != '-')
            break;
        std::string option = next_token(line);
        if (option == "--out")
            args.out_file = next_token(line);
        if (option == "--ready")
            args.ready_file = next_token(line);
        if (option == "--go")
            args.go_file = next_token(line);
        if (option == "--pipe-in")
            args.pipe_in_file = next_token(line);
        if (option == "--measure")
            args.measure = true;
        if (option == "--pipe-hold")
            args.pipe_hold = true;
        if (option == "--escape")
            args.escape = true;
        if (option == "--enter")
            args.enter = true;
        if (option == "--complete-title")
            args.complete_title = next_token(line);
        if (option == "--type")
            args.typed = next_token(line);
        if (option == "--click-header")
            args.header_column = atoi(next_token(line).c_str());
        if (option == "--expect")
            args.expected_first.push_back(next_token(line));
        if (option == "--timeout")
            args.timeout_ms = strtoul(next_token(line).c_str(), nullptr, 10);
        if (option == "--close-wait") {
            args.close_wait_ms = strtoul(next_token(line).c_str(), nullptr, 10);
        }
    }
    args.command = line;
    return args;
}

// Polled every millisecond: the time to the first window is what is measured.
HWND wait_window(const PROCESS_INFORMATION& info, DWORD timeout_ms) {
    return wait_for_tool_window(info.hProcess, info.dwProcessId, timeout_ms, 1);
}

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void bring_to_front(HWND window) {
    SetForegroundWindow(window);
    for (int i = 0; i < 100 && GetForegroundWindow() != window; ++i)
        Sleep(20);
}

void send_key(WORD key) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = key;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// The box's text as its own process holds it; WM_GETTEXT is carried across
// processes by the system.
std::string box_text(HWND box) {
    char text[256] = "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(box, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_NORMAL, 60000, &ignored);
    return text;
}

// Typing into the filter box, timed from outside for each key. The tool
// answers a sent message only between two events of its loop, and it narrows
// the list in the event that follows the key's character, before it reads
// another message; so the first answer that shows the key in the box comes
// after the list was narrowed. UpdateWindow then has the list draw what it
// must before it returns.
void type_and_time(HWND window, const std::string& text) {
    HWND box = FindWindowExA(window, nullptr, "Edit", nullptr);
    HWND list = FindWindowExA(window, nullptr, "SysListView32", nullptr);
    if (!box || !list) {
        printf("key_ms=no_box\n");
        return;
    }
    bring_to_front(window);
    std::string typed;
    for (char c : text) {
        typed += c;
        double start = now_ms();
        send_character_key(c);
        while (box_text(box) != typed && now_ms() - start < 60000)
            Sleep(1);
        UpdateWindow(list);
        double took = now_ms() - start;
        printf("key_ms=%.1f shown=%ld\n", took, (long)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        fflush(stdout);
    }
}

void press_escape_in(HWND window) {
    bring_to_front(window);
    send_key(VK_ESCAPE);
}

SIZE_T peak_working_set(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return 0;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    SIZE_T peak =
        GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
    CloseHandle(process);
    return peak;
}

// Polled every millisecond from outside: GetWindowTextW reads the caption
// of another process's window without waiting for that process, so a tool
// busy reading is not asked to answer.
void wait_title(const PROCESS_INFORMATION& info, HWND window, double started_ms,
                const LaunchArgs& args) {
    std::wstring wanted(args.complete_title.size() + 1, L'\0');
    wanted.resize(MultiByteToWideChar(CP_ACP, 0, args.complete_title.c_str(), -1, &wanted[0],
                                      (int)wanted.size()));
    if (!wanted.empty())
        wanted.pop_back();  // the terminating zero
    DWORD start = GetTickCount();
    wchar_t title[512] = L"";
    while (GetTickCount() - start < args.timeout_ms) {
        GetWindowTextW(window, title, 512);
        if (wanted == title) {
            printf("complete_ms=%.1f\n", now_ms() - started_ms);
            // What the list holds then: a title set back too early shows here.
            HWND list = FindWindowExA(window, nullptr, "SysListView32", nullptr);
            DWORD_PTR count = 0;
            if (list &&
                SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &count))
                printf("complete_items=%lu\n", (unsigned long)count);
            return;
        }
        if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    printf("complete_ms=none\n");
}

void measure(const PROCESS_INFORMATION& info, double started_ms, const LaunchArgs& args) {
    HWND window = wait_window(info, args.timeout_ms);
    double shown_ms = now_ms();
    if (!window) {
        printf("first_window_ms=none\n");
        if (args.pipe_hold)
            TerminateProcess(info.hProcess, 1);
        return;
    }
    if (!args.complete_title.empty()) {
        printf("first_window_ms=%.1f\n", shown_ms - started_ms);
        fflush(stdout);
        wait_title(info, window, started_ms, args);
    }
    // The peak is read while the program still runs, after it settled.
    WaitForInputIdle(info.hProcess, 10000);
    SIZE_T peak = peak_working_set(info.dwProcessId);
    char window_class[256] = "";
    GetClassNameA(window, window_class, sizeof window_class);
    printf("window_class=%s\n", window_class);
    if (args.complete_title.empty())
        printf("first_window_ms=%.1f\n", shown_ms - started_ms);
    printf("peak_working_set_kb=%lu\n", (unsigned long)(peak / 1024));
    if (!args.typed.empty()) {
        type_and_time(window, args.typed);
        printf("typed_peak_working_set_kb=%lu\n",
               (unsigned long)(peak_working_set(info.dwProcessId) / 1024));
    }
    if (args.header_column >= 0) {
        click_header_and_time(info.hProcess, window, args.header_column, args.expected_first,
                              args.timeout_ms);
        printf("sorted_peak_working_set_kb=%lu\n",
               (unsigned long)(peak_working_set(info.dwProcessId) / 1024));
    }
    // A program may still be discarding start-up events when the first request
    // arrives (WaitForInputIdle does not wait for console programs), so the
    // request is repeated until the program ends.
    bool by_key = args.escape || args.enter;
    if (by_key)
        bring_to_front(window);
    DWORD start = GetTickCount();
    double closing_ms = now_ms();
    for (int attempt = 1; GetTickCount() - start < args.close_wait_ms; ++attempt) {
        if (by_key)
            send_key(args.enter ? VK_RETURN : VK_ESCAPE);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info.hProcess, 1000) == WAIT_OBJECT_0) {
            printf("close_ms=%.1f\nclose_requests=%d\n", now_ms() - closing_ms, attempt);
            return;
        }
    }
    // Tearing down a huge list can take minutes under Wine; that is not what
    // is measured here, so the program is ended instead.
    printf("close_ms=over_%lu\n", (unsigned long)args.close_wait_ms);
    TerminateProcess(info.hProcess, 1);
}

void hand_over(const LaunchArgs& args, const PROCESS_INFORMATION& info) {
    HWND window = wait_window(info, args.timeout_ms);
    if (!window)
        return;
    HANDLE ready = CreateFileA(args.ready_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE)
        CloseHandle(ready);
    DWORD start = GetTickCount();
    while (!file_exists(args.go_file) && GetTickCount() - start < args.timeout_ms) {
        if (WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0)
            return;
    }
    press_escape_in(window);
}

}  // namespace

int main() {
    LaunchArgs args = parse_launch_args(GetCommandLineA());
    if (args.command.empty()) {
        fprintf(
            stderr,
            "usage: launch [--out FILE] [--pipe-in FILE [--pipe-hold]] [--ready FILE --go FILE] "
            "[--measure [--escape | --enter] [--complete-title TEXT] [--type TEXT] "
            "[--click-header COLUMN --expect TEXT...] [--close-wait MS]] [--timeout MS] "
            "COMMAND LINE\n");
        return 2;
    }
    timeBeginPeriod(1);
    double started_ms = now_ms();
    PROCESS_INFORMATION info = {};
    if (!start_child({args.command, args.out_file, args.pipe_in_file, args.pipe_hold}, &info)) {
        fprintf(stderr, "cannot start: %s (error %lu)\n", args.command.c_str(), GetLastError());
        return 2;
    }
    if (args.measure) {
        measure(info, started_ms, args);
    } else if (!args.ready_file.empty() && !args.go_file.empty()) {
        hand_over(args, info);
    }
    if (WaitForSingleObject(info.hProcess, args.timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        printf("exit_code=timeout\n");
        return 1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    printf("exit_code=%lu\n", code);
    fflush(stdout);
    return 0;
}
