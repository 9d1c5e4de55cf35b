// The help the message tool shows for "/?": the usage text, every option, the
// exit codes and the version, in the same box as the usage text.
#pragma once

#include <string>

std::string box_help_text();
