#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/toolkit.h"
#include "vemo/box_loop.h"
#include "vemo/box_win32.h"

namespace {

BoxLoop box_loop;

constexpr int BOX_KEY_ENTER = VK_RETURN;
constexpr int BOX_KEY_ESCAPE = VK_ESCAPE;
constexpr int BOX_KEY_SPACE = VK_SPACE;

// All buttons share one style, so button 1's style word with the default bit
// set or cleared serves every button. No repaint: the focus change repaints.
void mark_default(LONG flag) {
    if (box_loop.current_default <= 0) {
        return;
    }
    LONG style = GetWindowLongA(control_handle(1), GWL_STYLE);
    style = (style & ~static_cast<LONG>(BS_DEFPUSHBUTTON)) | flag;
    SetWindowLongA(control_handle(box_loop.current_default), GWL_STYLE, style);
}

int create_buttons(const BoxSettings& s, const BoxLayout& l) {
    std::vector<std::string> captions = countdown_captions(box_loop, split_fields(s.buttons, ';'));
    int64_t x = l.first_button_x;
    for (size_t i = 0; i < captions.size(); ++i) {
        create_button(static_cast<int>(i + 1), clamp_to_int32(x), l.button_y, s.button_width,
                      l.button_height, captions[i]);
        x += int64_t{s.button_width} + l.button_gap;
    }
    return static_cast<int>(captions.size());
}

void prepare_box(const BoxSettings& s, const BoxLayout& l) {
    int button_count = create_buttons(s, l);
    // Opened on a display of another density than the whole display's.
    int dpi = window_dpi(BOX_WINDOW);
    if (dpi != l.dpi) {
        relayout_box(dpi);
    }
    if (s.default_button >= 1 && s.default_button <= button_count) {
        focus_control(s.default_button);
        box_loop.current_default = s.default_button;
        mark_default(1);
    }
    add_shortcut(BOX_WINDOW, BOX_KEY_ENTER, BOX_SHORTCUT_ENTER);
    add_shortcut(BOX_WINDOW, BOX_KEY_ESCAPE, BOX_SHORTCUT_ESCAPE);
    add_shortcut(BOX_WINDOW, BOX_KEY_SPACE, BOX_SHORTCUT_SPACE);
    if (s.background != 0) {
        set_window_color(BOX_WINDOW, static_cast<COLORREF>(s.background));
        set_control_color(BOX_LABEL, COLOR_SLOT_BACK, static_cast<COLORREF>(s.background));
    }
    if (s.timeout != 0) {
        add_window_timer(BOX_WINDOW, BOX_TIMER_COUNTDOWN, BOX_TIMER_PERIOD_MS);
        box_loop.timer_running = 1;
    }
}

// The default look and the target of Enter go wherever the focus goes.
void follow_focus() {
    int focused = focused_control();
    if (focused != box_loop.current_default) {
        mark_default(0);
        box_loop.current_default = focused;
        mark_default(1);
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

void show_count(int kind, int id) {
    if (kind == EVENT_TIMER && id == BOX_TIMER_COUNTDOWN && box_loop.countdown_button != 0) {
        set_control_text(box_loop.countdown_button,
                         caption_with_count(box_loop.countdown_caption, box_loop.timeout));
    }
}

// The countdown stops once; what the user does afterwards changes nothing.
void stop_countdown(int action) {
    remove_window_timer(BOX_WINDOW, BOX_TIMER_COUNTDOWN);
    box_loop.timer_running = 0;
    if (action == ACTION_STOP_COUNTDOWN && box_loop.countdown_button != 0) {
        set_control_text(box_loop.countdown_button,
                         caption_without_count(box_loop.countdown_caption));
    }
}

}  // namespace

int32_t run_box(const BoxSettings& s, const BoxLayout& l) {
    box_loop.timeout = s.timeout;
    box_loop.default_button = s.default_button;
    prepare_box(s, l);
    show_window(BOX_WINDOW, 0);
    set_window_topmost(BOX_WINDOW, s.on_top);
    mark_default(1);
    box_loop.exit_code = 0;
    // Whatever showing the window produced is dispatched and not answered,
    // except a move to a display of another density.
    for (int kind = poll_event(); kind != 0; kind = poll_event()) {
        if (kind == EVENT_DPI_CHANGE) {
            relayout_box(event_detail());
        }
    }
    int action = ACTION_NONE;
    while (action != ACTION_FINISH) {
        int kind = wait_event();
        if (kind == EVENT_DPI_CHANGE) {
            relayout_box(event_detail());
        }
        follow_focus();
        int id = event_id(kind);
        action = box_event_action(box_loop, kind, id);
        show_count(kind, id);
        if (action != ACTION_NONE && box_loop.timer_running == 1) {
            stop_countdown(action);
        }
    }
    return box_loop.exit_code;
}
