#include "orlipan/pick_start_win32.h"

#include <algorithm>

#include "orlipan/line_filter.h"
#include "orlipan/list_feed_win32.h"
#include "orlipan/pick_arrival_win32.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "toolkit/toolkit.h"

namespace {

int shown_at_start(const PickWindow& pick) {
    return pick.filter.lines ? shown_row_count(pick.filter) : pick.state.item_count;
}

// The rows that show the lines /sel names, in list order, a text looked for
// from line `from` on. While the input is read, a number past the lines read
// so far waits for its line rather than naming the last one.
std::vector<int> start_rows(const PickWindow& pick, int from = 0) {
    const PickSettings& settings = pick.settings;
    int count = line_count(pick.lines);
    StartSelection start = settings.start;
    if (pick.state.reading) {
        auto past = [count](int n) { return n > count; };
        start.numbers.erase(std::remove_if(start.numbers.begin(), start.numbers.end(), past),
                            start.numbers.end());
        if (start.numbers.empty() && !settings.start.numbers.empty())
            return {};
    }
    // A text the list's code page cannot hold names no line: the list
    // starts as without /sel.
    std::string text;
    bool held = text_in_lines_encoding(utf8_mode(settings), start.text, &text);
    LineFold fold = fold_for_lines(utf8_mode(settings));
    // Header lines are never chosen, so a text never finds one.
    std::vector<int> lines = start_lines(
        start, count,
        [&](int line) {
            return held && line >= pick.state.header_count &&
                   line_equals(line_at(pick.lines, line), text, fold);
        },
        from);
    std::vector<int> rows;
    for (int line : lines) {
        int row = row_of_line(pick.filter, line);
        if (row >= 0)
            rows.push_back(row);
    }
    return rows;
}

// Whether later lines can still change what /sel selects: a text found is
// found for good; numbers wait until their lines are in.
bool start_settled(const PickWindow& pick, const std::vector<int>& rows) {
    const StartSelection& start = pick.settings.start;
    if (!pick.state.reading || !start.given)
        return true;
    if (start.numbers.empty())
        return !rows.empty();
    return *std::max_element(start.numbers.begin(), start.numbers.end()) <= line_count(pick.lines);
}

// The first row is selected, focused and scrolled to, as the arrow keys
// would leave it; further rows of /multi join the selection.
void select_rows(const std::vector<int>& rows) {
    list_select(PICK_LIST_ID, rows[0]);
    for (size_t i = 1; i < rows.size(); ++i)
        list_add_selection(PICK_LIST_ID, rows[i]);
}

}  // namespace

std::string in_line_encoding(const PickSettings& settings, const std::string& text) {
    if (utf8_mode(settings))
        return text;
    return from_wide_text(to_wide_text(text, TEXT_UTF8), TEXT_ANSI);
}

int start_pick(PickWindow& pick) {
    if (filtering(pick.filter) && !pick.settings.query.empty()) {
        // The box shows the query as given; refilter tells whether the
        // list's code page can hold it.
        set_control_text(PICK_BOX_ID, pick.settings.query);
        move_edit_caret_to_end(PICK_BOX_ID);
        refilter(pick.filter);
    }
    if (!auto_mode(pick.settings))
        return PICK_NONE;
    // One line shown is the answer only once no other can come; a second
    // one shown is a choice, and the window shows for it.
    while (pick.state.reading && shown_at_start(pick) < 2) {
        release_list_feed();
        if (wait_event() == EVENT_TIMER && event_timer() == PICK_FEED_TIMER && !take_arrivals(pick))
            return PICK_CANCEL;
    }
    int action = auto_action(shown_at_start(pick));
    if (action == PICK_ACCEPT)
        list_select(PICK_LIST_ID, 0);
    return action;
}

void select_start_lines(PickWindow& pick) {
    std::vector<int> rows = start_rows(pick);
    if (rows.empty()) {
        bool typed = filtering(pick.filter) && !pick.settings.query.empty();
        // A query that left no line leaves nothing to select; one that left
        // some has selected the first already, or nothing in menu mode.
        if (!typed)
            list_select(PICK_LIST_ID, pick.state.initial_selection);
    } else {
        select_rows(rows);
    }
    pick.state.start_rows = list_selected_indexes(PICK_LIST_ID);
    pick.state.start_settled = start_settled(pick, rows);
}

void follow_start_lines(PickWindow& pick, int first_new) {
    PickState& state = pick.state;
    if (!pick.settings.start.given || state.start_settled)
        return;
    // Any other selection is the user's: from then on it is left alone.
    if (list_selected_indexes(PICK_LIST_ID) != state.start_rows) {
        state.start_settled = true;
        return;
    }
    std::vector<int> rows = start_rows(pick, first_new);
    state.start_settled = start_settled(pick, rows);
    if (rows.empty() || rows == state.start_rows)
        return;
    select_rows(rows);
    state.start_rows = list_selected_indexes(PICK_LIST_ID);
}
