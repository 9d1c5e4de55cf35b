// Live sizing: a border drag the toolkit runs itself so that the tool's loop
// keeps running while the user drags. Private to the toolkit.
#pragma once

#include <windows.h>

// True when the message belonged to a border drag and is finished.
bool handle_sizing_message(HWND hwnd, UINT message, WPARAM wparam);
// A destroyed window ends its drag.
void forget_sizing_drag(HWND hwnd);
