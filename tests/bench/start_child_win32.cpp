// Starting the measured program with its standard handles; see
// start_child_win32.h.
#include "tests/bench/start_child_win32.h"

namespace {

HANDLE inheritable_file(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct PipeFeed {
    std::string file;
    HANDLE pipe;
    HANDLE hold_until;  // the program's process when the pipe is held open, else null
};

// Copies the file into the pipe as a program writing its output would. A
// write fails once the reader has closed its end: the writer stops there.
DWORD WINAPI feed_pipe(void* parameter) {
    PipeFeed* feed = (PipeFeed*)parameter;
    HANDLE file = CreateFileA(feed->file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    static char buffer[65536];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &got, nullptr) &&
           got > 0) {
        DWORD written = 0;
        if (!WriteFile(feed->pipe, buffer, got, &written, nullptr))
            break;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (feed->hold_until) {
        WaitForSingleObject(feed->hold_until, INFINITE);
        CloseHandle(feed->hold_until);
    }
    CloseHandle(feed->pipe);
    delete feed;
    return 0;
}

// The launcher keeps its own process handle; the feeding thread gets one of
// its own, so that neither outlives the other's use of it.
HANDLE own_copy(HANDLE process) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE,
                    0);
    return copy;
}

}  // namespace

bool start_child(const ChildStart& start, PROCESS_INFORMATION* info) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    HANDLE handles[3] = {};
    HANDLE pipe_write = nullptr;
    if (!start.out_file.empty() || !start.pipe_in_file.empty()) {
        if (start.pipe_in_file.empty()) {
            handles[0] = inheritable_file("NUL", GENERIC_READ, OPEN_EXISTING);
        } else {
            SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
            CreatePipe(&handles[0], &pipe_write, &inherit, 65536);
            SetHandleInformation(pipe_write, HANDLE_FLAG_INHERIT, 0);
        }
        handles[1] = start.out_file.empty()
                         ? inheritable_file("NUL", GENERIC_WRITE, OPEN_EXISTING)
                         : inheritable_file(start.out_file, GENERIC_WRITE, CREATE_ALWAYS);
        handles[2] = inheritable_file("NUL", GENERIC_WRITE, OPEN_EXISTING);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = handles[0];
        startup.hStdOutput = handles[1];
        startup.hStdError = handles[2];
    }
    std::string command = start.command;
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, handles[0] ? TRUE : FALSE,
                                  CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, info);
    DWORD error = GetLastError();
    for (HANDLE h : handles) {
        if (h && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    if (pipe_write) {
        HANDLE hold = started && start.hold_pipe ? own_copy(info->hProcess) : nullptr;
        HANDLE feeder =
            started ? CreateThread(nullptr, 0, feed_pipe,
                                   new PipeFeed{start.pipe_in_file, pipe_write, hold}, 0, nullptr)
                    : nullptr;
        if (feeder) {
            CloseHandle(feeder);
        } else {
            CloseHandle(pipe_write);
            if (hold)
                CloseHandle(hold);
        }
    }
    SetLastError(error);
    return started != FALSE;
}
