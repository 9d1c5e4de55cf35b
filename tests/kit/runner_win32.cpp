// The test kit's runner, started by run-tests.cmd: runs every test program of
// its folder (or those named on its command line) one after the other against
// the tools in the same folder, shows what each prints, keeps all of it in
// results.txt and ends with the totals. Documented Win32 only.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/kit/kit_results.h"

namespace {

// Far above the slowest program's time on a slow machine; a program that
// hangs must not keep the run from ending.
const DWORD KIT_PROGRAM_TIMEOUT_MS = 30 * 60 * 1000;
const DWORD KIT_POLL_MS = 50;
const char KIT_RESULTS_FILE[] = "results.txt";

HANDLE results_file = INVALID_HANDLE_VALUE;

void write_bytes(HANDLE handle, const std::string& bytes) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || bytes.empty())
        return;
    DWORD written = 0;
    WriteFile(handle, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
}

// Everything shown goes to the console and to results.txt alike.
void show(const std::string& bytes) {
    write_bytes(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
    write_bytes(results_file, bytes);
}

void show_line(const std::string& line) {
    show(line + "\r\n");
}

std::string own_folder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The system the results come from, for whoever reads results.txt later.
std::string system_line() {
    using GetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    using WineVersionFunction = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    std::string line = "Windows";
    // GetVersionEx reports what the program's manifest allows; RtlGetVersion
    // reports the system itself.
    auto get_version = (GetVersionFunction)(void*)GetProcAddress(ntdll, "RtlGetVersion");
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (get_version && get_version(&version) == 0) {
        line += " " + std::to_string(version.dwMajorVersion) + "." +
                std::to_string(version.dwMinorVersion) + " build " +
                std::to_string(version.dwBuildNumber);
    }
    auto wine_version = (WineVersionFunction)(void*)GetProcAddress(ntdll, "wine_get_version");
    if (wine_version)
        line += std::string(" (Wine ") + wine_version() + ")";
    HDC screen = GetDC(nullptr);
    line += ", screen " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
            std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " at " +
            std::to_string(GetDeviceCaps(screen, LOGPIXELSY)) + " dpi";
    ReleaseDC(nullptr, screen);
    line += ", code page " + std::to_string(GetACP());
    return line;
}

struct Run {
    bool started = false;
    bool timed_out = false;
    DWORD exit_code = 0;
    std::string output;
};

// Moves whatever the pipe holds to the output and the screen; false when empty.
bool drain(HANDLE pipe, Run& run) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
        return false;
    char buffer[8192];
    DWORD got = 0;
    DWORD wanted = available < sizeof buffer ? available : (DWORD)sizeof buffer;
    if (!ReadFile(pipe, buffer, wanted, &got, nullptr) || got == 0)
        return false;
    std::string bytes(buffer, got);
    run.output += bytes;
    show(bytes);
    return true;
}

// The program runs in a job, so that tool windows a failed test left open
// are closed with it and cannot take the input meant for the next program.
Run run_program(const std::string& folder, const std::string& file_name) {
    Run run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 65536))
        return run;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    HANDLE no_input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  OPEN_EXISTING, 0, nullptr);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = no_input;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    std::string command = "\"" + folder + "\\" + file_name + "\" --gtest_brief=1";
    PROCESS_INFORMATION info = {};
    run.started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                                 nullptr, folder.c_str(), &startup, &info) != 0;
    CloseHandle(write_end);
    if (no_input != INVALID_HANDLE_VALUE)
        CloseHandle(no_input);
    if (!run.started) {
        CloseHandle(read_end);
        return run;
    }
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        // Where the runner's own job forbids it, the program simply runs outside one.
        if (!AssignProcessToJobObject(job, info.hProcess)) {
            CloseHandle(job);
            job = nullptr;
        }
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);

    // Tools the program started inherit the pipe, so its end is not awaited:
    // the run is over when the program itself has ended.
    ULONGLONG start = GetTickCount64();
    for (;;) {
        while (drain(read_end, run)) {
        }
        if (WaitForSingleObject(info.hProcess, KIT_POLL_MS) == WAIT_OBJECT_0)
            break;
        if (GetTickCount64() - start > KIT_PROGRAM_TIMEOUT_MS) {
            run.timed_out = true;
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(info.hProcess, &run.exit_code);
    if (job) {
        TerminateJobObject(job, 1);
        CloseHandle(job);
    }
    while (drain(read_end, run)) {
    }
    CloseHandle(info.hProcess);
    CloseHandle(read_end);
    return run;
}

std::string seconds_text(ULONGLONG ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

std::string exit_code_text(DWORD code) {
    char text[32];
    std::snprintf(text, sizeof text, code > 255 ? "0x%08lX" : "%lu", (unsigned long)code);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = own_folder();
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i)
        programs.push_back(program_file_name(argv[i]));
    if (programs.empty())
        programs = pick_test_programs(files_in(folder));

    std::string results_path = folder + "\\" + KIT_RESULTS_FILE;
    results_file = CreateFileA(results_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    show_line("orlipan and vemo test kit in " + folder);
    show_line(system_line());
    show_line("Keep the mouse and the keyboard still: the tests type and click.");

    KitTotals totals;
    std::vector<std::string> program_lines;
    for (const std::string& program : programs) {
        show_line("");
        show_line("==> " + program);
        ULONGLONG start = GetTickCount64();
        Run run = run_program(folder, program);
        ProgramResult counted = read_test_output(run.output);
        ProgramResult result = judge_program(counted, run.exit_code, run.timed_out);
        add_program(totals, result);
        std::string line = program + ": " +
                           count_text(result.passed, result.failed, result.skipped) + " (" +
                           seconds_text(GetTickCount64() - start);
        if (!run.started)
            line += ", could not be started";
        else if (run.timed_out)
            line += ", stopped after " + seconds_text(KIT_PROGRAM_TIMEOUT_MS);
        else if (run.exit_code != 0)
            line += ", exit code " + exit_code_text(run.exit_code);
        else if (!counted.counted)
            line += ", printed no counts";
        line += ")";
        show_line(line);
        program_lines.push_back(line);
    }

    show_line("");
    show_line("Summary:");
    for (const std::string& line : program_lines)
        show_line("  " + line);
    if (programs.empty())
        show_line("  no test programs found in " + folder);
    show_line("Results are in " + results_path);
    show_line(closing_line(totals));
    if (results_file != INVALID_HANDLE_VALUE)
        CloseHandle(results_file);
    return kit_passed(totals) ? 0 : 1;
}
