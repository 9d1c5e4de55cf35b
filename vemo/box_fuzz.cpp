// Arbitrary command lines through the option reader, the layout arithmetic
// (with the icon and the answer field) and the countdown: everything must
// end, without sanitizer reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/event_kinds.h"
#include "vemo/box_layout.h"
#include "vemo/box_loop.h"
#include "vemo/box_options.h"

namespace {

// Arguments are separated by zero bytes, so any byte can appear inside one.
std::vector<std::string> arguments_of(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    return arguments;
}

// Measurement stand-in: widths scale with the font size, which may be absurd.
std::vector<TextExtent> extents_of(const BoxSettings& s) {
    std::vector<TextExtent> extents;
    for (const std::string& line : split_fields(s.text, '\r')) {
        extents.push_back({static_cast<int64_t>(line.size()) * s.font_size, int64_t{s.font_size}});
    }
    return extents;
}

int32_t system_size(int64_t size) {
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(size, INT32_MIN), INT32_MAX));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BoxSettings s = read_box_settings(arguments_of(data, size));
    // Any density the toolkit can report, taken from the input's length.
    const int32_t dpi = DPI_LOWEST + static_cast<int32_t>(size % DPI_HIGHEST);
    // An icon and a field of sizes the system could report, or absurd ones.
    // The system reports them as int, so they stay within its range.
    const int32_t icon_size = s.icon != BOX_ICON_NONE ? system_size(int64_t{s.font_size} * 3) : 0;
    const int32_t field_height =
        s.input != 0 ? system_size(int64_t{s.font_size} * 2 + s.offset_x) : 0;
    BoxLayout l = plan_box_layout(s, dpi, icon_size);
    fit_box_text(l, s, extents_of(s), field_height);
    moved_window_y(moved_window_x(l.first_button_x, s.offset_x, dpi), l.growth, s.offset_y, dpi);

    BoxLoop loop;
    loop.timeout = s.timeout;
    loop.default_button = s.default_button;
    if (s.input != 0) {
        loop.field_control = BOX_FIELD;
        loop.field_default = s.default_button;
        loop.current_default = default_for_focus(loop, BOX_FIELD);
        box_event_action(loop, EVENT_CONTROL, BOX_FIELD);
    }
    countdown_captions(loop, split_fields(s.buttons, ';'));
    for (int tick = 0; tick < 3; ++tick) {
        if (box_event_action(loop, EVENT_TIMER, BOX_TIMER_COUNTDOWN) == ACTION_FINISH) {
            break;
        }
        caption_with_count(loop.countdown_caption, loop.timeout);
    }
    return 0;
}
