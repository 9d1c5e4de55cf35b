// Lines that arrive while the window is being put together or already shows:
// the window waits for its first screen of them, and later ones join the list
// where the user is looking at it.
#pragma once

#include "orlipan/pick_run_win32.h"

// The timer whose events bring news of the reading thread.
constexpr int PICK_FEED_TIMER = 28;

// Takes lines until the list may be handed to the window: the input ended,
// more lines than the window shows at once are in (after the /header=N lines),
// or the input paused. False when the list is too large; the report is then
// pending in pick.settings.message.
bool await_list(PickWindow& pick);
// For an event of PICK_FEED_TIMER: the lines read since join the list and,
// once the window shows, its size, its /sel lines and its title follow them.
// False as await_list.
bool take_arrivals(PickWindow& pick);
// The caller's title, with a note while the input is still read.
void show_reading_title(const PickWindow& pick);
