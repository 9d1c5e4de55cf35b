#include "toolkit/events.h"

namespace {

bool same_event(const PendingEvent& a, const PendingEvent& b) {
    return a.kind == b.kind && a.id == b.id && a.window == b.window && a.detail == b.detail;
}

// The tools run on one thread; the state is per thread so that a second
// thread with windows of its own would not see the first one's events.
thread_local EventQueue event_queue;
thread_local EventState event_state;

}  // namespace

bool push_pending_event(EventQueue& queue, const PendingEvent& event) {
    // Only the tail can merge: it is unread by construction, because taking
    // the last entry leaves the queue empty.
    if (!queue.entries.empty() && same_event(queue.entries.back(), event)) {
        return false;
    }
    queue.entries.push_back(event);
    return true;
}

bool pop_pending_event(EventQueue& queue, PendingEvent* event) {
    if (queue.entries.empty()) {
        return false;
    }
    *event = queue.entries.front();
    queue.entries.pop_front();
    return true;
}

void begin_event_wait(EventState& state) {
    state.live.detail = DETAIL_NONE;
    state.live.kind = 0;
}

int deliver_pending_event(EventState& state, const PendingEvent& event) {
    state.live.kind = event.kind;
    state.live.id = event.id;
    state.live.window = event.window;
    state.live.detail = event.detail;
    state.live.wparam = 0;
    state.live.lparam = 0;
    state.snapshot = state.live;
    return event.kind;
}

int deliver_message(EventState& state, unsigned message, std::intptr_t wparam,
                    std::intptr_t lparam) {
    int result;
    if (state.live.kind != 0) {
        result = state.live.kind;
        state.live.kind = 0;
    } else {
        result = static_cast<int>(message);
        state.live.wparam = wparam;
        state.live.lparam = lparam;
    }
    state.snapshot = state.live;
    return result;
}

EventQueue& thread_event_queue() {
    return event_queue;
}

EventState& thread_event_state() {
    return event_state;
}

void queue_event(int kind, int id, int window, int detail) {
    push_pending_event(event_queue, PendingEvent{kind, id, window, detail});
}

void set_immediate_event(int kind, int id, int detail) {
    event_state.live.kind = kind;
    event_state.live.id = id;
    event_state.live.detail = detail;
}

void drop_event_state() {
    event_queue.entries.clear();
    event_state = EventState{};
}

int event_control() {
    return event_state.snapshot.id;
}

int event_detail() {
    return event_state.snapshot.detail;
}

int event_window() {
    return event_state.snapshot.window;
}
