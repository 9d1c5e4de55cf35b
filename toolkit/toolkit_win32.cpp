// The toolkit's start and end in one place: what each part holds is prepared
// here and released here, in an order in which nothing is used after it went.
#include <windows.h>
#include <commctrl.h>

#include "toolkit/controls_win32.h"
#include "toolkit/events.h"
#include "toolkit/events_win32.h"
#include "toolkit/fonts_win32.h"
#include "toolkit/labels_win32.h"
#include "toolkit/list_view_win32.h"
#include "toolkit/windows_win32.h"

void prepare_toolkit(HINSTANCE instance) {
    prepare_windows(instance, toolkit_window_procedure);
    set_text_encoding(TEXT_ANSI);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    prepare_lists();
    prepare_fonts();
}

// Closing the windows destroys their controls; controls that outlived their
// window are forgotten after that, and only then go the brushes and fonts
// they drew with.
void release_toolkit() {
    close_every_window();
    drop_event_state();
    set_window_callback(nullptr);
    release_controls();
    release_label_brushes();
    release_fonts();
}
