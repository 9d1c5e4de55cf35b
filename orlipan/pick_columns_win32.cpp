#include "orlipan/pick_columns_win32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "frame/text.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "orlipan/tab_fields.h"
#include "orlipan/widest_line_win32.h"
#include "toolkit/toolkit.h"

namespace {

// Room in a title for the system's sort arrow, at 96 DPI.
constexpr int PICK_SORT_ARROW_ROOM = 18;
// Space above and below the band's lines, at 96 DPI.
constexpr int PICK_BAND_PADDING = 2;
// The band has no columns to line tabs up with: a tab shows as eight spaces,
// which also measure as wide as they show.
const char PICK_TAB_AS_SPACES[] = "        ";

const char* tab_cell(const char* line, int column, bool last, size_t* length) {
    FieldSpan field = tab_field(line, column, last);
    *length = field.length;
    return field.start;
}

int column_count_of(const PickWindow& pick) {
    if (!tab_mode(pick.settings))
        return 1;
    int columns = 1;
    for (int i = 0; i < line_count(pick.lines) && columns < TAB_COLUMN_LIMIT; ++i)
        columns = std::max(columns, tab_field_count(line_at(pick.lines, i)));
    return std::min(columns, TAB_COLUMN_LIMIT);
}

std::vector<ListColumn> columns_of(const PickWindow& pick, int count) {
    std::vector<ListColumn> columns(static_cast<size_t>(count));
    int header = pick.state.header_count;
    if (header == 0)
        return columns;
    const char* names = line_at(pick.lines, header - 1);
    for (int i = 0; i < count; ++i) {
        FieldSpan title = tab_mode(pick.settings) ? tab_field(names, i, i == count - 1)
                                                  : FieldSpan{names, std::strlen(names)};
        columns[static_cast<size_t>(i)].title.assign(title.start, title.length);
    }
    return columns;
}

std::string band_line(const PickWindow& pick, int line) {
    return replace_text(std::string(line_at(pick.lines, line)), "\t", PICK_TAB_AS_SPACES, 0);
}

int band_width(const PickWindow& pick) {
    int widest = 0;
    for (int line = 0; line + 1 < pick.state.header_count; ++line)
        widest = std::max(widest, (int)control_text_extent(PICK_BAND_ID, band_line(pick, line)).cx);
    return widest;
}

}  // namespace

void set_up_pick_columns(PickWindow& pick, HFONT font) {
    PickState& state = pick.state;
    state.header_count = std::min<int>(pick.settings.header_lines, line_count(pick.lines));
    int encoding = utf8_mode(pick.settings) ? TEXT_UTF8 : TEXT_ANSI;
    if (state.header_count > 1) {
        std::string text;
        for (int line = 0; line + 1 < state.header_count; ++line)
            text += (line > 0 ? "\r\n" : "") + band_line(pick, line);
        // No prefix: an ampersand in a header line is text, not a shortcut.
        create_label(PICK_BAND_ID, 0, 0, 0, 0, "", SS_NOPREFIX | SS_LEFTNOWORDWRAP);
        set_control_encoding(PICK_BAND_ID, encoding);
        set_control_font(PICK_BAND_ID, font);
        // Drawn apart from the lines as the title row is.
        set_control_color(PICK_BAND_ID, COLOR_SLOT_BACK, GetSysColor(COLOR_BTNFACE));
        set_control_text(PICK_BAND_ID, text);
        int line_height = control_text_extent(PICK_BAND_ID, "Ag").cy;
        state.band_height =
            line_height * (state.header_count - 1) + 2 * scale_to_dpi(PICK_BAND_PADDING, state.dpi);
    }
    int columns = column_count_of(pick);
    list_set_columns(PICK_LIST_ID, columns_of(pick, columns),
                     tab_mode(pick.settings) ? tab_cell : nullptr);
    state.header_height = list_header_height(PICK_LIST_ID);
}

int fit_pick_columns(PickWindow& pick) {
    PickState& state = pick.state;
    int columns = list_column_count(PICK_LIST_ID);
    std::vector<ListColumn> titles = columns_of(pick, columns);
    std::vector<std::string> widest = widest_cells(pick.lines.lines + state.header_count,
                                                   line_count(pick.lines) - state.header_count,
                                                   columns, utf8_mode(pick.settings));
    state.column_widths.assign(static_cast<size_t>(columns), 0);
    int total = 0;
    for (int column = 0; column < columns; ++column) {
        size_t i = static_cast<size_t>(column);
        int width = list_fitted_width(PICK_LIST_ID, widest[i]);
        if (state.header_height > 0) {
            int title = list_fitted_width(PICK_LIST_ID, titles[i].title) +
                        scale_to_dpi(PICK_SORT_ARROW_ROOM, state.dpi);
            width = std::max(width, title);
        }
        state.column_widths[i] = width;
        list_set_column_width(PICK_LIST_ID, column, width);
        total += width;
    }
    return std::max(total, band_width(pick));
}

void lay_out_pick_columns(const PickWindow& pick) {
    const std::vector<int>& widths = pick.state.column_widths;
    if (widths.empty())
        return;
    int others = 0;
    for (size_t i = 0; i + 1 < widths.size(); ++i)
        others += widths[i];
    int room = list_inner_width(PICK_LIST_ID) - others;
    list_set_column_width(PICK_LIST_ID, static_cast<int>(widths.size()) - 1,
                          std::max(widths.back(), room));
}

void rescale_pick_columns(PickWindow& pick, int old_dpi, int dpi, HFONT font) {
    PickState& state = pick.state;
    if (old_dpi <= 0 || old_dpi == dpi)
        return;
    for (size_t i = 0; i < state.column_widths.size(); ++i) {
        state.column_widths[i] = MulDiv(state.column_widths[i], dpi, old_dpi);
        list_set_column_width(PICK_LIST_ID, static_cast<int>(i), state.column_widths[i]);
    }
    if (state.band_height > 0) {
        set_control_font(PICK_BAND_ID, font);
        state.band_height = MulDiv(state.band_height, dpi, old_dpi);
    }
    state.header_height = list_header_height(PICK_LIST_ID);
}
