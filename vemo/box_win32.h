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

// Creates the buttons, shows the box and waits for the answer.
int32_t run_box(const BoxSettings& settings, const BoxLayout& layout);
