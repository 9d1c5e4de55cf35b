// The help the list tool shows for "/?": the usage text, every option, the
// exit codes and the version, in the same report box as the usage text.
#pragma once

#include <string>

std::string pick_help_text();
