// Entry of the list tool: pick a line from a list file, print the filled-in
// template, answer with the line number.
#include "frame/command_line.h"
#include "frame/frame.h"
#include "orlipan/list_file_win32.h"
#include "orlipan/pick_loop_win32.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_window_win32.h"
#include "toolkit/toolkit.h"

namespace {

void orlipan_body() {
    // Title and reports come from the command line, as UTF-8; the list's
    // lines are read as the list file holds them (list_load_win32.cpp).
    set_text_encoding(TEXT_UTF8);
    pick_settings = parse_pick_arguments(read_all_arguments(), expand_list_path);
    if (pick_settings.message.empty()) {
        // Without a window there is nothing to report in and nothing to answer.
        if (!build_pick_window())
            return;
        if (load_list_file()) {
            size_pick_window();
            if (run_pick_loop() == PICK_ACCEPT)
                build_pick_output();
            close_window(PICK_WINDOW);
        }
    }
    report_message();
}

}  // namespace

int main() {
    run_frame({orlipan_body, prepare_toolkit, release_toolkit, close_list_files});
}
