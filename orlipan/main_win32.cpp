// Entry of the list tool: pick a line from a list file, print the filled-in
// template, answer with the line number.
#include "frame/command_line.h"
#include "frame/frame.h"
#include "orlipan/list_file_win32.h"
#include "orlipan/list_feed_win32.h"
#include "orlipan/pick_arrival_win32.h"
#include "orlipan/pick_answer_win32.h"
#include "orlipan/pick_loop_win32.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_start_win32.h"
#include "orlipan/pick_window_win32.h"
#include "resources/version.h"
#include "toolkit/toolkit.h"

namespace {

void orlipan_body() {
    // Title and reports come from the command line, as UTF-8; the list's
    // lines are read as the list file holds them.
    set_text_encoding(TEXT_UTF8);
    PickWindow pick;
    pick.settings = parse_pick_arguments(read_all_arguments(), expand_list_path);
    // Reading starts first, so that the list comes in while the window is
    // put together. Without a window there is nothing to answer.
    if (pick.settings.message.empty() && start_list_feed(pick.settings) &&
        build_pick_window(pick)) {
        if (await_list(pick)) {
            fill_pick_list(pick);
            // /auto may answer before any window shows.
            int action = check_pick_action(pick, start_pick(pick));
            if (action == PICK_NONE) {
                size_pick_window(pick);
                show_pick_window(pick);
                action = run_pick_loop(pick);
            }
            if (action == PICK_ACCEPT)
                build_pick_output(pick);
        }
        // The list asks `pick` for its rows until the window is gone.
        close_window(PICK_WINDOW);
    }
    // The answer is out: a writer still filling the pipe is not waited for.
    stop_list_feed();
    report_message(pick.settings);
}

}  // namespace

int main() {
    run_frame(
        {orlipan_body, prepare_toolkit, release_toolkit, close_list_files, ORLIPAN_VERSION_TEXT});
}
