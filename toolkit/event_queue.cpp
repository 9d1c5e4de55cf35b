#include "toolkit/event_queue.h"

#include <algorithm>

namespace {

bool same_event(const PendingEvent& a, const PendingEvent& b) {
    return a.kind == b.kind && a.id == b.id && a.window == b.window && a.detail == b.detail;
}

bool moves_left(int edge) {
    return edge == SIZE_EDGE_LEFT || edge == SIZE_EDGE_TOP_LEFT || edge == SIZE_EDGE_BOTTOM_LEFT;
}

bool moves_right(int edge) {
    return edge == SIZE_EDGE_RIGHT || edge == SIZE_EDGE_TOP_RIGHT || edge == SIZE_EDGE_BOTTOM_RIGHT;
}

bool moves_top(int edge) {
    return edge == SIZE_EDGE_TOP || edge == SIZE_EDGE_TOP_LEFT || edge == SIZE_EDGE_TOP_RIGHT;
}

bool moves_bottom(int edge) {
    return edge == SIZE_EDGE_BOTTOM || edge == SIZE_EDGE_BOTTOM_LEFT ||
           edge == SIZE_EDGE_BOTTOM_RIGHT;
}

int clamp_length(int length, int low, int high) {
    // A minimum larger than the maximum wins, as the system's own sizing does.
    return std::max(std::min(length, high), low);
}

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

std::vector<ShortcutEntry> initial_shortcuts() {
    std::vector<ShortcutEntry> entries;
    bind_shortcut(entries, 9, SHORTCUT_FOCUS_NEXT);
    bind_shortcut(entries, 9 | SHORTCUT_KEY_SHIFT, SHORTCUT_FOCUS_PREVIOUS);
    return entries;
}

unsigned char shortcut_modifiers(int key) {
    unsigned char modifiers = SHORTCUT_FLAG_VIRTKEY | SHORTCUT_FLAG_NOINVERT;
    if (key & SHORTCUT_KEY_SHIFT) {
        modifiers |= SHORTCUT_FLAG_SHIFT;
    }
    if (key & SHORTCUT_KEY_CONTROL) {
        modifiers |= SHORTCUT_FLAG_CONTROL;
    }
    if (key & SHORTCUT_KEY_ALT) {
        modifiers |= SHORTCUT_FLAG_ALT;
    }
    return modifiers;
}

void bind_shortcut(std::vector<ShortcutEntry>& entries, int key, int command) {
    unsigned char modifiers = shortcut_modifiers(key);
    auto code = static_cast<unsigned short>(key & 0xFFFF);
    auto id = static_cast<unsigned short>(command & 0xFFFF);
    for (ShortcutEntry& entry : entries) {
        if (entry.key == code && entry.modifiers == modifiers) {
            entry.command = id;
            return;
        }
    }
    entries.push_back(ShortcutEntry{modifiers, code, id});
}

int next_focus_index(int count, int current, bool forward) {
    if (count <= 0) {
        return -1;
    }
    if (forward) {
        return (current < 0 || current >= count - 1) ? 0 : current + 1;
    }
    return (current <= 0 || current >= count) ? count - 1 : current - 1;
}

SizeBox sized_box(const SizeBox& start, int edge, int dx, int dy, const SizeLimits& limits) {
    SizeBox box = start;
    int width = start.right - start.left;
    int height = start.bottom - start.top;
    if (moves_left(edge)) {
        width = clamp_length(width - dx, limits.min_width, limits.max_width);
        box.left = start.right - width;
    } else if (moves_right(edge)) {
        width = clamp_length(width + dx, limits.min_width, limits.max_width);
        box.right = start.left + width;
    }
    if (moves_top(edge)) {
        height = clamp_length(height - dy, limits.min_height, limits.max_height);
        box.top = start.bottom - height;
    } else if (moves_bottom(edge)) {
        height = clamp_length(height + dy, limits.min_height, limits.max_height);
        box.bottom = start.top + height;
    }
    return box;
}
