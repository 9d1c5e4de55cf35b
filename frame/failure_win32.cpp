// The end of a run that failed: an exception that reached the frame, one that
// nothing caught (std::terminate) or an abort. A batch file reads the exit
// code as the answer, and the runtime's own ends (exit code 3 after abort,
// say) look like one, so every such end goes through end_failed_run: a box
// that names the reason where a window can still show, nothing on standard
// output, and exit code 255.
#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <new>

#include "frame/frame.h"

namespace {

const char* failure_title = "";
// A failure while the box of another shows ends at once.
volatile LONG failing = 0;

const char* reason_of_current_exception() {
    std::exception_ptr current = std::current_exception();
    if (!current)
        return FRAME_FAILURE_INTERNAL;
    try {
        std::rethrow_exception(current);
    } catch (const std::bad_alloc&) {
        return FRAME_FAILURE_MEMORY;
    } catch (...) {
        return FRAME_FAILURE_INTERNAL;
    }
}

[[noreturn]] void on_terminate() {
    end_failed_run(reason_of_current_exception(), false);
}

void on_abort_signal(int) {
    end_failed_run(FRAME_FAILURE_INTERNAL, false);
}

}  // namespace

void install_failure_handlers(const char* title) {
    failure_title = title ? title : "";
    std::set_terminate(on_terminate);
    // The runtime's abort writes its note before it raises the signal: to
    // standard error, never into a box of its own that would hold the run.
    _set_error_mode(_OUT_TO_STDERR);
    std::signal(SIGABRT, on_abort_signal);
}

void run_guarded(ToolBody body) {
    try {
        body();
    } catch (...) {
        end_failed_run(reason_of_current_exception(), true);
    }
}

void end_failed_run(const char* reason, bool unwound) {
    if (InterlockedExchange(&failing, 1) == 0) {
        // After an unwound exception the windows are closed first, so that
        // the box does not stand beside a list that no longer answers. Inside
        // std::terminate or an abort the stack still holds the failed step,
        // which may be the toolkit's own: nothing is released there.
        if (unwound) {
            try {
                release_runtime();
            } catch (...) {
            }
        }
        // Plain ASCII texts, so that showing them needs no memory of the run.
        MessageBoxA(nullptr, reason, failure_title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    }
    ExitProcess(FRAME_FAILURE_EXIT_CODE);
}
