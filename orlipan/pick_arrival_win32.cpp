#include "orlipan/pick_arrival_win32.h"

#include <string>

#include "orlipan/list_feed_win32.h"
#include "orlipan/pick_filter_win32.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_start_win32.h"
#include "orlipan/pick_window_win32.h"
#include "toolkit/toolkit.h"

namespace {

// A pipe's writer that has written nothing for this long is waited for with
// the window showing; shorter gaps are a writer still busy with its lines. One
// that has written nothing yet may still be starting, as the other side of
// a pipe the command processor starts at the same time.
constexpr unsigned PICK_PAUSE_MS = 20;
constexpr unsigned PICK_FIRST_BYTES_MS = 250;
// Lines taken before the window shows, at most, so that the window is sized
// and shown for its first screen while the rest of a long file waits.
constexpr int PICK_FIRST_TAKE = LIST_FEED_FIRST_LINES;
// Before the window shows, the pause is looked for this often. Once it
// shows, lines are taken at this pace only: the system hands a timer's
// event over after the user's keys and clicks, where a wake after every read
// would come before them and keep Escape waiting while a fast writer writes.
constexpr int PICK_TAKE_TICK_MS = 10;
// The count in the title changes no more often than this, which is enough
// for a reader and spares the drawing of the title bar.
constexpr unsigned PICK_TITLE_PACE_MS = 100;
constexpr char PICK_READING_NOTE[] = " \xE2\x80\x94 reading, ";
constexpr char PICK_READING_COUNT[] = " lines so far";
constexpr char PICK_TOO_LARGE_TEXT[] = "List too large";

// More lines than this fill the window at its tallest.
int first_screen_rows(const PickWindow& pick) {
    int row_height = list_row_height(PICK_LIST_ID);
    if (row_height <= 0)
        row_height = pick_default_row_height(pick.state.dpi);
    return (pick.state.work_area.bottom - pick.state.work_area.top) / row_height;
}

bool may_fill(const PickWindow& pick, const ListNews& news) {
    if (news.ended)
        return true;
    // A list that will not fit is reported as such, not shown in part first.
    if (news.unlikely_to_fit)
        return false;
    int lines = line_count(pick.lines);
    if (lines < pick.settings.header_lines)
        return false;
    if (lines - pick.settings.header_lines > first_screen_rows(pick))
        return true;
    return news.pipe && news.quiet_ms >= (news.any_bytes ? PICK_PAUSE_MS : PICK_FIRST_BYTES_MS);
}

bool report_too_large(PickWindow& pick) {
    // The report box needs memory of its own.
    stop_list_feed(true);
    free_lines(&pick.lines);
    pick.state.item_count = 0;
    pick.settings.message = PICK_TOO_LARGE_TEXT;
    return false;
}

void end_reading(PickWindow& pick) {
    pick.state.reading = false;
    remove_window_timer(PICK_WINDOW, PICK_FEED_TIMER);
}

}  // namespace

bool await_list(PickWindow& pick) {
    set_list_feed_waker(event_waker(PICK_FEED_TIMER));
    add_window_timer(PICK_WINDOW, PICK_FEED_TIMER, PICK_TAKE_TICK_MS);
    pick.state.reading = true;
    for (;;) {
        ListNews news = take_list_news(&pick.lines, PICK_FIRST_TAKE);
        if (news.too_large)
            return report_too_large(pick);
        if (news.ended)
            end_reading(pick);
        if (may_fill(pick, news))
            break;
        release_list_feed();
        wait_event();
    }
    return true;
}

bool take_arrivals(PickWindow& pick) {
    if (!pick.state.reading)
        return true;
    if (pick.state.shown && !pick.state.paced) {
        set_list_feed_waker(nullptr);
        release_list_feed();
        pick.state.paced = true;
    }
    int first_new = line_count(pick.lines);
    ListNews news = take_list_news(&pick.lines);
    if (news.too_large)
        return report_too_large(pick);
    if (news.added > 0) {
        pick.state.item_count = line_count(pick.lines) - pick.state.header_count;
        if (pick.filter.lines)
            add_filter_lines(pick.filter, pick.lines);
        else
            list_add_rows(PICK_LIST_ID, pick.state.item_count);
    }
    if (news.ended)
        end_reading(pick);
    if (pick.state.shown) {
        follow_start_lines(pick, first_new);
        if (news.added > 0)
            grow_pick_window(pick, first_new);
        DWORD now = GetTickCount();
        if (!pick.state.reading || now - pick.state.title_tick >= PICK_TITLE_PACE_MS) {
            show_reading_title(pick);
            pick.state.title_tick = now;
        }
    }
    return true;
}

void show_reading_title(const PickWindow& pick) {
    std::string title = pick.settings.title;
    if (pick.state.reading)
        title += PICK_READING_NOTE + std::to_string(line_count(pick.lines)) + PICK_READING_COUNT;
    set_window_title(PICK_WINDOW, title);
}
