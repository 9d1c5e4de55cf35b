#include "tests/e2e/box_driver.h"

#include <algorithm>

std::string quoted_line(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        line += (line.empty() ? "\"" : " \"") + argument + "\"";
    }
    return line;
}

Box open_box(const std::string& args, const LaunchOptions& options) {
    Box box;
    box.run = start_tool("vemo.exe", args, options);
    if (box.run.process)
        box.window = wait_for_window(box.run, BOX_WINDOW_TIMEOUT_MS);
    return box;
}

bool box_gone(const Box& box) {
    return WaitForSingleObject(box.run.process, 0) == WAIT_OBJECT_0 || !IsWindowVisible(box.window);
}

DWORD finish(Box& box) {
    DWORD code = 12345;
    bool ended = wait_exit(box.run, BOX_EXIT_TIMEOUT_MS, &code);
    kill_tool(box.run);
    EXPECT_TRUE(ended) << "the tool did not end";
    return code;
}

HWND button(HWND box, int id) {
    for (HWND child : children_by_class(box, "Button")) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    return nullptr;
}

int display_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT font_at(const std::string& face, int points, int dpi) {
    return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, face.c_str());
}

Measure::Measure(const std::string& face, int points, int dpi)
    : context(GetDC(nullptr)), font(font_at(face, points, dpi)) {
    previous = SelectObject(context, font);
}

Measure::~Measure() {
    SelectObject(context, previous);
    ReleaseDC(nullptr, context);
    DeleteObject(font);
}

SIZE Measure::extent(const std::string& text) const {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(context, text.c_str(), (int)text.size(), &size);
    return size;
}

int Measure::height() const {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(context, &metrics);
    return metrics.tmHeight;
}

BoxLayout measured_box_layout(BoxSettings& s, int dpi, int icon_size, int field_height) {
    BoxLayout l = plan_box_layout(s, dpi, icon_size);
    Measure measure(s.font_name, s.font_size, dpi);
    std::vector<TextExtent> lines;
    for (const std::string& line : split_fields(s.text, '\r')) {
        SIZE size = measure.extent(line);
        lines.push_back({size.cx, size.cy});
    }
    fit_box_text(l, s, lines, field_height);
    return l;
}

POINT centred_box_origin(HWND window, int growth, bool on_screen) {
    RECT outer = window_rect(window);
    int width = outer.right - outer.left;
    int provisional_height = outer.bottom - outer.top - growth;
    if (on_screen) {
        return POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - provisional_height) / 2};
    }
    RECT owner = window_rect(GetWindow(window, GW_OWNER));
    return POINT{
        std::max<LONG>(0, owner.left + (owner.right - owner.left - width) / 2),
        std::max<LONG>(0, owner.top + (owner.bottom - owner.top - provisional_height) / 2)};
}

namespace {

struct BoxSearch {
    std::string title;
    std::string label;
    HWND found;
};

BOOL CALLBACK match_box(HWND hwnd, LPARAM param) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    if (IsWindowVisible(hwnd) && window_caption(hwnd) == search->title &&
        window_caption(child_by_class(hwnd, "Static")) == search->label) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// The box a batch file opened; its process is the batch file's child.
HWND wait_for_box(const std::string& title, const std::string& label) {
    BoxSearch search = {title, label, nullptr};
    wait_until(
        [&] {
            EnumWindows(match_box, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        BOX_WINDOW_TIMEOUT_MS);
    return search.found;
}

// cmd.exe in a console of its own, in the directory that holds the tool
// and the batch files; the script writes the way it went to `result`.
ToolRun start_script(const std::string& script, const std::string& result) {
    ToolRun run;
    std::string command = "cmd.exe /c " + script + " \"" + result + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                       test_dir().c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        run.process = info.hProcess;
        run.pid = info.dwProcessId;
    }
    return run;
}

DWORD run_script(ToolRun& run) {
    DWORD code = 12345;
    EXPECT_TRUE(wait_exit(run, BOX_EXIT_TIMEOUT_MS, &code));
    kill_tool(run);
    return code;
}
