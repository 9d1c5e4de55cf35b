#include "orlipan/widest_line_win32.h"

#include <cstring>
#include <string>
#include <vector>

#include "orlipan/pick_output.h"
#include "orlipan/widest_line.h"
#include "toolkit/toolkit.h"

namespace {

// A line this long is wider than any work area in any list font, so the
// window is at its widest whatever follows; measuring more only costs time.
constexpr size_t WIDEST_MEASURED_BYTES = 8192;

// The candidates for the widest line by the advance widths of their bytes, or
// of their characters in a UTF-8 list.
std::vector<int> widest_candidates(const LineStore& lines, bool utf8) {
    if (utf8) {
        CodePointWidths widths;
        widths.measure_page = [](unsigned first, int page[256]) {
            return list_code_point_widths(PICK_LIST_ID, first, page);
        };
        return widest_line_candidates(
            lines, [&](const char* line) { return estimated_utf8_width(line, &widths); },
            WIDEST_CANDIDATES);
    }
    int widths[256];
    if (!list_char_widths(PICK_LIST_ID, widths))
        return {};
    return widest_line_candidates(lines, widths, WIDEST_CANDIDATES);
}

}  // namespace

int widest_line_column(const LineStore& lines, bool utf8) {
    if (line_count(lines) == 0)
        return 0;
    std::vector<int> candidates = widest_candidates(lines, utf8);
    if (candidates.empty())
        return 0;
    std::string widest;
    int widest_width = -1;
    for (int index : candidates) {
        const char* line = line_at(lines, index);
        std::string text(line, strnlen(line, WIDEST_MEASURED_BYTES));
        int width = list_text_width(PICK_LIST_ID, text);
        if (width > widest_width) {
            widest_width = width;
            widest.swap(text);
        }
    }
    return list_fitted_width(PICK_LIST_ID, widest);
}
