// Font state of the control side, and measuring in a control's font. Private
// to the toolkit.
#pragma once

#include <windows.h>

#include <functional>

// The font every control gets at creation.
HFONT default_control_font();
// Null goes back to the stock GUI font.
void set_default_control_font(HFONT font);
// Back to the stock GUI font, no fonts loaded.
void prepare_fonts();
// Deletes every font ever loaded; the default goes back to the stock font.
void release_fonts();
// Runs `measure` on a device context of `control` with the control's own font
// selected, and puts everything back; false when there is no device context.
bool in_control_font(HWND control, const std::function<bool(HDC)>& measure);
