// Entry of the message tool: show the command line's message box, answer with
// the number of the pressed button.
#include "frame/command_line.h"
#include "frame/frame.h"
#include "toolkit/toolkit.h"
#include "vemo/box_loop_win32.h"
#include "vemo/box_win32.h"

namespace {

void vemo_body() {
    set_keyboard_cues(1);
    // Every text of the box comes from the command line, as UTF-8.
    set_text_encoding(TEXT_UTF8);
    BoxWindow box;
    box.settings = read_box_settings(read_all_arguments());
    box.given = box.settings;
    if (!open_box(box)) {
        ToolExit = 0;
        return;
    }
    box.settings.exit_code = run_box(box);
    if (box.settings.error_count != 0) {
        box.settings.exit_code = BOX_ERROR_EXIT_CODE;
    }
    // More than 255 buttons: the number goes to the process exit unchanged.
    ToolExit = static_cast<UINT>(box.settings.exit_code);
}

}  // namespace

int main() {
    run_frame({vemo_body, prepare_toolkit, release_toolkit, nullptr});
}
