#include "tests/e2e/dpi_probe.h"

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"

bool become_dpi_aware() {
    HMODULE user = GetModuleHandleA("user32.dll");
    using SetContext = BOOL(WINAPI*)(HANDLE);
    auto set_context = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    // Per monitor version 2, then version 1 (-4 and -3).
    if (set_context &&
        (set_context(reinterpret_cast<HANDLE>(-4)) || set_context(reinterpret_cast<HANDLE>(-3)))) {
        return true;
    }
    return SetProcessDPIAware() != 0;
}

int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

int window_awareness(HWND hwnd) {
    HMODULE user = GetModuleHandleA("user32.dll");
    using GetContext = HANDLE(WINAPI*)(HWND);
    using Awareness = int(WINAPI*)(HANDLE);
    auto get_context = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<Awareness>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    if (!get_context || !awareness)
        return -1;
    return awareness(get_context(hwnd));
}

// Wine 8 makes every process per-monitor aware by default, manifest or not,
// so there this check cannot tell the manifest's work from Wine's.
void expect_per_monitor_aware(HWND hwnd) {
    const int PER_MONITOR_AWARE = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
    int awareness = window_awareness(hwnd);
    if (awareness != -1) {
        EXPECT_EQ(awareness, PER_MONITOR_AWARE);
    }
}

std::string manifest_of(const std::string& exe) {
    std::string path = test_dir() + "\\" + exe;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "";
    std::string text;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes)
        text.assign(bytes, SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

std::string element_text(const std::string& xml, const std::string& name) {
    size_t open = xml.find("<" + name + " ");
    size_t start = open == std::string::npos ? open : xml.find('>', open);
    size_t end = start == std::string::npos ? start : xml.find("</" + name + ">", start);
    return end == std::string::npos ? "" : xml.substr(start + 1, end - start - 1);
}
