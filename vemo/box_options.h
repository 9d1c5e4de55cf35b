// The message box's settings: defaults, the reading of the command line, the
// syntax and usage report that replaces the message when the command line is
// wrong, and the final rewriting of the message text. Pure: the arguments come
// in as a vector, so everything here runs without a window system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BoxSettings {
    std::string title;
    std::string text;
    std::string buttons;
    std::string font_name;
    int32_t font_size = 0;
    int32_t center_text = 0;
    int32_t default_button = 0;
    int32_t button_width = 0;
    int32_t window_width = 0;
    int32_t min_text_lines = 0;
    int32_t background = 0;
    int32_t timeout = 0;
    std::string break_marker;
    int32_t on_top = 0;
    int32_t offset_x = 0;
    int32_t offset_y = 0;
    // The answer field: shown, its starting text, its characters hidden, and
    // the code page its text is written to standard output in.
    int32_t input = 0;
    std::string input_text;
    int32_t password = 0;
    int32_t answer_encoding = 0;
    int32_t icon = 0;  // one of BOX_ICON_
    int32_t positional_count = 0;
    int32_t error_count = 0;
    std::string invalid_options;
    std::string excess_arguments;
    int32_t exit_code = 0;
};

// The values are the toolkit's text encodings and icons, named here for the
// pure parts.
constexpr int32_t BOX_ANSWER_ANSI = 0;
constexpr int32_t BOX_ANSWER_UTF8 = 1;
constexpr int32_t BOX_ANSWER_OEM = 2;
constexpr int32_t BOX_ICON_NONE = 0;
constexpr int32_t BOX_ICON_INFORMATION = 1;
constexpr int32_t BOX_ICON_WARNING = 2;
constexpr int32_t BOX_ICON_ERROR = 3;
constexpr int32_t BOX_ICON_QUESTION = 4;

constexpr int32_t BOX_ERROR_EXIT_CODE = 255;
constexpr int32_t BOX_ERROR_WINDOW_WIDTH = 380;
extern const char* const BOX_USAGE_TEXT;
extern const char* const BOX_ERROR_TITLE;

BoxSettings default_box_settings();
// One argument, as the command-line scanner delivered it.
void read_box_argument(BoxSettings& settings, const std::string& argument);
// Turns the message into the syntax or usage report when the command line
// asks for it and switches the box into its error look.
void apply_box_report(BoxSettings& settings);
// Break markers become carriage returns, two apostrophes a double quote.
std::string rewrite_box_text(const std::string& text, const std::string& break_marker);
// Everything that happens before a window exists, in order.
BoxSettings read_box_settings(const std::vector<std::string>& arguments);
