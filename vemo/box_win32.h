// The message box on Win32: the tool body that the frame runs, the opening
// and sizing of the box, and its buttons and event loop.
#pragma once

#include <cstdint>

#include "vemo/box_layout.h"
#include "vemo/box_options.h"

constexpr int BOX_WINDOW = 0;
constexpr int BOX_LABEL = 0;
constexpr int BOX_FONT_SLOT = 0;

void vemo_body();

// Opens the still invisible box with its label sized to the text; false when
// the window cannot be opened.
bool open_box(BoxSettings& settings, BoxLayout& layout);

// Moves and sizes buttons 1 to button_count to the layout, in the box's font.
void place_buttons(const BoxSettings& settings, const BoxLayout& layout);

// Lays the open box out again for a display of `dpi`: new font, label and
// buttons in place, inner size to fit. Works on the box's own settings and
// layout, the ones run_box was given.
void relayout_box(int dpi);

// Creates the buttons, shows the box and waits for the answer.
int32_t run_box(const BoxSettings& settings, const BoxLayout& layout);
