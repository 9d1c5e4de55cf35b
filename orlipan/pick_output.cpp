#include "orlipan/pick_output.h"

#include <vector>

#include "frame/text.h"
#include "orlipan/tab_fields.h"
#include "toolkit/event_kinds.h"

int pick_action_of_event(int kind, int control, int detail, int shortcut, bool menu) {
    switch (kind) {
        case EVENT_CONTROL:
            if (control != PICK_LIST_ID)
                return PICK_NONE;
            if (detail == DETAIL_DOUBLE_CLICK)
                return PICK_ACCEPT;
            if (detail == DETAIL_CLICK && menu)
                return PICK_ACCEPT;
            return PICK_NONE;
        case EVENT_SHORTCUT:
            return shortcut == PICK_SHORTCUT_COPY ? PICK_NONE : shortcut;
        case EVENT_CLOSE:
            return PICK_CANCEL;
        default:
            return PICK_NONE;
    }
}

int check_accept(int selected_index, bool menu, const std::string& line) {
    if (selected_index < 0)
        return ACCEPT_REFUSE;
    if (menu && trim_text(line).empty())
        return ACCEPT_REFUSE_AND_CLEAR;
    return ACCEPT_TAKE;
}

namespace {

// Done on the template before the line goes in, so the line's own
// apostrophes are never touched.
std::string quotes_of(const std::string& output_string) {
    return replace_text(output_string, "''", "\"", 0);
}

std::string quoted(const std::string& text, bool quote) {
    return quote ? "\"" + text + "\"" : text;
}

bool is_item_at(const std::string& templ, size_t at) {
    static const char NAME[] = "$item";
    const unsigned char* fold = ascii_fold_table();
    for (size_t i = 0; i + 1 < sizeof NAME; ++i) {
        if (at + i >= templ.size() ||
            fold[static_cast<unsigned char>(templ[at + i])] != static_cast<unsigned char>(NAME[i]))
            return false;
    }
    return true;
}

bool is_field_digit(char c) {
    return c >= '1' && c < '1' + TAB_TEMPLATE_FIELDS;
}

// One pass over the template for $item and $1 .. $9 together, so that a
// field holding "$item" or "$2" is put in as it is.
std::string fill_in_fields(const std::string& templ, const std::string& item, bool quote) {
    const std::vector<std::string> fields = tab_field_texts(item, TAB_TEMPLATE_FIELDS);
    std::string out;
    size_t i = 0;
    while (i < templ.size()) {
        if (templ[i] == '$' && i + 1 < templ.size() && is_field_digit(templ[i + 1])) {
            out += quoted(fields[static_cast<size_t>(templ[i + 1] - '1')], quote);
            i += 2;
        } else if (is_item_at(templ, i)) {
            out += quoted(item, quote);
            i += 5;
        } else {
            out += templ[i++];
        }
    }
    return out;
}

std::string fill_in(const std::string& templ, const std::string& item, bool quote, bool fields) {
    if (fields)
        return fill_in_fields(templ, item, quote);
    return replace_text(templ, "$item", quoted(item, quote), REPLACE_IGNORE_CASE);
}

}  // namespace

std::string make_pick_output(const std::string& output_string, const std::string& item, bool quote,
                             bool fields) {
    return fill_in(quotes_of(output_string), item, quote, fields);
}

std::string make_multi_output(const std::string& output_string, int count,
                              const std::function<std::string(int)>& item_of, bool quote,
                              bool fields) {
    std::string out;
    if (output_string.empty())
        return out;
    const std::string templ = quotes_of(output_string);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += "\r\n";
        out += fill_in(templ, item_of(i), quote, fields);
    }
    return out;
}

int multi_exit_code(int chosen_count) {
    if (chosen_count < 0)
        return 0;
    return chosen_count > PICK_EXIT_LIMIT ? PICK_EXIT_LIMIT : chosen_count;
}

int pick_exit_code(int picked_index) {
    if (picked_index < 0)
        return 0;
    if (picked_index >= PICK_EXIT_LIMIT)
        return PICK_EXIT_LIMIT;
    return picked_index + 1;
}

int auto_action(int shown_count) {
    if (shown_count == 1)
        return PICK_ACCEPT;
    return shown_count == 0 ? PICK_CANCEL : PICK_NONE;
}
