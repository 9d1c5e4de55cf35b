#include "vemo/box_options.h"

#include <algorithm>

#include "frame/text.h"
#include "resources/version.h"
#include "vemo/box_help.h"

const char* const BOX_USAGE_TEXT =
    "Shows a message box and returns the number of the button pressed.\r\n\r\n"
    "Syntax: Vemo \"title\" \"text\" \"button1;button2..\" [options]";
const char* const BOX_ERROR_TITLE = VEMO_VERSION_TEXT;

namespace {

constexpr int OPTION_MARK = 47;  // "/"

int32_t option_number(const std::string& value) {
    return parse_value32(replace_text(value, "#", "$", 0));
}

// Keys without "=" are whole options: "/FFX" must not pass for "/FF".
bool is_bare_option(const std::string& argument, const std::string& key,
                    const std::string& wanted) {
    return texts_equal(key, wanted) && text_length(argument) == 3;
}

// One code page for the answer: a second, other one is a wrong command line.
bool choose_answer_encoding(BoxSettings& s, int32_t encoding) {
    if (s.answer_encoding != BOX_ANSWER_ANSI && s.answer_encoding != encoding) {
        return false;
    }
    s.answer_encoding = encoding;
    return true;
}

bool choose_icon(BoxSettings& s, const std::string& value) {
    const std::string letter = upper_text(value);
    const char* const letters[] = {"I", "W", "E", "Q"};
    for (int32_t i = 0; i < 4; ++i) {
        if (texts_equal(letter, letters[i])) {
            s.icon = BOX_ICON_INFORMATION + i;
            return true;
        }
    }
    return false;
}

// The options of the answer field and the icon; -1 for any other option.
int apply_field_option(BoxSettings& s, const std::string& key, const std::string& value,
                       const std::string& word) {
    if (texts_equal(word, "IN")) {
        s.input = 1;
    } else if (texts_equal(key, "IN=")) {
        s.input = 1;
        s.input_text = value;
    } else if (texts_equal(word, "PW")) {
        s.input = 1;
        s.password = 1;
    } else if (texts_equal(word, "OEM")) {
        return choose_answer_encoding(s, BOX_ANSWER_OEM);
    } else if (texts_equal(word, "UTF8")) {
        return choose_answer_encoding(s, BOX_ANSWER_UTF8);
    } else if (texts_equal(key, "IC=")) {
        return choose_icon(s, value);
    } else {
        return -1;
    }
    return 1;
}

bool apply_option(BoxSettings& s, const std::string& argument) {
    std::string key = upper_text(mid_text(argument, 2, 3));
    std::string value = mid_text(argument, 5);
    int field = apply_field_option(s, key, value, upper_text(mid_text(argument, 2)));
    if (field >= 0) {
        return field == 1;
    }
    int32_t number = option_number(value);
    if (texts_equal(key, "DB=")) {
        s.default_button = number;
    } else if (texts_equal(key, "BW=")) {
        s.button_width = number;
    } else if (texts_equal(key, "WW=")) {
        s.window_width = number;
    } else if (texts_equal(key, "FS=")) {
        s.font_size = number;
    } else if (is_bare_option(argument, key, "FF")) {
        s.font_name = "Lucida Console";
    } else if (texts_equal(key, "TL=")) {
        s.min_text_lines = number;
    } else if (texts_equal(key, "BG=")) {
        s.background = static_cast<int32_t>(swap_color_bytes(static_cast<uint32_t>(number)));
    } else if (texts_equal(key, "TM=")) {
        s.timeout = number;
    } else if (texts_equal(key, "CR=")) {
        s.break_marker = value;
    } else if (is_bare_option(argument, key, "AL")) {
        s.center_text = 0;
    } else if (is_bare_option(argument, key, "OT")) {
        s.on_top = 1;
    } else if (texts_equal(key, "DX=")) {
        s.offset_x = number;
    } else if (texts_equal(key, "DY=")) {
        s.offset_y = number;
    } else {
        return false;
    }
    return true;
}

}  // namespace

BoxSettings default_box_settings() {
    BoxSettings s;
    s.text = "Text?";
    s.buttons = "Button?";
    s.font_name = "MS Shell DLG 2";
    s.font_size = 9;
    s.center_text = 1;
    s.default_button = 1;
    s.break_marker = "^";
    s.exit_code = BOX_ERROR_EXIT_CODE;
    return s;
}

void read_box_argument(BoxSettings& s, const std::string& argument) {
    if (first_char_code(argument) == OPTION_MARK) {
        if (!apply_option(s, argument)) {
            s.invalid_options += "  " + argument;
            s.error_count += 1;
        }
        return;
    }
    s.positional_count += 1;
    if (s.positional_count == 1) {
        s.title = argument;
    } else if (s.positional_count == 2) {
        s.text = argument;
    } else if (s.positional_count == 3) {
        s.buttons = argument;
    } else {
        s.excess_arguments += "  " + argument;
        s.error_count += 1;
    }
}

void apply_box_report(BoxSettings& s) {
    if (s.error_count == 0 && s.positional_count >= 3) {
        return;
    }
    if (s.error_count != 0) {
        s.text = "Syntax error:";
        if (!s.excess_arguments.empty()) {
            s.text += "\rExcess argument(s):" + s.excess_arguments;
        }
        if (!s.invalid_options.empty()) {
            s.text += "\rInvalid option(s):" + s.invalid_options;
        }
    } else if (s.positional_count == 0) {
        s.text = BOX_USAGE_TEXT;
        s.error_count = 1;
    }
    if (s.error_count != 0) {
        // The report box asks nothing and shows no icon of the command line.
        s.input = 0;
        s.password = 0;
        s.icon = BOX_ICON_NONE;
        s.title = BOX_ERROR_TITLE;
        s.buttons = "Quit";
        s.window_width = BOX_ERROR_WINDOW_WIDTH;
        s.button_width = 0;
        s.center_text = 0;
    }
    // The one button the tool supplies itself shows the countdown.
    if (s.timeout != 0) {
        s.buttons += "  -$";
    }
}

std::string rewrite_box_text(const std::string& text, const std::string& break_marker) {
    const std::string broken = replace_text(text, break_marker, "\r", 0);
    return replace_text(broken, "''", "\"", 0);
}

BoxSettings read_box_settings(const std::vector<std::string>& arguments) {
    BoxSettings s = default_box_settings();
    for (const std::string& argument : arguments) {
        read_box_argument(s, argument);
    }
    if (s.title.empty()) {
        s.title = "Vemo ";
    }
    // "/?" anywhere shows the help in the usage box; the other options only
    // shape its look, and nothing else on the line counts as an error.
    const bool help = std::find(arguments.begin(), arguments.end(), "/?") != arguments.end();
    if (help) {
        s.positional_count = 0;
        s.error_count = 0;
    }
    apply_box_report(s);
    s.text = help ? box_help_text() : rewrite_box_text(s.text, s.break_marker);
    return s;
}
