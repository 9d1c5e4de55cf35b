// The message box's buttons and event loop.
#pragma once

#include <cstdint>

#include "vemo/box_win32.h"

// Creates the buttons of the opened box, shows it and waits for the answer.
// A move to a display of another density lays the box out again.
int32_t run_box(BoxWindow& box);
