// What the message box does with each event: which events finish the box,
// which only stop the countdown, and the captions the countdown button shows.
// Pure: the window side feeds in event kinds and ids and applies the results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int ACTION_NONE = 0;
constexpr int ACTION_STOP_COUNTDOWN = 1;
constexpr int ACTION_FINISH = 2;

constexpr int BOX_TIMER_COUNTDOWN = 9256;
constexpr int BOX_TIMER_PERIOD_MS = 1000;
constexpr int BOX_SHORTCUT_ENTER = 100;
constexpr int BOX_SHORTCUT_ESCAPE = 101;
constexpr int BOX_SHORTCUT_SPACE = 102;
// Ctrl+C: the box's texts onto the clipboard; the box stays open.
constexpr int BOX_SHORTCUT_COPY = 103;

// Controls beside the label (0) and the buttons (1 and up), numbered above
// any button a command line can hold.
constexpr int BOX_FIELD = 60001;
constexpr int BOX_ICON = 60002;

// Raw window messages the loop reacts to.
constexpr int MESSAGE_KEY_DOWN = 256;
constexpr int MESSAGE_LEFT_BUTTON_UP = 514;
constexpr int MESSAGE_RIGHT_BUTTON_DOWN = 516;

struct BoxLoop {
    int32_t current_default = 0;
    int32_t countdown_button = 0;
    std::string countdown_caption;
    int32_t timer_running = 0;
    int32_t timeout = 0;
    int32_t default_button = 0;
    int32_t exit_code = 0;
    // The answer field's control, 0 without one, and the button Enter presses
    // while the field has the focus.
    int32_t field_control = 0;
    int32_t field_default = 0;
    // 1 when a button, Enter or the countdown ended the box: the field's text
    // is the answer. Escape and the close box leave it 0.
    int32_t answered = 0;
};

// The button drawn as default and pressed by Enter while `focused` has the
// focus: the focused button, or, in the answer field, the default button.
int32_t default_for_focus(const BoxLoop& loop, int32_t focused);

// The caption of each button as first shown; notes the countdown button.
std::vector<std::string> countdown_captions(BoxLoop& loop,
                                            const std::vector<std::string>& captions);
std::string caption_with_count(const std::string& caption, int32_t timeout);
std::string caption_without_count(const std::string& caption);

// Decides the action for one event and keeps exit_code and timeout up to date.
int box_event_action(BoxLoop& loop, int kind, int id);
