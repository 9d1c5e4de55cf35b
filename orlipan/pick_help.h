// The help the list tool shows for "/?": the usage text, every option, the
// exit codes and the version, in the same report box as the usage text.
#pragma once

#include <string>

// The usage text alone, the answer to a command line without arguments.
extern const char PICK_USAGE_TEXT[];

std::string pick_help_text();
