// Baseline for the benchmark: a console program that does nothing but show
// one system message box, so the tools' start-up can be compared with the
// least a program with a window can cost.
//
//   baseline_message_box [--tool-start]
//
// With --tool-start it first does what every tool must do before it may show
// anything: initialise the common controls (loading their library) and find
// its console window, which waits until the new console is ready. The
// difference between the two rows is start-up cost no tool can avoid.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

using InitControlsFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// Loaded at run time so that the plain baseline does not load the library.
void start_like_a_tool() {
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    auto init = comctl ? reinterpret_cast<InitControlsFunction>(reinterpret_cast<void*>(
                             GetProcAddress(comctl, "InitCommonControlsEx")))
                       : nullptr;
    if (init) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        init(&controls);
    }
    GetConsoleWindow();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--tool-start") == 0)
        start_like_a_tool();
    return MessageBoxA(nullptr, "Baseline message box.", "Baseline", MB_OK) == IDOK ? 1 : 0;
}
