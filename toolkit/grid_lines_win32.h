// The grid the toolkit draws over a list. Private to the toolkit.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "toolkit/controls_win32.h"

// NM_CUSTOMDRAW of a list; `comctl_major` is the common controls' major version.
LRESULT grid_custom_draw(ControlRecord& record, NMLVCUSTOMDRAW& draw, DWORD comctl_major);
