// End-to-end driver for the two tools; see driver.h. Documented Win32 only.
#include "tests/e2e/driver.h"

#include <fstream>
#include <iterator>
#include <algorithm>
#include <cstdlib>

namespace {

const int DRIVER_POLL_MS = 20;
const int DRIVER_TEXT_TIMEOUT_MS = 2000;
const DWORD DRIVER_PIPE_SIZE = 65536;

// Classes of console windows: the classic console host, the pseudo console
// behind Windows Terminal, and the console window Wine's conhost creates.
const char* const CONSOLE_CLASSES[] = {"ConsoleWindowClass", "PseudoConsoleWindow",
                                       "WineConsoleClass"};

std::string class_of(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

bool is_console_window(HWND hwnd) {
    std::string name = class_of(hwnd);
    for (const char* console_class : CONSOLE_CLASSES) {
        if (lstrcmpiA(name.c_str(), console_class) == 0)
            return true;
    }
    return false;
}

std::string driver_temp_root() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string root = std::string(temp) + "orlipan_e2e";
    CreateDirectoryA(root.c_str(), nullptr);
    // Process ids come round again, and a folder left by an earlier program
    // would hand this one files it never wrote: only a new folder is taken.
    std::string mine = root + "\\" + std::to_string(GetCurrentProcessId());
    for (int attempt = 1; !CreateDirectoryA(mine.c_str(), nullptr) && attempt < 1000; ++attempt)
        mine = root + "\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt);
    return mine;
}

HANDLE inheritable_file(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Moves whatever the pipe holds into run.piped without blocking.
void drain_pipe(ToolRun& run) {
    if (!run.pipe_read)
        return;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(run.pipe_read, nullptr, 0, nullptr, &available, nullptr))
            return;
        if (available == 0)
            return;
        char buffer[4096];
        DWORD got = 0;
        DWORD wanted = available < sizeof buffer ? available : (DWORD)sizeof buffer;
        if (!ReadFile(run.pipe_read, buffer, wanted, &got, nullptr) || got == 0)
            return;
        run.piped.append(buffer, got);
    }
}

