// The platform-free half of the keyboard handling: the shortcut tables of
// the windows and the order in which Tab moves the focus.
#pragma once

#include <vector>

#include "toolkit/event_kinds.h"

// Modifier bits of a shortcut entry, as the native accelerator tables use them.
constexpr unsigned char SHORTCUT_FLAG_VIRTKEY = 0x01;
constexpr unsigned char SHORTCUT_FLAG_NOINVERT = 0x02;
constexpr unsigned char SHORTCUT_FLAG_SHIFT = 0x04;
constexpr unsigned char SHORTCUT_FLAG_CONTROL = 0x08;
constexpr unsigned char SHORTCUT_FLAG_ALT = 0x10;

struct ShortcutEntry {
    unsigned char modifiers;
    unsigned short key;
    unsigned short command;
};

// Tab and Shift+Tab bound to the two focus commands.
std::vector<ShortcutEntry> initial_shortcuts();
// The modifier bits of a key given as a virtual-key code plus SHORTCUT_ bits.
unsigned char shortcut_modifiers(int key);
// Replaces the command of an entry with the same key and modifiers, or appends.
void bind_shortcut(std::vector<ShortcutEntry>& entries, int key, int command);

// Index of the candidate that receives the focus; `current` is the focused
// candidate's index or -1. -1 when there are no candidates.
int next_focus_index(int count, int current, bool forward);
