#include "frame/frame.h"

#include <atomic>

#include "frame/command_line.h"
#include "frame/os_version.h"
#include "frame/text.h"

HINSTANCE module_instance;
HANDLE stdout_handle;
HWND console_window;
UINT ToolExit;

// Closing the console runs console_ctrl_handler on a thread of the system's
// while the main thread owns every window and may be inside the toolkit. Window
// objects can only be destroyed by their own thread, and freeing the toolkit's
// records under the main thread's feet would corrupt it, so the handler never
// releases anything itself. It sends FRAME_RELEASE_MESSAGE to a message-only
// window of the frame, created by the main thread at start-up, and waits for
// the answer. The main thread handles that sent message whenever it waits for
// messages (the toolkit's event wait, or a MessageBoxA loop) and runs
// release_runtime there, between two of its own steps. When the main thread
// does not wait for messages within FRAME_RELEASE_TIMEOUT_MS (busy reading a
// file, say), nothing is released and the system's process end takes it all:
// a sent message that its thread never picked up is withdrawn at the timeout.
// The bound stays below the 5 seconds the system grants a close handler.
constexpr UINT FRAME_RELEASE_MESSAGE = WM_APP + 0x3F0;
constexpr UINT FRAME_RELEASE_TIMEOUT_MS = 3000;
constexpr char FRAME_RELAY_CLASS[] = "FrameReleaseRelay";

namespace {

std::atomic<HWND> release_relay{nullptr};
ToolRelease window_release = nullptr;
ToolRelease file_release = nullptr;
// A release that pumps messages (closing windows does) must not start another.
bool releasing = false;

LRESULT CALLBACK relay_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == FRAME_RELEASE_MESSAGE) {
        release_runtime();
        return 1;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void open_release_relay() {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = relay_procedure;
    window_class.hInstance = module_instance;
    window_class.lpszClassName = FRAME_RELAY_CLASS;
    RegisterClassA(&window_class);
    release_relay = CreateWindowExA(0, FRAME_RELAY_CLASS, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    module_instance, nullptr);
}

void close_release_relay() {
    HWND relay = release_relay.exchange(nullptr);
    if (relay) {
        DestroyWindow(relay);
    }
    UnregisterClassA(FRAME_RELAY_CLASS, module_instance);
}

// Looked up at run time: the systems that need the title path have no
// GetConsoleWindow, and a direct import would keep the tool from loading there.
HWND system_console_window() {
    using ConsoleWindowFunction = HWND(WINAPI*)();
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto function = reinterpret_cast<ConsoleWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetConsoleWindow")));
    return function ? function() : nullptr;
}

bool on_old_system() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    bool known = GetVersionExA(&info) != 0;
    return uses_title_path(known, info.dwPlatformId, info.dwMajorVersion);
}

}  // namespace

BOOL WINAPI console_ctrl_handler(DWORD event) {
    HWND relay = release_relay.load();
    if (event == CTRL_CLOSE_EVENT && relay) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(relay, FRAME_RELEASE_MESSAGE, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                            FRAME_RELEASE_TIMEOUT_MS, &answer);
    }
    return FALSE;
}

int attach_console() {
    stdout_handle = GetStdHandle(STD_OUTPUT_HANDLE);
    // The relay exists before the handler can be called.
    open_release_relay();
    SetConsoleCtrlHandler(console_ctrl_handler, TRUE);
    return 1;
}

void find_console_window() {
    console_window = nullptr;
    if (on_old_system()) {
        std::string title = space_text(300);
        if (GetConsoleTitleA(&title[0], 300) != 0) {
            console_window = FindWindowA(nullptr, title.c_str());
        }
    } else {
        console_window = system_console_window();
    }
}

void release_runtime() {
    if (releasing) {
        return;
    }
    releasing = true;
    if (window_release) {
        window_release();
    }
    if (file_release) {
        file_release();
    }
    releasing = false;
}

void set_release_hooks(ToolRelease release_windows, ToolRelease release_files) {
    window_release = release_windows;
    file_release = release_files;
}

void run_frame(const FrameHooks& hooks) {
    ToolExit = 0;
    console_window = nullptr;
    set_release_hooks(hooks.release_windows, hooks.release_files);
    module_instance = GetModuleHandleA(nullptr);
    install_failure_handlers(hooks.title);
    if (hooks.prepare) {
        hooks.prepare(module_instance);
    }
    prepare_arguments();
    attach_console();
    find_console_window();
    if (!console_window) {
        ToolExit = 255;
    } else if (hooks.body) {
        run_guarded(hooks.body);
    }
    release_runtime();
    close_release_relay();
    ExitProcess(ToolExit);
}
