// The toolkit's window procedure, which prepare_toolkit hands to the window
// registry for the classes it registers. Private to the toolkit.
#pragma once

#include <windows.h>

LRESULT CALLBACK toolkit_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
