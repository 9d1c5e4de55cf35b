// The platform-free half of the event machinery: the per-thread queue of
// unread events with its merging rule, the live fields and their snapshot,
// shortcut tables, Tab focus order and the arithmetic of sizing a window by
// one of its edges. The Win32 window procedure feeds these; they never touch
// the window system themselves.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "toolkit/event_kinds.h"

// ---- Event queue and state ------------------------------------------------

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

// ---- Shortcuts --------------------------------------------------------------

// Modifier bits of a shortcut entry, as the native accelerator tables use them.
constexpr unsigned char SHORTCUT_FLAG_VIRTKEY = 0x01;
constexpr unsigned char SHORTCUT_FLAG_NOINVERT = 0x02;
constexpr unsigned char SHORTCUT_FLAG_SHIFT = 0x04;
constexpr unsigned char SHORTCUT_FLAG_CONTROL = 0x08;
constexpr unsigned char SHORTCUT_FLAG_ALT = 0x10;

constexpr int SHORTCUT_KEY_SHIFT = 0x10000;
constexpr int SHORTCUT_KEY_CONTROL = 0x20000;
constexpr int SHORTCUT_KEY_ALT = 0x40000;

constexpr int SHORTCUT_FOCUS_NEXT = 64001;
constexpr int SHORTCUT_FOCUS_PREVIOUS = 64002;

struct ShortcutEntry {
    unsigned char modifiers;
    unsigned short key;
    unsigned short command;
};

// Tab and Shift+Tab bound to the two focus commands.
std::vector<ShortcutEntry> initial_shortcuts();
unsigned char shortcut_modifiers(int key);
// Replaces the command of an entry with the same key and modifiers, or appends.
void bind_shortcut(std::vector<ShortcutEntry>& entries, int key, int command);

// ---- Focus order -------------------------------------------------------------

// Index of the candidate that receives the focus; `current` is the focused
// candidate's index or -1. -1 when there are no candidates.
int next_focus_index(int count, int current, bool forward);

// ---- Sizing by an edge ------------------------------------------------------

struct SizeBox {
    int left;
    int top;
    int right;
    int bottom;
};

// Which edges move, encoded as the native sizing-edge numbers 1..8
// (left, right, top, top-left, top-right, bottom, bottom-left, bottom-right).
constexpr int SIZE_EDGE_LEFT = 1;
constexpr int SIZE_EDGE_RIGHT = 2;
constexpr int SIZE_EDGE_TOP = 3;
constexpr int SIZE_EDGE_TOP_LEFT = 4;
constexpr int SIZE_EDGE_TOP_RIGHT = 5;
constexpr int SIZE_EDGE_BOTTOM = 6;
constexpr int SIZE_EDGE_BOTTOM_LEFT = 7;
constexpr int SIZE_EDGE_BOTTOM_RIGHT = 8;

struct SizeLimits {
    int min_width;
    int min_height;
    int max_width;
    int max_height;
};

// The rectangle after the pointer moved by (dx, dy) from where the drag of
// `edge` started; the width and height stay within the limits, and an edge
// that does not move stays exactly where it was.
SizeBox sized_box(const SizeBox& start, int edge, int dx, int dy, const SizeLimits& limits);
