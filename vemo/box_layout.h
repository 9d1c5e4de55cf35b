// Pixel geometry of the message box. Every distance derives from the font
// size; the text rows are estimated from the widths and heights the window
// system measured for each line, which the caller passes in. Distances are
// written for 96 DPI and scaled to the display's DPI (the command line's
// pixel options too), so a box looks the same on every display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/dpi_scale.h"
#include "vemo/box_options.h"

constexpr int32_t BOX_FIELD_MIN_WIDTH = 200;  // pixels at 96 DPI

struct TextExtent {
    int64_t width = 0;
    int64_t height = 0;
};

struct BoxLayout {
    int32_t button_count = 0;
    int32_t button_height = 0;
    int32_t margin = 0;
    int32_t row_width = 0;
    int32_t label_width = 0;
    int32_t first_button_x = 0;
    int32_t label_height = 0;
    int32_t button_y = 0;
    int32_t window_height = 0;
    int32_t line_height = 0;
    int32_t rows = 0;
    int32_t text_height = 0;
    int32_t growth = 0;
    int32_t button_gap = 0;
    // The icon left of the text, the text beside it, the answer field under
    // the text; without them the text starts at the margin.
    int32_t icon_size = 0;
    int32_t text_x = 0;
    int32_t field_y = 0;
    int32_t field_height = 0;
    int32_t field_gap = 0;
    int32_t dpi = DPI_BASE;  // the display density everything here is for
};

// 32-bit results of arithmetic done in 64 bits, saturated instead of wrapped.
int32_t clamp_to_int32(int64_t value);

// Button captions (between ";") or text lines (between carriage returns).
std::vector<std::string> split_fields(const std::string& text, char delimiter);

// The provisional geometry before measuring at `dpi`; sets the settings'
// button and window widths to the values in use, in the display's pixels.
// `icon_size` is the system's icon size at `dpi`, 0 without an icon; the text
// moves right by it and a margin. An answer field (settings.input) asks for a
// text at least BOX_FIELD_MIN_WIDTH wide.
BoxLayout plan_box_layout(BoxSettings& settings, int32_t dpi = DPI_BASE, int32_t icon_size = 0);

// Rows the label needs for one line `width` pixels wide.
int64_t rows_of_line(int64_t width, int32_t label_width, int32_t font_size, int32_t dpi = DPI_BASE);

// Sizes the label to the measured lines and grows or shrinks the window; the
// text and the icon beside it take the height of the taller, and an answer
// field `field_height` pixels high (0: none) goes under them.
void fit_box_text(BoxLayout& layout, const BoxSettings& settings,
                  const std::vector<TextExtent>& lines, int32_t field_height = 0);

// Top edge that keeps the window centred after it grew by `growth`; the
// offsets are the command line's 96-DPI pixels.
int32_t moved_window_y(int32_t window_y, int32_t growth, int32_t offset_y, int32_t dpi = DPI_BASE);
int32_t moved_window_x(int32_t window_x, int32_t offset_x, int32_t dpi = DPI_BASE);
