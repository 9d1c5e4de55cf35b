#include "vemo/box_loop_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/mnemonic.h"
#include "toolkit/toolkit.h"
#include "vemo/box_copy.h"
#include "vemo/box_loop.h"

namespace {

constexpr int BOX_KEY_ENTER = VK_RETURN;
constexpr int BOX_KEY_ESCAPE = VK_ESCAPE;
constexpr int BOX_KEY_SPACE = VK_SPACE;
constexpr int BOX_KEY_COPY = 'C' | SHORTCUT_CONTROL;

// All buttons share one style, so button 1's style word with the default bit
// set or cleared serves every button. No repaint: the focus change repaints.
void mark_default(const BoxLoop& loop, LONG flag) {
    if (loop.current_default <= 0) {
        return;
    }
    LONG style = GetWindowLongA(control_handle(1), GWL_STYLE);
    style = (style & ~static_cast<LONG>(BS_DEFPUSHBUTTON)) | flag;
    SetWindowLongA(control_handle(loop.current_default), GWL_STYLE, style);
}

int create_buttons(BoxLoop& loop, const BoxSettings& s, const BoxLayout& l) {
    std::vector<std::string> captions = countdown_captions(loop, split_fields(s.buttons, ';'));
    int64_t x = l.first_button_x;
    for (size_t i = 0; i < captions.size(); ++i) {
        create_button(static_cast<int>(i + 1), clamp_to_int32(x), l.button_y, s.button_width,
                      l.button_height, captions[i]);
        x += int64_t{s.button_width} + l.button_gap;
    }
    return static_cast<int>(captions.size());
}

void prepare_box(BoxLoop& loop, BoxWindow& box) {
    const BoxSettings& s = box.settings;
    int button_count = create_buttons(loop, s, box.layout);
    // Opened on a display of another density than the whole display's.
    int dpi = window_dpi(BOX_WINDOW);
    if (dpi != box.layout.dpi) {
        relayout_box(box, dpi);
    }
    const bool valid_default = s.default_button >= 1 && s.default_button <= button_count;
    if (s.input != 0) {
        // Typing replaces the starting text; Enter still presses the default.
        loop.field_control = BOX_FIELD;
        loop.field_default = valid_default ? s.default_button : 0;
        focus_control(BOX_FIELD);
        select_edit_text(BOX_FIELD);
        loop.current_default = loop.field_default;
        mark_default(loop, 1);
    } else if (valid_default) {
        focus_control(s.default_button);
        loop.current_default = s.default_button;
        mark_default(loop, 1);
    }
    add_shortcut(BOX_WINDOW, BOX_KEY_ENTER, BOX_SHORTCUT_ENTER);
    add_shortcut(BOX_WINDOW, BOX_KEY_ESCAPE, BOX_SHORTCUT_ESCAPE);
    add_shortcut(BOX_WINDOW, BOX_KEY_SPACE, BOX_SHORTCUT_SPACE);
    add_shortcut(BOX_WINDOW, BOX_KEY_COPY, BOX_SHORTCUT_COPY);
    if (s.background != 0) {
        set_window_color(BOX_WINDOW, static_cast<COLORREF>(s.background));
        set_control_color(BOX_LABEL, COLOR_SLOT_BACK, static_cast<COLORREF>(s.background));
    }
    if (s.timeout != 0) {
        add_window_timer(BOX_WINDOW, BOX_TIMER_COUNTDOWN, BOX_TIMER_PERIOD_MS);
        loop.timer_running = 1;
    }
}

// The default look and the target of Enter go wherever the focus goes.
void follow_focus(BoxLoop& loop) {
    int focused = default_for_focus(loop, focused_control());
    if (focused != loop.current_default) {
        mark_default(loop, 0);
        loop.current_default = focused;
        mark_default(loop, 1);
    }
}

int event_id(int kind) {
    if (kind == EVENT_TIMER) {
        return event_timer();
    }
    if (kind == EVENT_SHORTCUT) {
        return event_shortcut();
    }
    return event_control();
}

void show_count(const BoxLoop& loop, int kind, int id) {
    if (kind == EVENT_TIMER && id == BOX_TIMER_COUNTDOWN && loop.countdown_button != 0) {
        set_control_text(loop.countdown_button,
                         caption_with_count(loop.countdown_caption, loop.timeout));
    }
}

// The countdown stops once; what the user does afterwards changes nothing.
void stop_countdown(BoxLoop& loop, int action) {
    remove_window_timer(BOX_WINDOW, BOX_TIMER_COUNTDOWN);
    loop.timer_running = 0;
    if (action == ACTION_STOP_COUNTDOWN && loop.countdown_button != 0) {
        set_control_text(loop.countdown_button, caption_without_count(loop.countdown_caption));
    }
}

// Ctrl+C in the field copies what is selected there, as the field itself
// did before the box took the key; anywhere else, the whole box as shown.
void copy_box(const BoxWindow& box, const BoxLoop& loop) {
    if (loop.field_control != 0 && focused_control() == loop.field_control &&
        copy_edit_selection(loop.field_control)) {
        return;
    }
    std::vector<std::string> captions;
    for (int id = 1; id <= box.layout.button_count; ++id) {
        captions.push_back(caption_without_marks(control_text(id)));
    }
    copy_text(BOX_WINDOW, box_copy_text(box.settings.title, box.settings.text, captions),
              TEXT_UTF8);
}

}  // namespace

int32_t run_box(BoxWindow& box) {
    BoxLoop loop;
    loop.timeout = box.settings.timeout;
    loop.default_button = box.settings.default_button;
    prepare_box(loop, box);
    show_window(BOX_WINDOW, 0);
    set_window_topmost(BOX_WINDOW, box.settings.on_top);
    play_icon_sound(box.settings.icon);
    mark_default(loop, 1);
    loop.exit_code = 0;
    // Whatever showing the window produced is dispatched and not answered,
    // except a move to a display of another density.
    for (int kind = poll_event(); kind != 0; kind = poll_event()) {
        if (kind == EVENT_DPI_CHANGE) {
            relayout_box(box, event_detail());
        }
    }
    int action = ACTION_NONE;
    while (action != ACTION_FINISH) {
        int kind = wait_event();
        if (kind == EVENT_DPI_CHANGE) {
            relayout_box(box, event_detail());
        }
        follow_focus(loop);
        int id = event_id(kind);
        action = box_event_action(loop, kind, id);
        if (kind == EVENT_SHORTCUT && id == BOX_SHORTCUT_COPY) {
            copy_box(box, loop);
        }
        show_count(loop, kind, id);
        if (action != ACTION_NONE && loop.timer_running == 1) {
            stop_countdown(loop, action);
        }
    }
    if (loop.answered != 0 && loop.field_control != 0) {
        box.answered = true;
        box.answer = control_text(BOX_FIELD);
    }
    return loop.exit_code;
}