std::wstring wide_of_ansi(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

bool process_ended(const ToolRun& run) {
    return !run.process || WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0;
}

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

struct ChildSearch {
    std::string class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_child(HWND hwnd, LPARAM param) {
    ChildSearch* search = (ChildSearch*)param;
    if (lstrcmpiA(class_of(hwnd).c_str(), search->class_name.c_str()) == 0) {
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

bool is_extended_key(WORD vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
            return true;
        default:
            return false;
    }
}

INPUT key_input(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0) | (is_extended_key(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

// Absolute mouse coordinates run 0..65535 over the whole virtual desktop.
INPUT mouse_input(int x, int y, DWORD flags) {
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = width > 1 ? MulDiv(x - left, 65535, width - 1) : 0;
    input.mi.dy = height > 1 ? MulDiv(y - top, 65535, height - 1) : 0;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

void send_inputs(std::vector<INPUT>& inputs) {
    if (!inputs.empty())
        SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

// The cursor may follow a move a little later than SendInput returns (Wine
// applies it through the X server); a button pressed before that would land
// where the cursor was.
void move_cursor_to(int x, int y) {
    std::vector<INPUT> move = {mouse_input(x, y, MOUSEEVENTF_MOVE)};
    send_inputs(move);
    wait_until(
        [&] {
            POINT at = {};
            GetCursorPos(&at);
            return abs(at.x - x) <= 1 && abs(at.y - y) <= 1;
        },
        1000);
}

}  // namespace

std::string test_dir() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    size_t slash = dir.find_last_of("\\/");
    return slash == std::string::npos ? "." : dir.substr(0, slash);
}

std::string scratch_dir() {
    static std::string root = driver_temp_root();
    static int counter = 0;
    std::string dir = root + "\\" + std::to_string(++counter);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ToolRun start_tool(const std::string& exe, const std::string& args, const LaunchOptions& options) {
    ToolRun run;
    std::string dir = options.working_dir.empty() ? scratch_dir() : options.working_dir;
    std::string command = "\"" + test_dir() + "\\" + exe + "\"";
    if (!args.empty())
        command += " " + args;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    DWORD creation = options.mode == LAUNCH_DETACHED ? DETACHED_PROCESS : CREATE_NEW_CONSOLE;
    if (options.mode != LAUNCH_DETACHED) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = options.console_show;
    }

    // Every launch but the plain console one redirects standard output, so
    // that a detached run can be checked for writing nothing. Standard input
    // and error go to the null device: they must be valid handles too, and
    // the tools read neither.
    HANDLE child_out = nullptr;
    HANDLE null_in = nullptr;
    HANDLE null_err = nullptr;
    if (options.mode != LAUNCH_NEW_CONSOLE) {
        if (options.mode == LAUNCH_REDIRECT_PIPE) {
            SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
            HANDLE read_end = nullptr;
            if (!CreatePipe(&read_end, &child_out, &inherit, DRIVER_PIPE_SIZE))
                return run;
            SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
            run.pipe_read = read_end;
        } else {
            run.output_file = dir + "\\stdout.bin";
            child_out = inheritable_file(run.output_file, GENERIC_WRITE, CREATE_ALWAYS);
        }
        if (options.input == INPUT_PIPE) {
            SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
            HANDLE write_end = nullptr;
            if (!CreatePipe(&null_in, &write_end, &inherit, DRIVER_PIPE_SIZE))
                return run;
            SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
            run.input_write = write_end;
        } else {
            null_in = inheritable_file(options.input == INPUT_FILE ? options.input_file : "NUL",
                                       GENERIC_READ, OPEN_EXISTING);
        }
        null_err = inheritable_file("NUL", GENERIC_WRITE, OPEN_EXISTING);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = null_in;
        startup.hStdOutput = child_out;
        startup.hStdError = null_err;
    }

    PROCESS_INFORMATION info = {};
    BOOL inherit = startup.dwFlags & STARTF_USESTDHANDLES ? TRUE : FALSE;
    BOOL started = FALSE;
    if (options.wide_arguments) {
        // The same start-up record: only the text fields differ between the two.
        STARTUPINFOW wide_startup = {};
        static_assert(sizeof wide_startup == sizeof startup, "start-up records");
        CopyMemory(&wide_startup, &startup, sizeof startup);
        // The paths are the driver's own, in the ANSI code page.
        std::wstring wide_command = L"\"" + wide_of_ansi(test_dir() + "\\" + exe) + L"\"";
        if (!args.empty())
            wide_command += L" " + wide_of_utf8(args);
        started = CreateProcessW(nullptr, &wide_command[0], nullptr, nullptr, inherit, creation,
                                 nullptr, wide_of_ansi(dir).c_str(), &wide_startup, &info);
    } else {
        std::string mutable_command = command;
        started = CreateProcessA(nullptr, &mutable_command[0], nullptr, nullptr, inherit, creation,
                                 nullptr, dir.c_str(), &startup, &info);
    }
    // The child holds its own copies; the pipe reports its end only once
    // the driver's write end is closed too.
    for (HANDLE h : {child_out, null_in, null_err}) {
        if (h && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    if (!started) {
        if (run.pipe_read)
            CloseHandle(run.pipe_read);
        run.pipe_read = nullptr;
        if (run.input_write)
            CloseHandle(run.input_write);
        run.input_write = nullptr;
        return run;
    }
    CloseHandle(info.hThread);
    run.process = info.hProcess;
    run.pid = info.dwProcessId;
    return run;
}

namespace {

struct Feed {
    HANDLE pipe;
    std::string bytes;
    int pieces;
    int pause_ms;
};

DWORD WINAPI feed_thread(void* parameter) {
    Feed* feed = (Feed*)parameter;
    size_t piece = feed->bytes.size() / (feed->pieces > 0 ? feed->pieces : 1) + 1;
    for (size_t at = 0; at < feed->bytes.size(); at += piece) {
        if (at > 0 && feed->pause_ms > 0)
            Sleep(feed->pause_ms);  // paces the writer; nothing waits on it
        DWORD size = (DWORD)std::min(piece, feed->bytes.size() - at);
        DWORD written = 0;
        if (!WriteFile(feed->pipe, feed->bytes.data() + at, size, &written, nullptr))
            break;
    }
    CloseHandle(feed->pipe);
    delete feed;
    return 0;
}

}  // namespace

HANDLE feed_input(ToolRun& run, const std::string& bytes, int pieces, int pause_ms) {
    if (!run.input_write)
        return nullptr;
    Feed* feed = new Feed{run.input_write, bytes, pieces, pause_ms};
    run.input_write = nullptr;
    HANDLE thread = CreateThread(nullptr, 0, feed_thread, feed, 0, nullptr);
    if (!thread) {
        CloseHandle(feed->pipe);
        delete feed;
    }
    return thread;
}

std::vector<HWND> tool_windows(DWORD pid) {
    WindowSearch search = {pid, {}};
    EnumWindows(collect_tool_window, (LPARAM)&search);
    return search.found;
}

HWND wait_for_window(const ToolRun& run, int timeout_ms) {
    HWND found = nullptr;
    wait_until(
        [&] {
            std::vector<HWND> windows = tool_windows(run.pid);
            if (!windows.empty())
                found = windows.front();
            return found != nullptr || process_ended(run);
        },
        timeout_ms);
    return found;
}

bool make_foreground(HWND hwnd, int timeout_ms) {
    if (!hwnd || !IsWindow(hwnd))
        return false;
    if (GetForegroundWindow() == hwnd)
        return true;
    SetForegroundWindow(hwnd);
    if (wait_until([&] { return GetForegroundWindow() == hwnd; }, timeout_ms / 2))
        return true;
    // The system may refuse a background process the foreground; a real
    // click on the caption is input the user could have given.
    RECT outer = window_rect(hwnd);
    int caption_y = outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    click_at((outer.left + outer.right) / 2, caption_y);
    return wait_until([&] { return GetForegroundWindow() == hwnd; }, timeout_ms / 2);
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

void press_key(WORD vk, bool shift, bool control, bool alt) {
    std::vector<WORD> modifiers;
    if (shift)
        modifiers.push_back(VK_SHIFT);
    if (control)
        modifiers.push_back(VK_CONTROL);
    if (alt)
        modifiers.push_back(VK_MENU);
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(key_input(m, false));
    inputs.push_back(key_input(vk, false));
    inputs.push_back(key_input(vk, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) {
        inputs.push_back(key_input(*m, true));
    }
    send_inputs(inputs);
}

void click_at(int x, int y, bool right) {
    move_cursor_to(x, y);
    DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    std::vector<INPUT> inputs = {mouse_input(x, y, MOUSEEVENTF_MOVE | down),
                                 mouse_input(x, y, MOUSEEVENTF_MOVE | up)};
    send_inputs(inputs);
}

void click_holding(int x, int y, WORD key) {
    move_cursor_to(x, y);
    std::vector<INPUT> inputs = {
        key_input(key, false), mouse_input(x, y, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN),
        mouse_input(x, y, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP), key_input(key, true)};
    send_inputs(inputs);
}

void double_click_at(int x, int y) {
    move_cursor_to(x, y);
    // One batch, so both clicks fall within the double-click time.
    DWORD at = MOUSEEVENTF_MOVE;
    std::vector<INPUT> inputs = {
        mouse_input(x, y, at | MOUSEEVENTF_LEFTDOWN), mouse_input(x, y, at | MOUSEEVENTF_LEFTUP),
        mouse_input(x, y, at | MOUSEEVENTF_LEFTDOWN), mouse_input(x, y, at | MOUSEEVENTF_LEFTUP)};
    send_inputs(inputs);
}

void click_window_center(HWND hwnd) {
    RECT rect = window_rect(hwnd);
    click_at((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool wait_exit(ToolRun& run, int timeout_ms, DWORD* exit_code) {
    if (!run.process)
        return false;
    DWORD start = GetTickCount();
    for (;;) {
        // A tool that writes more than the pipe holds would block until the
        // driver reads, so the pipe is drained while waiting.
        drain_pipe(run);
        if (WaitForSingleObject(run.process, DRIVER_POLL_MS) == WAIT_OBJECT_0)
            break;
        if (GetTickCount() - start > (DWORD)timeout_ms) {
            kill_tool(run);
            return false;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(run.process, &code);
    if (exit_code)
        *exit_code = code;
    return true;
}

std::string output_bytes(ToolRun& run) {
    // Once the tool has ended, all it wrote is in the pipe: draining without
    // blocking is enough, even if another process still holds a write end.
    drain_pipe(run);
    return run.output_file.empty() ? run.piped : read_file(run.output_file);
}

void kill_tool(ToolRun& run) {
    if (run.process) {
        if (!process_ended(run)) {
            TerminateProcess(run.process, 1);
            WaitForSingleObject(run.process, 5000);
        }
        CloseHandle(run.process);
        run.process = nullptr;
    }
    if (run.pipe_read) {
        drain_pipe(run);
        CloseHandle(run.pipe_read);
        run.pipe_read = nullptr;
    }
    if (run.input_write) {
        CloseHandle(run.input_write);
        run.input_write = nullptr;
    }
}

void request_close(HWND hwnd) {
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}
