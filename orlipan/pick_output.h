// What the selection loop decides and what an accepted line turns into.
#pragma once

#include <functional>
#include <string>

// Loop actions; the Enter and Escape shortcut ids equal the first two.
constexpr int PICK_NONE = 0;
constexpr int PICK_ACCEPT = 1;
constexpr int PICK_CANCEL = 2;
// The Ctrl+C shortcut: the chosen lines go onto the clipboard, the window
// stays open (no action).
constexpr int PICK_SHORTCUT_COPY = 3;

constexpr int PICK_LIST_ID = 1;
constexpr int PICK_EXIT_LIMIT = 255;

// The action that one event asks for (PICK_NONE for events that ask nothing).
int pick_action_of_event(int kind, int control, int detail, int shortcut, bool menu);

// /auto: what the start asks for when it shows `shown_count` lines. One line
// is answered as if accepted, none ends as a cancel, more wait for the user.
int auto_action(int shown_count);

// Accepting the selected line: taken, refused, or refused with the selection
// cleared (a blank menu line is a separator).
constexpr int ACCEPT_TAKE = 0;
constexpr int ACCEPT_REFUSE = 1;
constexpr int ACCEPT_REFUSE_AND_CLEAR = 2;
int check_accept(int selected_index, bool menu, const std::string& line);

// The template with '' turned into " and every $item (any case) replaced by
// the picked line, in double quotes when `quote` is set. With `fields` (/tab)
// $1 .. $9 are replaced too, by the line's tab-separated fields ("" past its
// last), each quoted like the line; without it they stay as typed. The
// template is read once from left to right, never the text put into it.
std::string make_pick_output(const std::string& output_string, const std::string& item, bool quote,
                             bool fields = false);

// Line number of a 0-based index, capped at what an exit code can carry.
int pick_exit_code(int picked_index);

// Several chosen lines: the template filled in for each of the `count` lines
// that `item_of` gives, in order, joined by CR LF with none after the last;
// nothing for an empty template.
std::string make_multi_output(const std::string& output_string, int count,
                              const std::function<std::string(int)>& item_of, bool quote,
                              bool fields = false);
// The number of chosen lines, capped at what an exit code can carry.
int multi_exit_code(int chosen_count);
