#include "orlipan/pick_options.h"

#include <algorithm>

#include "frame/text.h"
#include "orlipan/pick_help.h"

const char PICK_INVALID_OPTION[] = "Invalid Option: ";
const char PICK_UTF8_OPTION[] = "/utf8";
const char PICK_INVALID_ARGUMENT[] = "Invalid argument: ";

namespace {

// Option keys are ASCII; the value after them may be in any script and is
// left as it is.
std::string lower_ascii(std::string text) {
    const unsigned char* fold = ascii_fold_table();
    for (char& c : text)
        c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    return text;
}

struct WordOption {
    const char* word;
    uint32_t bit;
    const char* font_face = nullptr;  // the list font it chooses, if any
};

// Checked in this order; the first match wins.
const WordOption WORD_OPTIONS[] = {
    {"quote", PICK_FLAG_QUOTE},   {"oemlist", PICK_FLAG_OEMLIST},
    {"oemout", PICK_FLAG_OEMOUT}, {"cmdcenter", PICK_FLAG_CMDCENTER},
    {"menu", PICK_FLAG_MENU},     {"ontop", PICK_FLAG_ONTOP},
    {"utf8", PICK_FLAG_UTF8},     {"filter", PICK_FLAG_FILTER},
    {"multi", PICK_FLAG_MULTI},   {"auto", PICK_FLAG_AUTO},
    {"tab", PICK_FLAG_TAB},       {"fixedfont", 0, "Lucida Console"},
};

struct ValueOption {
    const char* key;
    void (*apply)(int32_t value, PickSettings* settings);
};

// Only the first three characters pick the option, so "fs=12pt" reads as 12.
const ValueOption VALUE_OPTIONS[] = {
    {"fs=", [](int32_t v, PickSettings* s) { s->font_size = v; }},
    {"bg=", [](int32_t v, PickSettings* s) { s->back_color = swap_color_bytes((uint32_t)v); }},
    {"fc=", [](int32_t v, PickSettings* s) { s->text_color = swap_color_bytes((uint32_t)v); }},
    {"dx=", [](int32_t v, PickSettings* s) { s->offset_x = v; }},
    {"dy=", [](int32_t v, PickSettings* s) { s->offset_y = v; }},
};

// Options whose value is a text, kept as typed, case and all.
struct TextOption {
    const char* key;
    std::string PickSettings::*field;
};

const TextOption TEXT_OPTIONS[] = {
    {"sel=", &PickSettings::selection_value},
    {"query=", &PickSettings::query},
};

const char HEADER_KEY[] = "header=";
const size_t HEADER_KEY_SIZE = sizeof HEADER_KEY - 1;

bool is_header_option(const std::string& arg) {
    return texts_equal(lower_ascii(arg.substr(1, HEADER_KEY_SIZE)), HEADER_KEY);
}

// /header=N takes digits only, unlike the number options, which read what
// they can: a header of "2x" lines has no meaning to guess at.
bool apply_header_option(const std::string& arg, PickSettings* settings) {
    int32_t lines = 0;
    for (char c : arg.substr(1 + HEADER_KEY_SIZE)) {
        if (c < '0' || c > '9' || lines > PICK_HEADER_LIMIT)
            return false;
        lines = lines * 10 + (c - '0');
    }
    if (lines < 1 || lines > PICK_HEADER_LIMIT)
        return false;
    settings->header_lines = lines;
    return true;
}

bool apply_word_option(const std::string& opt, PickSettings* settings) {
    for (const WordOption& option : WORD_OPTIONS) {
        if (texts_equal(opt, option.word)) {
            settings->flags |= option.bit;
            if (option.font_face)
                settings->font_face = option.font_face;
            return true;
        }
    }
    return false;
}

bool apply_value_option(std::string opt, PickSettings* settings) {
    // "#RRGGBB" is read as hexadecimal, like "$RRGGBB".
    replace_text(opt, "#", "$", REPLACE_IN_PLACE);
    std::string key = left_text(opt, 3);
    for (const ValueOption& option : VALUE_OPTIONS) {
        if (texts_equal(key, option.key)) {
            option.apply(parse_value32(mid_text(opt, 4)), settings);
            return true;
        }
    }
    return false;
}

// The text option `arg` (as typed) sets, or null.
const TextOption* text_option_of(const std::string& arg) {
    for (const TextOption& option : TEXT_OPTIONS) {
        std::string key = option.key;
        if (texts_equal(lower_ascii(arg.substr(1, key.size())), key))
            return &option;
    }
    return nullptr;
}

bool apply_option(const std::string& arg, PickSettings* settings) {
    if (const TextOption* option = text_option_of(arg)) {
        settings->*(option->field) = arg.substr(1 + std::string(option->key).size());
        return true;
    }
    if (is_header_option(arg))
        return apply_header_option(arg, settings);
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
    std::string tab_as_typed;
    std::string selection_as_typed;
    std::string query_as_typed;
    for (const std::string& arg : arguments) {
        if (first_char_code(arg) == '/') {
            if (!apply_option(arg, &settings)) {
                settings.message = PICK_INVALID_OPTION + arg;
                return settings;
            }
            const TextOption* text_option = text_option_of(arg);
            if (text_option && text_option->field == &PickSettings::selection_value)
                selection_as_typed = arg;
            if (text_option && text_option->field == &PickSettings::query)
                query_as_typed = arg;
            if ((settings.flags & PICK_FLAG_MULTI) && multi_as_typed.empty())
                multi_as_typed = arg;
            if ((settings.flags & PICK_FLAG_TAB) && tab_as_typed.empty())
                tab_as_typed = arg;
            // In menu mode one click already accepts: there is no choosing
            // of several lines to be had, nor a column header to click.
            if ((settings.flags & PICK_FLAG_MULTI) && (settings.flags & PICK_FLAG_MENU)) {
                settings.message = PICK_INVALID_OPTION + multi_as_typed;
                return settings;
            }
            if ((settings.flags & PICK_FLAG_TAB) && (settings.flags & PICK_FLAG_MENU)) {
                settings.message = PICK_INVALID_OPTION + tab_as_typed;
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
    // Whether "2,5" is two numbers or a text depends on /multi, which may
    // come later on the line.
    if (!selection_as_typed.empty() &&
        !read_start_selection(settings.selection_value, (settings.flags & PICK_FLAG_MULTI) != 0,
                              &settings.start)) {
        settings.message = PICK_INVALID_OPTION + selection_as_typed;
        return settings;
    }
    // The typed query lives in the filter box; without one it has no place.
    if (!query_as_typed.empty() && !(settings.flags & PICK_FLAG_FILTER)) {
        settings.message = PICK_INVALID_OPTION + query_as_typed;
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

std::vector<std::string> pick_option_words() {
    std::vector<std::string> words;
    for (const WordOption& option : WORD_OPTIONS)
        words.push_back(option.word);
    for (const ValueOption& option : VALUE_OPTIONS)
        words.push_back(option.key);
    for (const TextOption& option : TEXT_OPTIONS)
        words.push_back(option.key);
    words.push_back(HEADER_KEY);
    return words;
}

std::string file_name_part(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    size_t quote = path.find('"', start);
    size_t length = quote == std::string::npos ? std::string::npos : quote - start;
    return path.substr(start, length);
}
