// Baseline for the benchmark: a console program that does nothing but show
// one system message box, so the tools' start-up can be compared with the
// least a program with a window can cost.
#include <windows.h>

int main() {
    return MessageBoxA(nullptr, "Baseline message box.", "Baseline", MB_OK) == IDOK ? 1 : 0;
}
