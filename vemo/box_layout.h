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
    int32_t dpi = DPI_BASE;  // the display density everything here is for
};

// 32-bit results of arithmetic done in 64 bits, saturated instead of wrapped.
int32_t clamp_to_int32(int64_t value);

// Button captions (between ";") or text lines (between carriage returns).
std::vector<std::string> split_fields(const std::string& text, char delimiter);

// The provisional geometry before measuring at `dpi`; sets the settings'
// button and window widths to the values in use, in the display's pixels.
BoxLayout plan_box_layout(BoxSettings& settings, int32_t dpi = DPI_BASE);

// Rows the label needs for one line `width` pixels wide.
int64_t rows_of_line(int64_t width, int32_t label_width, int32_t font_size, int32_t dpi = DPI_BASE);

// Sizes the label to the measured lines and grows or shrinks the window.
void fit_box_text(BoxLayout& layout, const BoxSettings& settings,
                  const std::vector<TextExtent>& lines);

// Top edge that keeps the window centred after it grew by `growth`; the
// offsets are the command line's 96-DPI pixels.
int32_t moved_window_y(int32_t window_y, int32_t growth, int32_t offset_y, int32_t dpi = DPI_BASE);
int32_t moved_window_x(int32_t window_x, int32_t offset_x, int32_t dpi = DPI_BASE);
