// Waiting for the user's answer and handing it to the caller.
#pragma once

#include "orlipan/pick_options.h"
#include "orlipan/pick_run_win32.h"

// PICK_ACCEPT (with the answer in pick.state.picked_index, or in
// pick.chosen_rows with /multi) or PICK_CANCEL.
int run_pick_loop(PickWindow& pick);
// The action checked against the selection: an accept with nothing to take
// (no line selected; a blank line in menu mode) becomes PICK_NONE, and is
// not reported: the user simply goes on.
int check_pick_action(PickWindow& pick, int action);
// Shows the pending report, if any, in a message box.
void report_message(const PickSettings& settings);
