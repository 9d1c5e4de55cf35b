#include "orlipan/pick_loop_win32.h"

#include <vector>

#include "frame/frame.h"
#include "orlipan/pick_filter_win32.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_window_win32.h"
#include "resources/version.h"
#include "toolkit/toolkit.h"

namespace {

// /multi: the list rows chosen when the user accepted.
std::vector<int> chosen_rows;

bool menu_mode() {
    return (pick_settings.flags & PICK_FLAG_MENU) != 0;
}

bool multi_mode() {
    return (pick_settings.flags & PICK_FLAG_MULTI) != 0;
}

bool utf8_mode() {
    return (pick_settings.flags & PICK_FLAG_UTF8) != 0;
}

int next_action() {
    int kind = wait_event();
    if (kind == EVENT_RESIZE)
        layout_pick_list();
    if (kind == EVENT_DPI_CHANGE)
        rescale_pick_window(event_detail());
    if (kind == EVENT_CONTROL && event_control() == PICK_BOX_ID && event_detail() == DETAIL_CHANGE)
        refilter();
    int action =
        pick_action_of_event(kind, event_control(), event_detail(), event_shortcut(), menu_mode());
    // Escape first takes back what was typed; only an empty box cancels.
    if (kind == EVENT_SHORTCUT && action == PICK_CANCEL && clear_filter_box())
        return PICK_NONE;
    return action;
}

// A refused accept is not reported: the user simply goes on.
int checked_action(int action) {
    if (action != PICK_ACCEPT)
        return action;
    if (multi_mode()) {
        chosen_rows = list_selected_indexes(PICK_LIST_ID);
        return chosen_rows.empty() ? PICK_NONE : PICK_ACCEPT;
    }
    int index = list_selected_index(PICK_LIST_ID);
    std::string line = index < 0 ? std::string() : list_item_text(PICK_LIST_ID, index);
    switch (check_accept(index, menu_mode(), line)) {
        case ACCEPT_TAKE:
            // The answer names the line in the whole list, whatever the
            // filter shows.
            pick_state.picked_index = line_of_row(index);
            return PICK_ACCEPT;
        case ACCEPT_REFUSE_AND_CLEAR:
            list_select(PICK_LIST_ID, -1);
            return PICK_NONE;
        default:
            return PICK_NONE;
    }
}

// Without /utf8 the template takes the ANSI code page, as if it had come
// from the ANSI command line, so that the bytes written are those of old.
std::string output_template() {
    if (utf8_mode())
        return pick_settings.output_string;
    return from_wide_text(to_wide_text(pick_settings.output_string, TEXT_UTF8), TEXT_ANSI);
}

void print_output(std::string out) {
    if ((pick_settings.flags & PICK_FLAG_OEMOUT) && !out.empty())
        CharToOemA(&out[0], &out[0]);
    if (out.empty())
        return;
    if (utf8_mode())
        print_utf8_text(out);
    else
        print_text(out);
}

}  // namespace

int run_pick_loop() {
    int action = PICK_NONE;
    while (action == PICK_NONE)
        action = checked_action(next_action());
    return action;
}

void build_pick_output() {
    bool quote = (pick_settings.flags & PICK_FLAG_QUOTE) != 0;
    std::string output_string = output_template();
    if (multi_mode()) {
        int count = static_cast<int>(chosen_rows.size());
        print_output(make_multi_output(
            output_string, count,
            [](int i) { return list_item_text(PICK_LIST_ID, chosen_rows[i]); }, quote));
        ToolExit = multi_exit_code(count);
        return;
    }
    print_output(make_pick_output(output_string, control_text(PICK_LIST_ID), quote));
    ToolExit = pick_exit_code(pick_state.picked_index);
}

void report_message() {
    if (pick_settings.message.empty())
        return;
    MessageBoxW(nullptr, to_wide_text(pick_settings.message, TEXT_UTF8).c_str(),
                to_wide_text(ORLIPAN_VERSION_TEXT, TEXT_UTF8).c_str(), MB_OK);
}
