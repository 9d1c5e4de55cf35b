#include "orlipan/pick_output.h"

#include "frame/text.h"
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
            return shortcut;
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

std::string fill_in(const std::string& templ, const std::string& item, bool quote) {
    const std::string inserted = quote ? "\"" + item + "\"" : item;
    return replace_text(templ, "$item", inserted, REPLACE_IGNORE_CASE);
}

}  // namespace

std::string make_pick_output(const std::string& output_string, const std::string& item,
                             bool quote) {
    return fill_in(quotes_of(output_string), item, quote);
}

std::string make_multi_output(const std::string& output_string, int count,
                              const std::function<std::string(int)>& item_of, bool quote) {
    std::string out;
    if (output_string.empty())
        return out;
    const std::string templ = quotes_of(output_string);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += "\r\n";
        out += fill_in(templ, item_of(i), quote);
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
