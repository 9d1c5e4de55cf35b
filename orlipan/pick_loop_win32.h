// Waiting for the user's answer and handing it to the caller.
#pragma once

// PICK_ACCEPT (with pick_state.picked_index set) or PICK_CANCEL.
int run_pick_loop();
// Writes the filled-in template for the accepted line and sets the exit code.
void build_pick_output();
// Shows the pending report, if any, in a message box.
void report_message();
