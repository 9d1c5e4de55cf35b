// Keyboard handling of the toolkit's windows: shortcuts through the windows'
// accelerator tables, Tab focus movement and the message tool's keyboard cues.
// Private to the toolkit.
#pragma once

#include <windows.h>

// Step 4 of a wait: true when the message was a shortcut of the active toolkit
// window and is finished (the accelerator sent WM_COMMAND to the window).
bool translate_shortcut(MSG& message);
// The two focus commands of Tab and Shift+Tab.
void move_focus(bool forward);
// A window that loses the activation hides its keyboard cues again.
void window_deactivated(HWND hwnd);
