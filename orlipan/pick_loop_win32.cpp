#include "orlipan/pick_loop_win32.h"

#include <vector>

#include "orlipan/pick_arrival_win32.h"
#include "orlipan/pick_filter_win32.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_start_win32.h"
#include "orlipan/pick_window_win32.h"
#include "resources/version.h"
#include "toolkit/toolkit.h"

namespace {

constexpr char PICK_SORT_MEMORY_TEXT[] =
    "Not enough memory to sort the list. The list keeps its order; you can go on picking.";

// Ctrl+C: in the filter box its own selection, as an edit box copies it;
// otherwise the chosen lines as the list holds them, one a line, in the
// order shown. Nothing chosen leaves the clipboard as it was.
void copy_choice(const PickWindow& pick) {
    if (filtering(pick.filter) && focused_control() == PICK_BOX_ID &&
        copy_edit_selection(PICK_BOX_ID))
        return;
    std::vector<int> rows;
    if (multi_mode(pick.settings)) {
        rows = list_selected_indexes(PICK_LIST_ID);
    } else if (list_selected_index(PICK_LIST_ID) >= 0) {
        rows.push_back(list_selected_index(PICK_LIST_ID));
    }
    if (rows.empty())
        return;
    std::string text;
    for (size_t i = 0; i < rows.size(); ++i)
        text += (i == 0 ? "" : "\r\n") + list_item_text(PICK_LIST_ID, rows[i]);
    copy_text(PICK_WINDOW, text, utf8_mode(pick.settings) ? TEXT_UTF8 : TEXT_ANSI);
}

int next_action(PickWindow& pick) {
    int kind = wait_event();
    // A list too large for the memory ends the pick; the report is pending.
    if (kind == EVENT_TIMER && event_timer() == PICK_FEED_TIMER && !take_arrivals(pick))
        return PICK_CANCEL;
    if (kind == EVENT_SHORTCUT && event_shortcut() == PICK_SHORTCUT_COPY)
        copy_choice(pick);
    if (kind == EVENT_RESIZE)
        layout_pick_list(pick);
    if (kind == EVENT_DPI_CHANGE)
        rescale_pick_window(pick, event_detail());
    if (kind == EVENT_CONTROL && event_control() == PICK_BOX_ID && event_detail() == DETAIL_CHANGE)
        refilter(pick.filter);
    int column = event_detail() - DETAIL_COLUMN_CLICK;
    if (kind == EVENT_CONTROL && event_control() == PICK_LIST_ID && column >= 0 &&
        column < DETAIL_COLUMN_LIMIT) {
        // Sorting only reorders: without its memory the pick goes on unsorted.
        if (!sort_rows(pick.filter, column))
            MessageBoxA(window_handle(PICK_WINDOW), PICK_SORT_MEMORY_TEXT, ORLIPAN_VERSION_TEXT,
                        MB_OK | MB_ICONWARNING);
        // Typing goes on narrowing the sorted list.
        if (filtering(pick.filter))
            focus_control(PICK_BOX_ID);
    }
    int action = pick_action_of_event(kind, event_control(), event_detail(), event_shortcut(),
                                      menu_mode(pick.settings));
    // Escape first takes back what was typed; only an empty box cancels.
    if (kind == EVENT_SHORTCUT && action == PICK_CANCEL && clear_filter_box(pick.filter))
        return PICK_NONE;
    return action;
}

}  // namespace

int check_pick_action(PickWindow& pick, int action) {
    if (action != PICK_ACCEPT)
        return action;
    if (multi_mode(pick.settings)) {
        pick.chosen_rows = list_selected_indexes(PICK_LIST_ID);
        return pick.chosen_rows.empty() ? PICK_NONE : PICK_ACCEPT;
    }
    int index = list_selected_index(PICK_LIST_ID);
    std::string line = index < 0 ? std::string() : list_item_text(PICK_LIST_ID, index);
    switch (check_accept(index, menu_mode(pick.settings), line)) {
        case ACCEPT_TAKE:
            // The answer names the line in the whole list, whatever the
            // filter shows.
            pick.state.picked_index = line_of_row(pick.filter, index);
            return PICK_ACCEPT;
        case ACCEPT_REFUSE_AND_CLEAR:
            list_select(PICK_LIST_ID, -1);
            return PICK_NONE;
        default:
            return PICK_NONE;
    }
}

int run_pick_loop(PickWindow& pick) {
    int action = PICK_NONE;
    while (action == PICK_NONE)
        action = check_pick_action(pick, next_action(pick));
    return action;
}

void report_message(const PickSettings& settings) {
    if (settings.message.empty())
        return;
    MessageBoxW(nullptr, to_wide_text(settings.message, TEXT_UTF8).c_str(),
                to_wide_text(ORLIPAN_VERSION_TEXT, TEXT_UTF8).c_str(), MB_OK);
}
