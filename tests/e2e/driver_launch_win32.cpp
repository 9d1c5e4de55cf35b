// The driver's process side: starting a tool with its standard handles,
// feeding its input, collecting its output and exit code; see driver.h.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/e2e/driver.h"

namespace {

const int DRIVER_POLL_MS = 20;
const DWORD DRIVER_PIPE_SIZE = 65536;

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
    run.exe = exe;
    run.args = args;
    run.options = options;
    // A tool that crashes ends at once with its exception code instead of
    // waiting on the system's error box; the tools inherit the mode.
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX);
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
    // A start that the system refused is tried once more, saying why: under
    // load Wine has been seen to refuse one start of a row that all ran.
    for (int attempt = 0; attempt < 2 && !started; ++attempt) {
        if (attempt > 0)
            fprintf(stderr, "driver: %s %s did not start (error %lu); starting it once more\n",
                    exe.c_str(), args.c_str(), GetLastError());
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
            started = CreateProcessA(nullptr, &mutable_command[0], nullptr, nullptr, inherit,
                                     creation, nullptr, dir.c_str(), &startup, &info);
        }
    }
    if (!started)
        fprintf(stderr, "driver: %s %s did not start (error %lu)\n", exe.c_str(), args.c_str(),
                GetLastError());
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

bool write_input(ToolRun& run, const std::string& bytes) {
    DWORD written = 0;
    return run.input_write &&
           WriteFile(run.input_write, bytes.data(), (DWORD)bytes.size(), &written, nullptr) &&
           written == bytes.size();
}

void close_input(ToolRun& run) {
    if (run.input_write)
        CloseHandle(run.input_write);
    run.input_write = nullptr;
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
