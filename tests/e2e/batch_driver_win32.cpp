#include "tests/e2e/batch_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include "tests/e2e/pick_driver.h"

namespace {

const int WINDOW_TIMEOUT_MS = 15000;
const int BATCH_TIMEOUT_MS = 30000;

HANDLE inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A process named `exe`, started by the batch's cmd.exe and not handed out
// before: a loop in a batch file starts a new tool process for every question.
DWORD find_new_tool(const BatchRun& batch, const char* exe) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    DWORD found = 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == batch.pid && lstrcmpiA(entry.szExeFile, exe) == 0 &&
            !batch.seen_tools.count(entry.th32ProcessID)) {
            found = entry.th32ProcessID;
        }
    }
    CloseHandle(snapshot);
    return found;
}

// What lies at `p` instead of the window a click was meant for, and where
// that window is now: enough to tell a window in the way from one that moved.
std::string in_the_way(HWND target, POINT p) {
    HWND at = WindowFromPoint(p);
    DWORD pid = 0;
    if (at)
        GetWindowThreadProcessId(at, &pid);
    RECT now = window_rect(target);
    return "the target is covered at " + std::to_string(p.x) + "," + std::to_string(p.y) +
           " by a " + window_class(at) + " window \"" + window_caption(at) + "\" of process " +
           std::to_string(pid) + "; the target lies at " + std::to_string(now.left) + "," +
           std::to_string(now.top) + "-" + std::to_string(now.right) + "," +
           std::to_string(now.bottom) + (IsWindowVisible(target) ? "" : ", hidden") +
           (IsWindowEnabled(target) ? "" : ", disabled");
}

void end_process(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process)
        return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

}  // namespace

std::string examples_dir() {
    return test_dir() + "\\examples";
}

std::string fresh_dir() {
    std::string base = scratch_dir();
    for (int n = 1;; ++n) {
        std::string dir = base + "\\run" + std::to_string(GetTickCount()) + "_" + std::to_string(n);
        if (CreateDirectoryA(dir.c_str(), nullptr))
            return dir;
    }
}

BatchRun start_batch(const std::string& script, const std::string& args, const std::string& dir,
                     const std::string& output_file, const std::string& error_file,
                     bool hidden_console) {
    BatchRun batch;
    batch.dir = dir;
    batch.output_file = output_file;
    std::string command = "cmd.exe /d /c call \"" + script + "\"";
    if (!args.empty())
        command += " " + args;

    HANDLE out = inheritable(output_file, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = error_file.empty() ? out : inheritable(error_file, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE in = inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info = {};
    // CREATE_NO_WINDOW gives cmd.exe and the tools it starts a console
    // without a window, as for a batch file run by a scheduler.
    DWORD creation = hidden_console ? CREATE_NO_WINDOW : CREATE_NEW_CONSOLE;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, creation, nullptr, dir.c_str(),
                       &startup, &info)) {
        CloseHandle(info.hThread);
        batch.process = info.hProcess;
        batch.pid = info.dwProcessId;
    }
    if (err != out)
        CloseHandle(err);
    CloseHandle(out);
    CloseHandle(in);
    return batch;
}

// Standard output and error of cmd.exe go to one file outside the batch's
// directory, whose files the examples list; the tools the batch starts share
// its console.
BatchRun start_example(const std::string& name, const std::string& args, const std::string& dir,
                       bool hidden_console) {
    return start_batch(examples_dir() + "\\" + name, args, dir, fresh_dir() + "\\console.txt", "",
                       hidden_console);
}

ToolWindow wait_for_tool(BatchRun& batch, const char* exe) {
    ToolWindow tool;
    DWORD pid = 0;
    wait_until([&] { return (pid = find_new_tool(batch, exe)) != 0; }, WINDOW_TIMEOUT_MS);
    if (!pid)
        return tool;
    batch.seen_tools.insert(pid);
    tool.run.pid = pid;
    tool.run.process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                       PROCESS_VM_READ | PROCESS_VM_WRITE,
                                   FALSE, pid);
    tool.window = wait_for_window(tool.run, WINDOW_TIMEOUT_MS);
    if (tool.run.process)
        WaitForInputIdle(tool.run.process, WINDOW_TIMEOUT_MS);
    return tool;
}

// Waits for the batch file to end and returns what it printed. A batch file
// that hangs is ended with the tools it started, so that no window of it is
// left to take the keys of the next test.
std::string finish_batch(BatchRun& batch, DWORD* exit_code) {
    bool ended = batch.process && WaitForSingleObject(batch.process, BATCH_TIMEOUT_MS) == 0;
    EXPECT_TRUE(ended) << "the batch file did not end";
    if (batch.process) {
        if (!ended) {
            for (DWORD pid : batch.seen_tools)
                end_process(pid);
            TerminateProcess(batch.process, 1);
        }
        DWORD code = 0;
        GetExitCodeProcess(batch.process, &code);
        if (exit_code)
            *exit_code = code;
        CloseHandle(batch.process);
        batch.process = nullptr;
    }
    return read_file(batch.output_file);
}

void close_tool(ToolWindow& tool) {
    if (tool.run.process)
        CloseHandle(tool.run.process);
    tool.run.process = nullptr;
}

void type_keys(ToolWindow& tool, std::initializer_list<WORD> keys) {
    ASSERT_TRUE(tool.window) << "no tool window";
    ASSERT_TRUE(make_foreground(tool.window));
    for (WORD vk : keys)
        press_key(vk);
}

// Under Wine without a window manager a window of the previous test can
// stay on screen for about two seconds after its process ended; a click is
// only given once the target is what lies under the pointer. A target that
// stays covered is raised again now and then, as a user would bring it up
// to click on it: once, under Wine without a virtual desktop, a message box
// in the foreground stayed covered for the whole wait.
void click_on(HWND target, POINT p) {
    HWND top = GetAncestor(target, GA_ROOT);
    DWORD raised = GetTickCount();
    bool clear = wait_until(
        [&] {
            if (WindowFromPoint(p) == target)
                return true;
            if (GetTickCount() - raised >= 1000) {
                raised = GetTickCount();
                SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            }
            return false;
        },
        WINDOW_TIMEOUT_MS);
    ASSERT_TRUE(clear) << in_the_way(target, p);
    click_at(p.x, p.y);
}

// The list control lives in the tool's process, so the rectangle of a row
// is asked for through memory of that process.
void click_row(ToolWindow& tool, int index) {
    HWND list = child_by_class(tool.window, "SysListView32");
    ASSERT_TRUE(list) << "no list control";
    ASSERT_TRUE(tool.run.process) << "the tool's process cannot be read";
    RECT row = remote_item_rect(tool.run.process, list, index);
    ASSERT_LT(row.top, row.bottom) << "row " << index << " has no rectangle";
    MapWindowPoints(list, nullptr, (POINT*)&row, 2);
    ASSERT_TRUE(make_foreground(tool.window));
    click_on(list, POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void add_tools_to_path() {
    char path[32767] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (test_dir() + ";" + path).c_str());
}
