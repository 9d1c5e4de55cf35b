// Runs the frame's Windows side with recording release hooks, so that the
// console-close hand-over can be watched from both threads.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/command_line.h"
#include "frame/frame.h"
#include "frame/text.h"

namespace {

std::vector<std::string> release_log;
DWORD release_thread = 0;

void record_window_release() {
    release_log.push_back("windows");
    release_thread = GetCurrentThreadId();
}

void record_file_release() {
    release_log.push_back("files");
}

DWORD WINAPI send_console_event(void* event) {
    return console_ctrl_handler(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(event)));
}

HANDLE start_console_event(DWORD event) {
    return CreateThread(nullptr, 0, send_console_event,
                        reinterpret_cast<void*>(static_cast<UINT_PTR>(event)), 0, nullptr);
}

// Waits for the thread the way the toolkit's event loop waits: handling sent
// messages while it waits. Bounded; returns the thread's result, or 99.
DWORD pump_until_done(HANDLE thread) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            DWORD result = 99;
            GetExitCodeThread(thread, &result);
            CloseHandle(thread);
            return result;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    return 99;
}

class FrameRelay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_instance = GetModuleHandleA(nullptr);
        set_release_hooks(record_window_release, record_file_release);
        attach_console();
    }
    void SetUp() override {
        release_log.clear();
        release_thread = 0;
    }
};

TEST_F(FrameRelay, CloseEventReleasesOnTheMainThreadAndStillEndsTheProcess) {
    DWORD handler_result = pump_until_done(start_console_event(CTRL_CLOSE_EVENT));
    EXPECT_EQ(handler_result, static_cast<DWORD>(FALSE));
    EXPECT_EQ(release_log, (std::vector<std::string>{"windows", "files"}));
    EXPECT_EQ(release_thread, GetCurrentThreadId());
}

TEST_F(FrameRelay, OtherConsoleEventsReleaseNothing) {
    for (DWORD event : {CTRL_C_EVENT, CTRL_BREAK_EVENT, CTRL_LOGOFF_EVENT}) {
        EXPECT_EQ(pump_until_done(start_console_event(event)), static_cast<DWORD>(FALSE));
    }
    EXPECT_TRUE(release_log.empty());
}

TEST_F(FrameRelay, BusyMainThreadIsNotReleasedUnderItsFeet) {
    // The main thread does not wait for messages: the handler gives up after its
    // bound and nothing runs on either thread.
    HANDLE thread = start_console_event(CTRL_CLOSE_EVENT);
    ASSERT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
    DWORD handler_result = 99;
    GetExitCodeThread(thread, &handler_result);
    CloseHandle(thread);
    EXPECT_EQ(handler_result, static_cast<DWORD>(FALSE));
    EXPECT_TRUE(release_log.empty());
    // A sent message its thread never picked up is withdrawn at the timeout, so
    // the request does not turn up later either.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    EXPECT_TRUE(release_log.empty());
}

std::string temp_file_path() {
    char directory[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    GetTempFileNameA(directory, "frm", 0, path);
    return path;
}

std::string written_bytes(const std::string& text, void (*print)(const std::string&) = print_text) {
    std::string path = temp_file_path();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE saved = stdout_handle;
    stdout_handle = file;
    print(text);
    stdout_handle = saved;
    CloseHandle(file);
    file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[256];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    return std::string(buffer, got);
}

TEST(PrintText, RedirectedOutputGetsTheExactBytes) {
    EXPECT_EQ(written_bytes("set colour=\xE9t\xE9\r\nx"), "set colour=\xE9t\xE9\r\nx");
    EXPECT_EQ(written_bytes(""), "");
}

TEST(PrintText, RedirectedUtf8OutputKeepsEvenInvalidBytesAndHasNoMark) {
    const std::string text = "caf\xC3\xA9 \xCE\xA9 \xFF\xE2\x82";
    EXPECT_EQ(written_bytes(text, print_utf8_text), text);
}

TEST(Arguments, FetchedOnceEachFromTheProcessCommandLine) {
    prepare_arguments();
    std::string line = GetCommandLineA();
    int count = count_arguments();
    EXPECT_EQ(count, count_arguments_in(line));
    std::vector<std::string> arguments = read_all_arguments();
    ASSERT_EQ(static_cast<int>(arguments.size()), count);
    for (int i = 0; i < count; ++i) {
        std::string expected;
        argument_at(line, i, &expected);
        EXPECT_EQ(arguments[i], expected);
    }
    EXPECT_EQ(next_argument(), "");
    EXPECT_EQ(count_arguments(), count);
}

TEST(TextCase, FollowsTheAnsiCodePage) {
    EXPECT_EQ(lower_text("QUOTE"), "quote");
    EXPECT_EQ(upper_text("fs="), "FS=");
    EXPECT_EQ(lower_text(""), "");
    if (GetACP() != 1252) {
        GTEST_SKIP() << "accented letters checked on code page 1252 only";
    }
    EXPECT_EQ(lower_text("\xC9"
                         "COLE"),
              "\xE9"
              "cole");
    EXPECT_EQ(upper_text("\xE9t\xE9"), "\xC9T\xC9");
}

}  // namespace
