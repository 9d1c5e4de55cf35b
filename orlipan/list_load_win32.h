// The list read whole from the list file or standard input into one line
// store, as the options ask: a UTF-8 byte-order mark dropped (/utf8), the
// lines turned from the OEM code page (/oemlist).
#pragma once

#include "orlipan/line_store.h"
#include "orlipan/pick_options.h"

// False when the list cannot be read (no such file, no standard input, too
// large for the memory); the report is then pending in settings.message.
bool load_list_file(PickSettings& settings, LineStore* lines);
