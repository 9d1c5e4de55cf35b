// What the options ask of a run, each question answered here once, so that
// the window's parts never test the option bits themselves.
#pragma once

#include "orlipan/pick_options.h"

// Blank lines separate, a single click chooses, and nothing is selected at
// the start.
inline bool menu_mode(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_MENU) != 0;
}

inline bool multi_mode(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_MULTI) != 0;
}

// The lines, the template and the output are UTF-8; otherwise the ANSI code
// page, as they always were.
inline bool utf8_mode(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_UTF8) != 0;
}

// Lines cut at their tabs into columns, $1 .. $9 their fields.
inline bool tab_mode(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_TAB) != 0;
}

// A box above the list narrows it to the lines holding what is typed.
inline bool filter_mode(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_FILTER) != 0;
}

inline bool auto_mode(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_AUTO) != 0;
}

inline bool on_top(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_ONTOP) != 0;
}

inline bool console_centered(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_CMDCENTER) != 0;
}

inline bool quoted_output(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_QUOTE) != 0;
}

inline bool oem_list(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_OEMLIST) != 0;
}

inline bool oem_output(const PickSettings& settings) {
    return (settings.flags & PICK_FLAG_OEMOUT) != 0;
}

// The list has a title row or columns: /header=N or /tab.
inline bool has_pick_columns(const PickSettings& settings) {
    return tab_mode(settings) || settings.header_lines > 0;
}
