#include "vemo/box_loop.h"

#include <limits>

#include "frame/text.h"
#include "toolkit/event_kinds.h"

std::string caption_with_count(const std::string& caption, int32_t timeout) {
    return replace_text(caption, "$", number_to_text(timeout), 0);
}

std::string caption_without_count(const std::string& caption) {
    return replace_text(caption, "$", "", 0);
}

std::vector<std::string> countdown_captions(BoxLoop& loop,
                                            const std::vector<std::string>& captions) {
    std::vector<std::string> shown;
    shown.reserve(captions.size());
    for (size_t i = 0; i < captions.size(); ++i) {
        if (find_text(captions[i], "$", 1) != 0) {
            loop.countdown_button = static_cast<int32_t>(i + 1);
            loop.countdown_caption = captions[i];
            shown.push_back(caption_with_count(captions[i], loop.timeout));
        } else {
            shown.push_back(captions[i]);
        }
    }
    return shown;
}

namespace {

// A countdown given as the most negative number must still end on the first
// tick instead of wrapping round to the largest positive one.
int32_t one_second_less(int32_t timeout) {
    return timeout == std::numeric_limits<int32_t>::min() ? timeout : timeout - 1;
}

int timer_action(BoxLoop& loop) {
    loop.timeout = one_second_less(loop.timeout);
    if (loop.timeout <= 0) {
        loop.exit_code = loop.default_button;
        // /DB=0 makes "no answer" the result of waiting: nothing is written.
        loop.answered = loop.default_button != 0 ? 1 : 0;
        return ACTION_FINISH;
    }
    return ACTION_NONE;
}

int shortcut_action(BoxLoop& loop, int id) {
    if (id == BOX_SHORTCUT_ENTER) {
        if (loop.current_default > 0) {
            loop.exit_code = loop.current_default;
            loop.answered = 1;
            return ACTION_FINISH;
        }
        return ACTION_NONE;
    }
    if (id == BOX_SHORTCUT_ESCAPE) {
        loop.exit_code = 0;
        return ACTION_FINISH;
    }
    // Ctrl stopped the countdown as any key does before it became a shortcut.
    if (id == BOX_SHORTCUT_SPACE || id == BOX_SHORTCUT_COPY) {
        return ACTION_STOP_COUNTDOWN;
    }
    return ACTION_NONE;
}

}  // namespace

int32_t default_for_focus(const BoxLoop& loop, int32_t focused) {
    if (loop.field_control != 0 && focused == loop.field_control) {
        return loop.field_default;
    }
    return focused;
}

int box_event_action(BoxLoop& loop, int kind, int id) {
    switch (kind) {
        case EVENT_CONTROL:
            // Typing in the field; its key presses stop the countdown.
            if (loop.field_control != 0 && id == loop.field_control) {
                return ACTION_NONE;
            }
            loop.exit_code = id;
            loop.answered = 1;
            return ACTION_FINISH;
        case EVENT_CLOSE:
            return ACTION_FINISH;
        case EVENT_TIMER:
            return id == BOX_TIMER_COUNTDOWN ? timer_action(loop) : ACTION_NONE;
        case EVENT_SHORTCUT:
            return shortcut_action(loop, id);
        case MESSAGE_LEFT_BUTTON_UP:
        case MESSAGE_RIGHT_BUTTON_DOWN:
        case MESSAGE_KEY_DOWN:
            return ACTION_STOP_COUNTDOWN;
        default:
            return ACTION_NONE;
    }
}
