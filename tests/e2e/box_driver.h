// Driving the message tool's box from outside: starting it on a command line,
// answering it with real input, finding its buttons, and the layout the
// arithmetic gives for its text measured here as the tool measures it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "vemo/box_layout.h"

const int BOX_EXIT_TIMEOUT_MS = 20000;
const int BOX_WINDOW_TIMEOUT_MS = 15000;

// Each argument in double quotes, as a batch file writes them.
std::string quoted_line(const std::vector<std::string>& arguments);

struct Box {
    ToolRun run;
    HWND window = nullptr;
};

Box open_box(const std::string& args, const LaunchOptions& options = LaunchOptions());
bool box_gone(const Box& box);
// Waits for the tool to end and closes it; the exit code, or 12345.
DWORD finish(Box& box);
HWND button(HWND box, int id);

// A console program cannot be awaited with WaitForInputIdle, and input that
// reaches the box while it settles right after showing is dispatched without
// an answer. So an answering input that leaves the box open is given again.
template <typename Input, typename Effect>
bool give(Input input, Effect effect, int wait_ms = 3000) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        input();
        if (wait_until(effect, wait_ms))
            return true;
    }
    return false;
}

template <typename Input>
void answer(Box& box, Input input) {
    EXPECT_TRUE(give(input, [&] { return box_gone(box); })) << "the box stayed open";
}

// ---- Batch files that open a box ----

// The visible box of that title whose label reads `label`; 0 on timeout.
HWND wait_for_box(const std::string& title, const std::string& label);
// cmd.exe in a console of its own, in the directory that holds the tool and
// the batch files, running `script` with `result` as its one argument.
ToolRun start_script(const std::string& script, const std::string& result);
// Waits for the script to end and closes it; its exit code, or 12345.
DWORD run_script(ToolRun& run);

int display_dpi();
HFONT font_at(const std::string& face, int points, int dpi);

// Measures with a font at `dpi` in a screen context; the font's height is in
// pixels, so the context's own density plays no part.
struct Measure {
    HDC context;
    HFONT font;
    HGDIOBJ previous;
    Measure(const std::string& face, int points, int dpi);
    ~Measure();
    SIZE extent(const std::string& text) const;
    int height() const;
};

// The layout at `dpi` for the box's text lines measured here; sets the
// settings' widths in use as the tool does. The icon's and the field's sizes
// are what the tool was given by the system (0: none).
BoxLayout measured_box_layout(BoxSettings& s, int dpi, int icon_size = 0, int field_height = 0);

// Where the toolkit centred the provisional box, before the tool moved it by
// half its growth and by the offsets: on the screen, or on its owner console
// and kept off the screen's left and top edges.
POINT centred_box_origin(HWND window, int growth, bool on_screen);
