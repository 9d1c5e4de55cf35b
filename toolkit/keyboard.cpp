#include "toolkit/keyboard.h"

std::vector<ShortcutEntry> initial_shortcuts() {
    std::vector<ShortcutEntry> entries;
    bind_shortcut(entries, 9, FOCUS_NEXT_COMMAND);
    bind_shortcut(entries, 9 | SHORTCUT_SHIFT, FOCUS_PREVIOUS_COMMAND);
    return entries;
}

unsigned char shortcut_modifiers(int key) {
    unsigned char modifiers = SHORTCUT_FLAG_VIRTKEY | SHORTCUT_FLAG_NOINVERT;
    if (key & SHORTCUT_SHIFT) {
        modifiers |= SHORTCUT_FLAG_SHIFT;
    }
    if (key & SHORTCUT_CONTROL) {
        modifiers |= SHORTCUT_FLAG_CONTROL;
    }
    if (key & SHORTCUT_ALT) {
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
