// The platform-free half of the event machinery: the queue of unread events
// with its merging rule, the live fields and their snapshot, and the thread's
// own queue and state that the window procedure feeds. Nothing here touches
// the window system.
#pragma once

#include <cstdint>
#include <deque>

#include "toolkit/event_kinds.h"

struct PendingEvent {
    int kind;
    int id;
    int window;
    int detail;
};

struct EventQueue {
    std::deque<PendingEvent> entries;
};

struct EventFields {
    int id;
    int window;
    int detail;
    int kind;
    std::intptr_t wparam;
    std::intptr_t lparam;
};

struct EventState {
    EventFields live;
    EventFields snapshot;
};

// False when the event equals the unread tail entry and was merged into it.
bool push_pending_event(EventQueue& queue, const PendingEvent& event);
// False when the queue is empty.
bool pop_pending_event(EventQueue& queue, PendingEvent* event);

// The first step of every wait: no immediate event, no detail yet.
void begin_event_wait(EventState& state);
// Hands out a queued event; the result is its kind.
int deliver_pending_event(EventState& state, const PendingEvent& event);
// After a window message was dispatched: the immediate event set meanwhile,
// or else the message itself. The result is the kind the caller returns.
int deliver_message(EventState& state, unsigned message, std::intptr_t wparam,
                    std::intptr_t lparam);

// ---- The calling thread's queue and state -----------------------------------

EventQueue& thread_event_queue();
EventState& thread_event_state();
// Appends to the thread's queue unless equal to the unread tail entry.
void queue_event(int kind, int id, int window, int detail);
// Sets the live (immediate) event returned by the wait that is dispatching
// the current message.
void set_immediate_event(int kind, int id, int detail);
// Forgets the queue and the live and snapshot fields.
void drop_event_state();
