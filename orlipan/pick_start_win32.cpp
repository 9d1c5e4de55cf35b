#include "orlipan/pick_start_win32.h"

#include "orlipan/line_filter.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "toolkit/toolkit.h"

namespace {

int shown_at_start(const PickWindow& pick) {
    return pick.filter.lines ? shown_row_count(pick.filter) : pick.state.item_count;
}

// The rows that show the lines /sel names, in list order.
std::vector<int> start_rows(const PickWindow& pick) {
    const PickSettings& settings = pick.settings;
    // A text the list's code page cannot hold names no line: the list
    // starts as without /sel.
    std::string text;
    bool held = text_in_lines_encoding(utf8_mode(settings), settings.start.text, &text);
    LineFold fold = fold_for_lines(utf8_mode(settings));
    // Header lines are never chosen, so a text never finds one.
    std::vector<int> lines = start_lines(settings.start, line_count(pick.lines), [&](int line) {
        return held && line >= pick.state.header_count &&
               line_equals(line_at(pick.lines, line), text, fold);
    });
    std::vector<int> rows;
    for (int line : lines) {
        int row = row_of_line(pick.filter, line);
        if (row >= 0)
            rows.push_back(row);
    }
    return rows;
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
        return;
    }
    // The first line is selected, focused and scrolled to, as the arrow keys
    // would leave it; further lines of /multi join the selection.
    list_select(PICK_LIST_ID, rows[0]);
    for (size_t i = 1; i < rows.size(); ++i)
        list_add_selection(PICK_LIST_ID, rows[i]);
}
