#include "orlipan/list_feed_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <new>
#include <string>
#include <vector>

#include "orlipan/list_file_win32.h"
#include "orlipan/pick_modes.h"
#include "orlipan/utf8_list.h"

namespace {

// A file is handed over in steps this large at least, so that a file that
// fits one step is whole before the window may show.
constexpr size_t FEED_FILE_STEP = 1024 * 1024;
// A hold the showing thread forgets to end costs no more than this.
constexpr DWORD FEED_HOLD_MS = 2000;
// A reader that is cancelled ends its step within this time.
constexpr DWORD FEED_STOP_WAIT_MS = 250;

// Shared by the two threads; `lock` guards all below it. Never freed while
// the reading thread may run, so a reader left to the end of the process
// touches only memory of its own.
struct ListFeed {
    HANDLE handle = nullptr;
    bool pipe = false;
    bool utf8 = false;
    bool oem = false;
    HANDLE thread = nullptr;
    HANDLE released = nullptr;  // set: read on past the first lines
    volatile LONG stopping = 0;
    volatile LONG last_bytes_tick = 0;
    volatile LONG any_bytes = 0;
    CRITICAL_SECTION lock;
    std::vector<char*> pending;
    bool ended = false;
    bool too_large = false;
    bool wake_due = false;  // news is waiting that `wake` has not told of
    std::function<void()> wake;
    // The expected number of lines, from the bytes read and the file's size.
    int expected = 0;
    bool guess_refused = false;  // the showing thread's
    LineBytes bytes;             // the reading thread's until it ends
};

ListFeed* feed = nullptr;

void note_bytes(ListFeed* f) {
    InterlockedExchange(&f->last_bytes_tick, static_cast<LONG>(GetTickCount()));
    InterlockedExchange(&f->any_bytes, 1);
}

// Hands lines over; the waker is called outside the lock.
void publish(ListFeed* f, std::vector<char*>* ended, LineStep step, int expected) {
    std::function<void()> wake;
    EnterCriticalSection(&f->lock);
    try {
        f->pending.insert(f->pending.end(), ended->begin(), ended->end());
    } catch (const std::bad_alloc&) {
        step = LINE_STEP_FULL;
    }
    f->ended = step == LINE_STEP_END;
    f->too_large = step == LINE_STEP_FULL;
    f->expected = expected;
    if (!f->wake_due && f->wake)
        wake = f->wake;
    f->wake_due = true;
    LeaveCriticalSection(&f->lock);
    ended->clear();
    if (wake)
        wake();
}

DWORD WINAPI read_list(void* parameter) {
    ListFeed* f = static_cast<ListFeed*>(parameter);
    unsigned long long read_total = 0;
    ByteSource source = [f, &read_total](char* buffer, int capacity) {
        int got = read_list_handle(f->handle, f->pipe, buffer, capacity);
        if (got > 0) {
            read_total += static_cast<unsigned>(got);
            note_bytes(f);
        }
        return got;
    };
    if (f->utf8)
        source = without_utf8_bom(source);
    LARGE_INTEGER size{};
    bool sized = !f->pipe && GetFileSizeEx(f->handle, &size) && size.QuadPart > 0;
    std::vector<char*> ended;
    unsigned long long published = 0;
    size_t lines_read = 0;
    for (;;) {
        size_t first = ended.size();
        LineStep step = LINE_STEP_FULL;
        try {
            step = read_line_step(&f->bytes, source, &ended);
        } catch (const std::bad_alloc&) {
            // The list of ended lines could not grow.
        }
        if (f->stopping)
            step = LINE_STEP_END;
        // Lines are not handed over after every step: only the new ones.
        for (size_t i = first; f->oem && i < ended.size(); ++i)
            OemToCharA(ended[i], ended[i]);
        lines_read += ended.size() - first;
        bool due = f->pipe || step != LINE_STEP_MORE || read_total - published >= FEED_FILE_STEP;
        if (!due)
            continue;
        int expected = 0;
        if (sized && read_total > 0 &&
            read_total < static_cast<unsigned long long>(size.QuadPart)) {
            double guess = static_cast<double>(lines_read) * size.QuadPart / read_total * 1.02;
            // A guess past what an index can hold is refused as such.
            expected = guess < INT_MAX / 2 ? static_cast<int>(guess) : INT_MAX / 2;
        }
        published = read_total;
        bool hold = lines_read >= LIST_FEED_FIRST_LINES &&
                    lines_read - ended.size() < LIST_FEED_FIRST_LINES;
        publish(f, &ended, step, expected);
        if (step != LINE_STEP_MORE)
            break;
        if (hold)
            WaitForSingleObject(f->released, FEED_HOLD_MS);
    }
    return 0;
}

bool open_list(PickSettings& settings) {
    if (settings.list_file == LIST_FROM_STANDARD_INPUT) {
        if (open_standard_input(LIST_FILE_SLOT))
            return true;
        settings.message = "Cannot open standard input";
        return false;
    }
    if (open_list_file(LIST_FILE_SLOT, settings.list_file))
        return true;
    settings.message = "Cannot open " + file_name_part(settings.list_file);
    return false;
}

}  // namespace

