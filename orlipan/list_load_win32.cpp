// The list reaches the window: read whole from the list file or standard
// input into one line store, which the virtual list then asks for the lines
// it draws.
#include <windows.h>

#include <cstring>
#include <string>

#include "orlipan/line_store.h"
#include "orlipan/list_file_win32.h"
#include "orlipan/pick_filter_win32.h"
#include "orlipan/pick_options.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_window_win32.h"
#include "orlipan/utf8_list.h"
#include "orlipan/widest_line.h"
#include "toolkit/toolkit.h"

namespace {

// A line this long is wider than any work area in any list font, so the
// window is at its widest whatever follows; measuring more only costs time.
constexpr size_t WIDEST_MEASURED_BYTES = 8192;

LineStore pick_lines;

const char* pick_line(int index, void*) {
    return line_at(pick_lines, index);
}

bool utf8_list() {
    return (pick_settings.flags & PICK_FLAG_UTF8) != 0;
}

// The candidates for the widest line by the advance widths of their bytes, or
// of their characters in a UTF-8 list.
std::vector<int> widest_candidates() {
    if (utf8_list()) {
        CodePointWidths widths;
        widths.measure_page = [](unsigned first, int page[256]) {
            return list_code_point_widths(PICK_LIST_ID, first, page);
        };
        return widest_line_candidates(
            pick_lines, [&](const char* line) { return estimated_utf8_width(line, &widths); },
            WIDEST_CANDIDATES);
    }
    int widths[256];
    if (!list_char_widths(PICK_LIST_ID, widths))
        return {};
    return widest_line_candidates(pick_lines, widths, WIDEST_CANDIDATES);
}

bool open_list() {
    if (pick_settings.list_file == LIST_FROM_STANDARD_INPUT) {
        if (open_standard_input(LIST_FILE_SLOT))
            return true;
        pick_settings.message = "Cannot open standard input";
        return false;
    }
    if (open_list_file(LIST_FILE_SLOT, pick_settings.list_file))
        return true;
    pick_settings.message = "Cannot open " + file_name_part(pick_settings.list_file);
    return false;
}

}  // namespace

bool load_list_file() {
    if (!open_list())
        return false;
    ByteSource source = [](char* buffer, int capacity) {
        return read_list_file(LIST_FILE_SLOT, buffer, capacity);
    };
    LinesResult result =
        read_all_lines(&pick_lines, utf8_list() ? without_utf8_bom(source) : source);
    close_list_file(LIST_FILE_SLOT);
    if (result != LINES_OK) {
        // The report box needs memory of its own.
        free_lines(&pick_lines);
        pick_settings.message = "List too large";
        return false;
    }
    if (pick_settings.flags & PICK_FLAG_OEMLIST) {
        for (int i = 0; i < line_count(pick_lines); ++i)
            OemToCharA(line_at(pick_lines, i), line_at(pick_lines, i));
    }
    pick_state.item_count = line_count(pick_lines);
    // Without /utf8 the lines are bytes of the ANSI code page, as they always were.
    set_control_encoding(PICK_LIST_ID, utf8_list() ? TEXT_UTF8 : TEXT_ANSI);
    if (filtering())
        start_filter(pick_lines);
    else
        list_set_source(PICK_LIST_ID, pick_line, nullptr, pick_state.item_count);
    return true;
}

int widest_line_column() {
    if (line_count(pick_lines) == 0)
        return 0;
    std::vector<int> candidates = widest_candidates();
    if (candidates.empty())
        return 0;
    std::string widest;
    int widest_width = -1;
    for (int index : candidates) {
        const char* line = line_at(pick_lines, index);
        std::string text(line, strnlen(line, WIDEST_MEASURED_BYTES));
        int width = list_text_width(PICK_LIST_ID, text);
        if (width > widest_width) {
            widest_width = width;
            widest.swap(text);
        }
    }
    return list_fitted_width(PICK_LIST_ID, widest);
}
