#include "orlipan/pick_options.h"

#include <algorithm>

#include "frame/text.h"
#include "orlipan/pick_help.h"

const char PICK_INVALID_OPTION[] = "Invalid Option: ";
const char PICK_UTF8_OPTION[] = "/utf8";
const char PICK_INVALID_ARGUMENT[] = "Invalid argument: ";

namespace {

struct WordOption {
    const char* word;
    uint32_t bit;
};

// Checked in this order; the first match wins.
const WordOption WORD_OPTIONS[] = {
    {"quote", PICK_FLAG_QUOTE},   {"oemlist", PICK_FLAG_OEMLIST},
    {"oemout", PICK_FLAG_OEMOUT}, {"cmdcenter", PICK_FLAG_CMDCENTER},
    {"menu", PICK_FLAG_MENU},     {"ontop", PICK_FLAG_ONTOP},
    {"utf8", PICK_FLAG_UTF8},     {"filter", PICK_FLAG_FILTER},
    {"multi", PICK_FLAG_MULTI},
};

bool apply_word_option(const std::string& opt, PickSettings* settings) {
    for (const WordOption& option : WORD_OPTIONS) {
        if (texts_equal(opt, option.word)) {
            settings->flags |= option.bit;
            return true;
        }
    }
    if (texts_equal(opt, "fixedfont")) {
        settings->font_face = "Lucida Console";
        return true;
    }
    return false;
}

// Only the first three characters pick the option, so "fs=12pt" reads as 12.
bool apply_value_option(std::string opt, PickSettings* settings) {
    // "#RRGGBB" is read as hexadecimal, like "$RRGGBB".
    replace_text(opt, "#", "$", REPLACE_IN_PLACE);
    std::string key = left_text(opt, 3);
    int32_t value = parse_value32(mid_text(opt, 4));
    if (texts_equal(key, "fs=")) {
        settings->font_size = value;
    } else if (texts_equal(key, "bg=")) {
        settings->back_color = swap_color_bytes((uint32_t)value);
    } else if (texts_equal(key, "fc=")) {
        settings->text_color = swap_color_bytes((uint32_t)value);
    } else if (texts_equal(key, "dx=")) {
        settings->offset_x = value;
    } else if (texts_equal(key, "dy=")) {
        settings->offset_y = value;
    } else {
        return false;
    }
    return true;
}

bool apply_option(const std::string& arg, PickSettings* settings) {
    std::string opt = lower_text(mid_text(arg, 2));
    return apply_word_option(opt, settings) || apply_value_option(opt, settings);
}

bool apply_positional(const std::string& arg, const PathExpander& expand_path,
                      PickSettings* settings) {
    settings->positional_count += 1;
    switch (settings->positional_count) {
        case 1:
            settings->list_file = expand_path(arg);
            return true;
        case 2:
            settings->title = arg;
            return true;
        case 3:
            settings->output_string = arg;
            return true;
        default:
            return false;
    }
}

}  // namespace

PickSettings parse_pick_arguments(const std::vector<std::string>& arguments,
                                  const PathExpander& expand_path) {
    PickSettings settings;
    settings.font_face = "Verdana";
    // "/?" anywhere asks for the help alone, whatever else the line holds.
    if (std::find(arguments.begin(), arguments.end(), "/?") != arguments.end()) {
        settings.message = pick_help_text();
        return settings;
    }
    std::string multi_as_typed;
    for (const std::string& arg : arguments) {
        if (first_char_code(arg) == '/') {
            if (!apply_option(arg, &settings)) {
                settings.message = PICK_INVALID_OPTION + arg;
                return settings;
            }
            if ((settings.flags & PICK_FLAG_MULTI) && multi_as_typed.empty())
                multi_as_typed = arg;
            // In menu mode one click already accepts: there is no choosing
            // of several lines to be had.
            if ((settings.flags & PICK_FLAG_MULTI) && (settings.flags & PICK_FLAG_MENU)) {
                settings.message = PICK_INVALID_OPTION + multi_as_typed;
                return settings;
            }
        } else if (!apply_positional(arg, expand_path, &settings)) {
            settings.message = PICK_INVALID_ARGUMENT + arg;
            return settings;
        }
    }
    // A UTF-8 list or output has no OEM form to convert from or to.
    if ((settings.flags & PICK_FLAG_UTF8) &&
        (settings.flags & (PICK_FLAG_OEMLIST | PICK_FLAG_OEMOUT))) {
        settings.message = std::string(PICK_INVALID_OPTION) + PICK_UTF8_OPTION;
        return settings;
    }
    if (settings.positional_count == 0) {
        settings.message = PICK_USAGE_TEXT;
        return settings;
    }
    // Zero counts as "not given" for these two, so /bg=#000000 stays white.
    if (settings.font_size == 0)
        settings.font_size = PICK_DEFAULT_FONT_SIZE;
    if (settings.back_color == 0)
        settings.back_color = PICK_DEFAULT_BACK_COLOR;
    return settings;
}

std::string file_name_part(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    size_t quote = path.find('"', start);
    size_t length = quote == std::string::npos ? std::string::npos : quote - start;
    return path.substr(start, length);
}
