// The answer of a pick: the filled-in template written to standard output in
// the code page the options ask for, and the line number as the exit code.
#pragma once

#include "orlipan/pick_run_win32.h"

// Writes the filled-in template for the accepted line (or the chosen lines
// of /multi) and sets the exit code.
void build_pick_output(const PickWindow& pick);
