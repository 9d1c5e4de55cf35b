// The message box's window: opening it sized to its text, and laying it out
// again when it moves to a display of another density.
#pragma once

#include <windows.h>

#include <string>

#include "vemo/box_layout.h"
#include "vemo/box_options.h"

constexpr int BOX_WINDOW = 0;
constexpr int BOX_LABEL = 0;
constexpr int BOX_FONT_SLOT = 0;

// One message box: the settings in use and the ones the command line gave
// (laying the box out again for another display starts from those, not from
// the widths in use), its layout and its font.
struct BoxWindow {
    BoxSettings settings;
    BoxSettings given;
    BoxLayout layout;
    HFONT font = nullptr;
    // The field's text when a button, Enter or the countdown ended the box.
    bool answered = false;
    std::string answer;
};

// Opens the still invisible box with its label sized to the text; false when
// the window cannot be opened.
bool open_box(BoxWindow& box);

// Lays the open box out again for a display of `dpi`: new font, label and
// buttons 1 to layout.button_count in place, inner size to fit.
void relayout_box(BoxWindow& box, int dpi);
