#include "orlipan/pick_loop_win32.h"

#include "frame/frame.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_window_win32.h"
#include "resources/version.h"
#include "toolkit/toolkit.h"

namespace {

bool menu_mode() {
    return (pick_settings.flags & PICK_FLAG_MENU) != 0;
}

int next_action() {
    int kind = wait_event();
    if (kind == EVENT_RESIZE)
        layout_pick_list();
    if (kind == EVENT_DPI_CHANGE)
        rescale_pick_window(event_detail());
    return pick_action_of_event(kind, event_control(), event_detail(), event_shortcut(),
                                menu_mode());
}

// A refused accept is not reported: the user simply goes on.
int checked_action(int action) {
    if (action != PICK_ACCEPT)
        return action;
    int index = list_selected_index(PICK_LIST_ID);
    std::string line = index < 0 ? std::string() : list_item_text(PICK_LIST_ID, index);
    switch (check_accept(index, menu_mode(), line)) {
        case ACCEPT_TAKE:
            pick_state.picked_index = index;
            return PICK_ACCEPT;
        case ACCEPT_REFUSE_AND_CLEAR:
            list_select(PICK_LIST_ID, -1);
            return PICK_NONE;
        default:
            return PICK_NONE;
    }
}

}  // namespace

int run_pick_loop() {
    int action = PICK_NONE;
    while (action == PICK_NONE)
        action = checked_action(next_action());
    return action;
}

void build_pick_output() {
    bool utf8 = (pick_settings.flags & PICK_FLAG_UTF8) != 0;
    // Without /utf8 the template takes the ANSI code page, as if it had come
    // from the ANSI command line, so that the bytes written are those of old.
    std::string output_string = pick_settings.output_string;
    if (!utf8)
        output_string = from_wide_text(to_wide_text(output_string, TEXT_UTF8), TEXT_ANSI);
    std::string out = make_pick_output(output_string, control_text(PICK_LIST_ID),
                                       (pick_settings.flags & PICK_FLAG_QUOTE) != 0);
    if ((pick_settings.flags & PICK_FLAG_OEMOUT) && !out.empty())
        CharToOemA(&out[0], &out[0]);
    if (!out.empty()) {
        if (utf8)
            print_utf8_text(out);
        else
            print_text(out);
    }
    ToolExit = pick_exit_code(pick_state.picked_index);
}

void report_message() {
    if (pick_settings.message.empty())
        return;
    MessageBoxW(nullptr, to_wide_text(pick_settings.message, TEXT_UTF8).c_str(),
                to_wide_text(ORLIPAN_VERSION_TEXT, TEXT_UTF8).c_str(), MB_OK);
}