bool start_list_feed(PickSettings& settings) {
    if (!open_list(settings))
        return false;
    ListFeed* f = new ListFeed;
    list_file_handle(LIST_FILE_SLOT, &f->handle, &f->pipe);
    f->utf8 = utf8_mode(settings);
    f->oem = oem_list(settings);
    InitializeCriticalSection(&f->lock);
    f->released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    InterlockedExchange(&f->last_bytes_tick, static_cast<LONG>(GetTickCount()));
    f->thread = CreateThread(nullptr, 0, read_list, f, 0, nullptr);
    if (!f->thread) {
        // Reading on this thread instead would leave nothing to show it with.
        settings.message = "List too large";
        return false;
    }
    feed = f;
    return true;
}

void release_list_feed() {
    if (feed && feed->released)
        SetEvent(feed->released);
}

void set_list_feed_waker(const std::function<void()>& wake) {
    if (!feed)
        return;
    bool due = false;
    EnterCriticalSection(&feed->lock);
    feed->wake = wake;
    due = feed->wake_due;
    LeaveCriticalSection(&feed->lock);
    if (due && wake)
        wake();
}

ListNews take_list_news(LineStore* lines, int most) {
    ListNews news;
    if (!feed) {
        news.ended = true;
        return news;
    }
    EnterCriticalSection(&feed->lock);
    // Copied under the lock, so that the waiting list keeps its memory
    // from take to take rather than growing afresh each time.
    std::vector<char*>& pending = feed->pending;
    // A list read whole is taken whole: it shows as it always did.
    size_t count =
        feed->ended ? pending.size() : std::min(pending.size(), static_cast<size_t>(most));
    bool added = add_lines(lines, pending.data(), count, feed->expected, &feed->guess_refused);
    if (added)
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(count));
    news.ended = feed->ended && pending.empty();
    news.too_large = !added || (feed->too_large && pending.empty());
    feed->wake_due = !pending.empty();
    LeaveCriticalSection(&feed->lock);
    news.quiet_ms = GetTickCount() - static_cast<DWORD>(feed->last_bytes_tick);
    news.any_bytes = feed->any_bytes != 0;
    news.pipe = feed->pipe;
    news.unlikely_to_fit = feed->guess_refused;
    news.added = added ? static_cast<int>(count) : 0;
    return news;
}

void stop_list_feed(bool drop_lines) {
    if (!feed)
        return;
    if (feed->thread) {
        InterlockedExchange(&feed->stopping, 1);
        release_list_feed();
        CancelSynchronousIo(feed->thread);
        if (WaitForSingleObject(feed->thread, FEED_STOP_WAIT_MS) != WAIT_OBJECT_0)
            return;
        CloseHandle(feed->thread);
        feed->thread = nullptr;
    }
    if (drop_lines) {
        free_line_bytes(&feed->bytes);
        feed->pending.clear();
        feed->pending.shrink_to_fit();
    }
}
