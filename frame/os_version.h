// Which way the frame looks for its console window. Old systems have no
// GetConsoleWindow, so there the window is found by the console's title.
#pragma once

// Platform ids as GetVersionExA reports them.
constexpr unsigned PLATFORM_WINDOWS_9X = 1;
constexpr unsigned PLATFORM_NT = 2;

// The Windows 9x family and NT before 5.0 take the title path. A failed
// version query (`version_known` false) takes the GetConsoleWindow path.
bool uses_title_path(bool version_known, unsigned platform_id, unsigned major_version);
