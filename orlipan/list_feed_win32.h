// The list read from the list file or standard input on a thread of its own,
// so that the window can show while a pipe or a long file is still being
// read; lines are taken over in batches by the thread that shows them. A
// UTF-8 byte-order mark is dropped (/utf8) and the lines are turned from the
// OEM code page (/oemlist) before they are taken.
#pragma once

#include <climits>
#include <functional>

#include "orlipan/line_store.h"
#include "orlipan/pick_options.h"

// What a take found.
struct ListNews {
    int added = 0;           // lines added to the store by this take
    bool ended = false;      // the input has ended: every line is in the store
    bool too_large = false;  // the memory ran out; nothing more will come
    unsigned quiet_ms = 0;   // since bytes last came, or since the start
    bool any_bytes = false;  // bytes have come at all
    // A pipe, whose writer may pause; a file is read as fast as it can be,
    // so a gap in its bytes is the reader's own work.
    bool pipe = false;
    // The index of the whole list as guessed from its first megabytes could
    // not be had: it probably does not fit.
    bool unlikely_to_fit = false;
};

// Opens the list input and starts reading it. False when it cannot be
// opened; the report is then pending in settings.message.
bool start_list_feed(PickSettings& settings);
// Reading pauses once this many lines wait (more than any first screen),
// until the showing thread asks for more with release_list_feed: the window
// is put together without a reader beside it taking the processor and the
// memory bus.
constexpr int LIST_FEED_FIRST_LINES = 65536;
void release_list_feed();
// `wake` (called on the reading thread) tells the showing thread that news
// waits; it is called once until the next take.
void set_list_feed_waker(const std::function<void()>& wake);
// Moves the lines read since the last take into `lines`, always the same
// store: at most `most` of them, the others waiting for the next take,
// unless the input has ended.
ListNews take_list_news(LineStore* lines, int most = INT_MAX);
// Reading stops; a read that waits on a pipe is cancelled. Bounded: a reader
// that does not stop in time is left to the end of the process. With
// `drop_lines`, once no line is in use any more, the bytes read are freed.
void stop_list_feed(bool drop_lines = false);
