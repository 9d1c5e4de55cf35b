// Reading a list as UTF-8 (/utf8): the lines keep their bytes as they stand
// in the file, so that a picked line is written back byte for byte; only the
// byte-order mark that some editors put first is no part of line 1.
#pragma once

#include "orlipan/line_store.h"

// The bytes of `source`, without a UTF-8 byte-order mark at their start.
// Reads as short as a pipe may give are fine: the mark is looked for in the
// first three bytes however they arrive.
ByteSource without_utf8_bom(ByteSource source);
