// Starts one tool the way a batch file does (in a console of its own), tells
// the screenshot script where the tool's window is once it is painted, and
// closes the tool when the script asks for it.
//
//   shot_launch.exe JOB_FILE [TEXT]
//
// JOB_FILE holds the tool's command line exactly as a batch file writes it
// (read from a file so that no shell re-quotes it), in UTF-8; it is passed
// on wide, so that titles and templates in any script arrive as written. TEXT,
// if given, is typed into the window's edit box before the picture (a pick
// window's filter box). When JOB_FILE.stdin exists, the tool's standard input
// is a pipe holding that file's bytes, kept open until the tool has ended, as
// from a writer that has more to say later (a list still being read). The
// launcher prints
//   WINDOW left top right bottom
// (outer rectangle, screen coordinates) when the window waits for input, then
// waits for JOB_FILE.stop to appear, asks the window to close and prints
//   EXIT code
// Exit code of the launcher: 0 when all of this happened, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/tool_window_win32.h"

namespace {

const DWORD SHOT_WINDOW_TIMEOUT_MS = 20000;
const DWORD SHOT_STOP_TIMEOUT_MS = 30000;
const DWORD SHOT_EXIT_TIMEOUT_MS = 10000;
const DWORD SHOT_POLL_MS = 20;

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string read_command(const std::string& path) {
    std::string text = read_bytes(path);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The tool's end of a held pipe and NUL for its output; the launcher keeps
// the writing end, so the tool's input never ends while the picture is taken.
struct HeldInput {
    HANDLE tool_side[3] = {};
    HANDLE writer = nullptr;
};

HANDLE inheritable_nul() {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// All the bytes are in the pipe before the tool starts: its first read takes
// them whole, and the picture always shows the same count of lines read.
bool hold_input(const std::string& bytes, HeldInput* input) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    DWORD room = bytes.size() < 65536 ? 65536 : (DWORD)bytes.size();
    if (!CreatePipe(&input->tool_side[0], &input->writer, &inherit, room))
        return false;
    SetHandleInformation(input->writer, HANDLE_FLAG_INHERIT, 0);
    DWORD written = 0;
    if (!WriteFile(input->writer, bytes.data(), (DWORD)bytes.size(), &written, nullptr) ||
        written != bytes.size())
        return false;
    input->tool_side[1] = inheritable_nul();
    input->tool_side[2] = inheritable_nul();
    return input->tool_side[1] != INVALID_HANDLE_VALUE &&
           input->tool_side[2] != INVALID_HANDLE_VALUE;
}

void close_handles(HANDLE* handles, int count) {
    for (int i = 0; i < count; ++i) {
        if (handles[i] && handles[i] != INVALID_HANDLE_VALUE)
            CloseHandle(handles[i]);
        handles[i] = nullptr;
    }
}

std::wstring wide_of_utf8(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

// A window started behind the launcher's back may not get the foreground;
// the pictures show the window as the user sees it when it is active.
void bring_to_front(HWND window) {
    SetForegroundWindow(window);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != window && GetTickCount() - start < SHOT_WINDOW_TIMEOUT_MS / 4) {
        Sleep(SHOT_POLL_MS);
    }
}

// Once the tool's thread is idle its pending paint messages have been handled;
// the round trip of WM_NULL makes sure it got past its start-up as well.
void wait_until_painted(HANDLE process, HWND window) {
    WaitForInputIdle(process, SHOT_WINDOW_TIMEOUT_MS);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, SHOT_WINDOW_TIMEOUT_MS, &ignored);
    UpdateWindow(window);
}

// Types `text` key by key and waits until the box holds it and the window
// has drawn what it changed.
void type_into(HANDLE process, HWND window, const std::string& text) {
    HWND box = FindWindowExA(window, nullptr, "Edit", nullptr);
    if (!box)
        return;
    for (char c : text)
        send_character_key(c);
    DWORD start = GetTickCount();
    char now[256] = "";
    while (GetTickCount() - start < SHOT_WINDOW_TIMEOUT_MS) {
        DWORD_PTR ignored = 0;
        // WM_GETTEXT is carried across processes; GetWindowText is not.
        SendMessageTimeoutA(box, WM_GETTEXT, sizeof now, (LPARAM)now, SMTO_ABORTIFHUNG,
                            SHOT_WINDOW_TIMEOUT_MS, &ignored);
        if (text == now)
            break;
        Sleep(SHOT_POLL_MS);
    }
    wait_until_painted(process, window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool wait_for_stop(const std::string& stop_file, HANDLE process) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < SHOT_STOP_TIMEOUT_MS) {
        if (file_exists(stop_file))
            return true;
        if (WaitForSingleObject(process, SHOT_POLL_MS) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: shot_launch JOB_FILE [TEXT]\n");
        return 1;
    }
    // The rectangle is reported in the display's own pixels, also where the
    // display has a density of its own.
    SetProcessDPIAware();
    std::string job = argv[1];
    std::string command = read_command(job);
    if (command.empty()) {
        std::fprintf(stderr, "empty job file %s\n", job.c_str());
        return 1;
    }

    // The console starts minimised so it never covers the tool's window.
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    HeldInput input;
    bool held = file_exists(job + ".stdin");
    if (held) {
        if (!hold_input(read_bytes(job + ".stdin"), &input)) {
            std::fprintf(stderr, "cannot fill the pipe from %s.stdin\n", job.c_str());
            return 1;
        }
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = input.tool_side[0];
        startup.hStdOutput = input.tool_side[1];
        startup.hStdError = input.tool_side[2];
    }
    PROCESS_INFORMATION info = {};
    std::wstring wide_command = wide_of_utf8(command);
    BOOL started = CreateProcessW(nullptr, &wide_command[0], nullptr, nullptr, held ? TRUE : FALSE,
                                  CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &info);
    close_handles(input.tool_side, 3);
    if (!started) {
        std::fprintf(stderr, "cannot start: %s\n", command.c_str());
        return 1;
    }
    CloseHandle(info.hThread);

    int result = 1;
    HWND window =
        wait_for_tool_window(info.hProcess, info.dwProcessId, SHOT_WINDOW_TIMEOUT_MS, SHOT_POLL_MS);
    if (window) {
        wait_until_painted(info.hProcess, window);
        bring_to_front(window);
        wait_until_painted(info.hProcess, window);
        if (argc == 3)
            type_into(info.hProcess, window, argv[2]);
        RECT r = {};
        GetWindowRect(window, &r);
        std::printf("WINDOW %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        std::fflush(stdout);
        if (wait_for_stop(job + ".stop", info.hProcess)) {
            PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        result = 0;
    } else {
        std::fprintf(stderr, "no window appeared for: %s\n", command.c_str());
    }
    if (WaitForSingleObject(info.hProcess, SHOT_EXIT_TIMEOUT_MS) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, SHOT_EXIT_TIMEOUT_MS);
        std::fprintf(stderr, "the tool did not close and was ended\n");
        result = 1;
    }
    close_handles(&input.writer, 1);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    std::printf("EXIT %lu\n", code);
    std::fflush(stdout);
    CloseHandle(info.hProcess);
    return result;
}
