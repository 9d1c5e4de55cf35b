// The window side of display density. Private to the toolkit.
#pragma once

#include <windows.h>

// WM_DPICHANGED: queues EVENT_DPI_CHANGE and takes the suggested rectangle.
void follow_dpi_change(HWND hwnd, int window, WPARAM wparam, LPARAM lparam);
