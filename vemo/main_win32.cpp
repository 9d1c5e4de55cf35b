// Entry of the message tool: show the command line's message box, answer with
// the number of the pressed button and, when the box asks for text, with that
// text on standard output.
#include "frame/command_line.h"
#include "frame/fault_point.h"
#include "frame/frame.h"
#include "resources/version.h"
#include "toolkit/toolkit.h"
#include "vemo/box_loop_win32.h"
#include "vemo/box_win32.h"

static_assert(BOX_ANSWER_ANSI == TEXT_ANSI && BOX_ANSWER_UTF8 == TEXT_UTF8 &&
                  BOX_ANSWER_OEM == TEXT_OEM,
              "the answer's encodings are the toolkit's");

namespace {

// The field holds UTF-8 like every text of the box. No line ending, so that
// a batch file's `for /f` takes the text as it is.
void print_answer(const BoxWindow& box) {
    if (!box.answered) {
        return;
    }
    const int encoding = box.settings.answer_encoding;
    if (encoding == BOX_ANSWER_UTF8) {
        print_utf8_text(box.answer);
        return;
    }
    print_text(from_wide_text(to_wide_text(box.answer, TEXT_UTF8), encoding));
}

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
    fault_point("answer");
    print_answer(box);
    if (box.settings.error_count != 0) {
        box.settings.exit_code = BOX_ERROR_EXIT_CODE;
    }
    // More than 255 buttons: the number goes to the process exit unchanged.
    ToolExit = static_cast<UINT>(box.settings.exit_code);
}

}  // namespace

int main() {
    run_frame({vemo_body, prepare_toolkit, release_toolkit, nullptr, VEMO_VERSION_TEXT});
}
