#include "orlipan/widest_line_win32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "orlipan/pick_output.h"
#include "orlipan/tab_fields.h"
#include "orlipan/widest_line.h"
#include "toolkit/toolkit.h"

namespace {

// A line this long is wider than any work area in any list font, so the
// window is at its widest whatever follows; measuring more only costs time.
constexpr size_t WIDEST_MEASURED_BYTES = 8192;

// The largest estimate wider_line_column has seen.
long long widest_seen = -1;

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

// The same for the cells of every column.
std::vector<std::vector<int>> cell_candidates(const char* const* lines, int count, int columns,
                                              bool utf8) {
    if (utf8) {
        CodePointWidths widths;
        widths.measure_page = [](unsigned first, int page[256]) {
            return list_code_point_widths(PICK_LIST_ID, first, page);
        };
        return widest_cell_candidates(
            lines, count, columns,
            [&](const char* start, size_t length) {
                return estimated_utf8_span_width(start, length, &widths);
            },
            WIDEST_CANDIDATES);
    }
    int widths[256];
    if (!list_char_widths(PICK_LIST_ID, widths))
        return {};
    return widest_cell_candidates(
        lines, count, columns,
        [&](const char* start, size_t length) {
            return estimated_span_width(start, length, widths);
        },
        WIDEST_CANDIDATES);
}

// The text the list's font draws widest, each cut to WIDEST_MEASURED_BYTES;
// the earlier one among equals.
std::string measured_widest(const std::vector<FieldSpan>& texts) {
    std::string widest;
    int widest_width = -1;
    for (const FieldSpan& span : texts) {
        std::string text(span.start, std::min(span.length, WIDEST_MEASURED_BYTES));
        int width = list_text_width(PICK_LIST_ID, text);
        if (width > widest_width) {
            widest_width = width;
            widest.swap(text);
        }
    }
    return widest;
}

}  // namespace

int widest_line_column(const LineStore& lines, bool utf8) {
    if (line_count(lines) == 0)
        return 0;
    std::vector<int> candidates = widest_candidates(lines, utf8);
    if (candidates.empty())
        return 0;
    std::vector<FieldSpan> texts;
    for (int index : candidates) {
        const char* line = line_at(lines, index);
        texts.push_back(FieldSpan{line, strnlen(line, WIDEST_MEASURED_BYTES)});
    }
    return list_fitted_width(PICK_LIST_ID, measured_widest(texts));
}

int wider_line_column(const char* const* lines, int count, bool utf8, int padding) {
    if (count <= 0)
        return 0;
    // The list's own fit would cut it to one row for a moment, and lose the
    // selection of every other row: the text's width plus the fit's padding
    // leaves the list alone.
    if (utf8)
        return list_text_width(PICK_LIST_ID, widest_cells(lines, count, 1, utf8)[0]) + padding;
    int widths[256];
    if (!list_char_widths(PICK_LIST_ID, widths))
        return 0;
    WidestEstimate widest = widest_estimate(lines, count, widths);
    if (widest.width <= widest_seen)
        return 0;
    widest_seen = widest.width;
    const char* line = lines[widest.index];
    return list_text_width(PICK_LIST_ID, std::string(line, strnlen(line, WIDEST_MEASURED_BYTES))) +
           padding;
}

int fit_padding() {
    const std::string sample = "W";
    return std::max(
        0, list_fitted_width(PICK_LIST_ID, sample) - list_text_width(PICK_LIST_ID, sample));
}

std::vector<std::string> widest_cells(const char* const* lines, int count, int columns, bool utf8) {
    std::vector<std::string> widest(static_cast<size_t>(columns));
    std::vector<std::vector<int>> candidates = cell_candidates(lines, count, columns, utf8);
    for (size_t column = 0; column < candidates.size(); ++column) {
        std::vector<FieldSpan> texts;
        for (int index : candidates[column])
            texts.push_back(tab_field(lines[index], static_cast<int>(column),
                                      static_cast<int>(column) == columns - 1));
        widest[column] = measured_widest(texts);
    }
    return widest;
}
