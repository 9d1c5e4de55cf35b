#include "vemo/box_layout.h"

#include <algorithm>
#include <limits>

#include "frame/text.h"

namespace {

constexpr int32_t LAYOUT_BUTTON_GAP = 5;
constexpr int32_t LAYOUT_WIDTH_RESERVE = 30;

// A 96-DPI distance at `dpi`, in 64 bits: the distances here grow from the font
// size, which may be any 32-bit number, before they are saturated.
int64_t at_dpi(int64_t pixels, int32_t dpi) {
    return dpi_round_div(pixels * dpi, DPI_BASE);
}

}  // namespace

int32_t clamp_to_int32(int64_t value) {
    constexpr int64_t low = std::numeric_limits<int32_t>::min();
    constexpr int64_t high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::min(std::max(value, low), high));
}

std::vector<std::string> split_fields(const std::string& text, char delimiter) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == delimiter) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

BoxLayout plan_box_layout(BoxSettings& s, int32_t dpi, int32_t icon_size) {
    BoxLayout l;
    l.dpi = dpi;
    const int64_t size = s.font_size;
    l.button_count = clamp_to_int32(int64_t{count_substring(s.buttons, ";")} + 1);
    if (s.button_width == 0) {
        s.button_width = clamp_to_int32(size * 10);
    }
    s.button_width = clamp_to_int32(at_dpi(s.button_width, dpi));
    l.button_height = clamp_to_int32(at_dpi(size * 8 / 3, dpi));
    l.margin = clamp_to_int32(at_dpi(size * 2, dpi));
    l.button_gap = clamp_to_int32(at_dpi(LAYOUT_BUTTON_GAP, dpi));
    l.row_width = clamp_to_int32(
        int64_t{l.button_count} * (int64_t{s.button_width} + l.button_gap) - l.button_gap);
    l.icon_size = std::max(icon_size, 0);
    const int64_t beside_icon = l.icon_size > 0 ? int64_t{l.icon_size} + l.margin : 0;
    l.text_x = clamp_to_int32(int64_t{l.margin} + beside_icon);
    int64_t width = at_dpi(s.window_width, dpi);
    width = std::max(
        width, int64_t{l.row_width} + 2 * int64_t{l.margin} + at_dpi(LAYOUT_WIDTH_RESERVE, dpi));
    width = std::max(width, at_dpi(size * 20, dpi) + beside_icon);
    if (s.input != 0) {
        width =
            std::max(width, 2 * int64_t{l.margin} + beside_icon + at_dpi(BOX_FIELD_MIN_WIDTH, dpi));
        l.field_gap = clamp_to_int32(at_dpi(size, dpi));
    }
    s.window_width = clamp_to_int32(width);
    l.label_width = clamp_to_int32(int64_t{s.window_width} - 2 * int64_t{l.margin} - beside_icon);
    l.first_button_x = clamp_to_int32((int64_t{s.window_width} - l.row_width) / 2);
    l.label_height = clamp_to_int32(at_dpi(size * 4, dpi));
    l.button_y = clamp_to_int32(int64_t{l.margin} + l.label_height);
    l.window_height = clamp_to_int32(int64_t{l.button_y} + l.button_height + l.margin);
    return l;
}

// Every row after the first holds only label_width - 2 * font_size pixels.
// Where that is no width at all (a font size below 1 with a negative button
// width) the continuation rows would never end, so the line keeps one row.
int64_t rows_of_line(int64_t width, int32_t label_width, int32_t font_size, int32_t dpi) {
    if (width <= label_width) {
        return 1;
    }
    const int64_t further = int64_t{label_width} - at_dpi(2 * int64_t{font_size}, dpi);
    if (further <= 0) {
        return 1;
    }
    const int64_t rest = width - label_width;
    return 1 + (rest + further - 1) / further;
}

void fit_box_text(BoxLayout& l, const BoxSettings& s, const std::vector<TextExtent>& lines,
                  int32_t field_height) {
    int64_t tallest = 0;
    int64_t rows = 0;
    for (const TextExtent& line : lines) {
        tallest = std::max(tallest, line.height);
        rows = std::min<int64_t>(rows + rows_of_line(line.width, l.label_width, s.font_size, l.dpi),
                                 std::numeric_limits<int32_t>::max());
    }
    l.line_height = clamp_to_int32(tallest);
    l.rows = clamp_to_int32(rows);
    if (s.min_text_lines != 0 && s.min_text_lines > l.rows) {
        l.rows = s.min_text_lines;
    }
    l.text_height = clamp_to_int32((int64_t{l.rows} + 1) * l.line_height);
    const int64_t block = std::max<int64_t>(l.text_height, l.icon_size);
    l.field_height = std::max(field_height, 0);
    l.field_y = clamp_to_int32(int64_t{l.margin} + block);
    const int64_t field = l.field_height > 0 ? int64_t{l.field_height} + l.field_gap : 0;
    l.growth = clamp_to_int32(block + field - at_dpi(int64_t{s.font_size} * 4, l.dpi));
    l.window_height = clamp_to_int32(int64_t{l.window_height} + l.growth);
    l.button_y = clamp_to_int32(int64_t{l.button_y} + l.growth);
}

int32_t moved_window_y(int32_t window_y, int32_t growth, int32_t offset_y, int32_t dpi) {
    return clamp_to_int32(int64_t{window_y} - growth / 2 + at_dpi(offset_y, dpi));
}

int32_t moved_window_x(int32_t window_x, int32_t offset_x, int32_t dpi) {
    return clamp_to_int32(int64_t{window_x} + at_dpi(offset_x, dpi));
}
