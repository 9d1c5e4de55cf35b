// Waiting for the user's answer and handing it to the caller.
#pragma once

#include "orlipan/pick_options.h"
#include "orlipan/pick_window_win32.h"

// PICK_ACCEPT (with the answer in pick.state.picked_index, or in
// pick.chosen_rows with /multi) or PICK_CANCEL.
int run_pick_loop(PickWindow& pick);
// Writes the filled-in template for the accepted line and sets the exit code.
void build_pick_output(const PickWindow& pick);
// Shows the pending report, if any, in a message box.
void report_message(const PickSettings& settings);
