#include "orlipan/pick_answer_win32.h"

#include <string>
#include <vector>

#include "frame/fault_point.h"
#include "frame/frame.h"
#include "orlipan/pick_modes.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_start_win32.h"
#include "toolkit/toolkit.h"

namespace {

void print_output(const PickSettings& settings, std::string out) {
    if (oem_output(settings) && !out.empty())
        CharToOemA(&out[0], &out[0]);
    if (out.empty())
        return;
    if (utf8_mode(settings))
        print_utf8_text(out);
    else
        print_text(out);
}

}  // namespace

void build_pick_output(const PickWindow& pick) {
    fault_point("answer");
    const PickSettings& settings = pick.settings;
    bool quote = quoted_output(settings);
    bool fields = tab_mode(settings);
    // Without /utf8 the template takes the ANSI code page, so that the bytes
    // written are those of old.
    std::string output_string = in_line_encoding(settings, settings.output_string);
    if (multi_mode(settings)) {
        const std::vector<int>& rows = pick.chosen_rows;
        int count = static_cast<int>(rows.size());
        print_output(settings, make_multi_output(
                                   output_string, count,
                                   [&](int i) { return list_item_text(PICK_LIST_ID, rows[i]); },
                                   quote, fields));
        ToolExit = multi_exit_code(count);
        return;
    }
    print_output(settings,
                 make_pick_output(output_string, control_text(PICK_LIST_ID), quote, fields));
    ToolExit = pick_exit_code(pick.state.picked_index);
}
