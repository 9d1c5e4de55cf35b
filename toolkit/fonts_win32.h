// Font state shared by the two files of the control side.
#pragma once

#include <windows.h>

// The font every control gets at creation.
HFONT default_control_font();
// Back to the stock GUI font, no fonts loaded.
void prepare_fonts();
// Deletes every font ever loaded; the default goes back to the stock font.
void release_fonts();
