// The dialog toolkit: number-addressed top-level windows, their controls and
// fonts, keyboard shortcuts, window timers and the event queue both tools loop
// on. Native objects stay inside the toolkit; tools hold numbers and, where they
// call the window system themselves, the handles returned here.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/event_kinds.h"

// ---- Texts ---------------------------------------------------------------

// How the bytes of the texts that tools hand to windows and controls, and get
// back from them, are read. Windows themselves hold UTF-16.
constexpr int TEXT_ANSI = 0;  // the ANSI code page; prepare_toolkit starts with it
constexpr int TEXT_UTF8 = 1;
// The console's OEM code page; for answers written to standard output.
constexpr int TEXT_OEM = 2;

// For the windows opened and the controls created from now on.
void set_text_encoding(int encoding);
// For one control's texts from now on (a list's: its lines), whatever the
// windows use.
void set_control_encoding(int id, int encoding);
// The conversions at the boundary, for tools that call the system themselves.
std::wstring to_wide_text(const std::string& text, int encoding);
std::string from_wide_text(const std::wstring& text, int encoding);
// `text` in `encoding` with each character kept as itself: false when the
// code page lacks one, which from_wide_text would have turned into a
// likeness (Ж into ?, ł into l) or the default character.
bool exact_from_wide_text(const std::wstring& text, int encoding, std::string* bytes);

// ---- Windows -------------------------------------------------------------

constexpr int KEEP_VALUE = -65535;  // leave this coordinate or size unchanged
constexpr int COLOR_DEFAULT = -1;   // no colour of one's own

constexpr DWORD WINDOW_CENTER_SCREEN = 1;
constexpr DWORD WINDOW_CENTER_OWNER = 2;
constexpr DWORD WINDOW_NO_CONTAINER = 8;
constexpr DWORD WINDOW_HIDDEN = 0x10000000;

// Registries, the default control font and the common controls; called once by
// the frame before anything else of the toolkit.
void prepare_toolkit(HINSTANCE instance);
// Closes every window, drops the event state, deletes every font. Safe to call
// twice. Must run on the thread that owns the windows.
void release_toolkit();

HWND open_window(int window, int x, int y, int inner_width, int inner_height,
                 const std::string& title, DWORD flags, HWND owner);
void close_window(int window);
void set_window_color(int window, COLORREF color);  // or COLOR_DEFAULT
int resize_window(int window, int x, int y, int inner_width, int inner_height);
void show_window(int window, int hide);
void set_window_topmost(int window, int on);
// In the text encoding the window was opened with.
void set_window_title(int window, const std::string& title);
int window_x(int window);
int window_y(int window);
int window_inner_width(int window);
int window_inner_height(int window);
HWND window_handle(int window);  // 0 when the number is not open
// Dots per inch of the window's display (of the whole display for a number
// that is not open); 96 when the system cannot tell.
int window_dpi(int window);

// ---- Events, shortcuts, timers --------------------------------------------

// SHORTCUT_SHIFT, SHORTCUT_CONTROL, SHORTCUT_ALT, FOCUS_NEXT_COMMAND,
// FOCUS_PREVIOUS_COMMAND and the accessors of the last returned event
// (event_control, event_shortcut, event_timer, event_detail, event_window)
// are in event_kinds.h.

constexpr LRESULT CALLBACK_CONTINUE = (LRESULT)(LONG)0xE0E0E0E1;

using WindowCallback = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

HACCEL add_shortcut(int window, int key, int shortcut_id);
int add_window_timer(int window, int timer_id, int interval_ms);
int remove_window_timer(int window, int timer_id);
void set_window_callback(WindowCallback callback);
// The message tool's keyboard cues (focus rectangles and accelerator
// underlines shown after keyboard use); off by default.
void set_keyboard_cues(int on);
int wait_event();
int poll_event();
// For a thread of the tool's own that has news for the thread that waits for
// events: the returned call, safe from any thread, makes that thread's
// wait_event return EVENT_TIMER with `timer_id`, as a timer would. Made on
// the waiting thread once it has a window.
std::function<void()> event_waker(int timer_id);

// ---- Controls and fonts ---------------------------------------------------

constexpr int LIST_GRID_LINES = 0x10000;
constexpr int LIST_FULL_ROW_SELECT = 0x40000000;
// The lines stay with the tool, which hands the list a text source: the list
// asks for the few lines it draws, so a million lines cost no more than three.
// The bit is the native list's owner-data style.
constexpr int LIST_VIRTUAL = 0x1000;
// The user may select several lines (Ctrl and Shift with clicks and arrow
// keys, Ctrl+A for all). The bit is that of WS_VISIBLE, which a list has anyway.
constexpr int LIST_MULTIPLE_SELECTION = 0x10000000;

constexpr int COLOR_SLOT_TEXT = 1;
constexpr int COLOR_SLOT_BACK = 2;
constexpr int COLOR_SLOT_LINE = 3;

HWND create_list_view(int id, int x, int y, int width, int height, const std::string& column_title,
                      int column_width, int flags);
HWND create_label(int id, int x, int y, int width, int height, const std::string& text, int flags);
HWND create_button(int id, int x, int y, int width, int height, const std::string& text,
                   int flags = 0);

// A box whose characters are hidden (the system's password style); its text
// is read back as any box's. The bit is the native edit's ES_PASSWORD.
constexpr int EDIT_PASSWORD = 0x20;
HWND create_edit_box(int id, int x, int y, int width, int height, const std::string& text,
                     int flags = 0);

// The system's message icons, each with the sound the system's message box
// makes for it.
constexpr int ICON_NONE = 0;
constexpr int ICON_INFORMATION = 1;
constexpr int ICON_WARNING = 2;
constexpr int ICON_ERROR = 3;
constexpr int ICON_QUESTION = 4;
// The system's icon size in pixels for a display of `dpi`.
int system_icon_size(int dpi);
// A square control `size` pixels wide showing the icon; resizing it loads the
// image for the new size.
HWND create_icon(int id, int x, int y, int size, int icon);
void play_icon_sound(int icon);

void list_add_item(int id, int position, const std::string& text);
int list_selected_index(int id);
// Every selected line, in list order.
std::vector<int> list_selected_indexes(int id);
void list_select(int id, int index);
// Adds line `index` to the selection of a list that takes several lines,
// leaving the focus and the other selected lines as they are.
void list_add_selection(int id, int index);
// Scrolls the least that shows line `index` whole.
void list_scroll_to(int id, int index);
std::string list_item_text(int id, int index);
std::string control_text(int id);
void set_control_text(int id, const std::string& text);
HWND control_handle(int id);
void focus_control(int id);
int focused_control();
void resize_control(int id, int x, int y, int width, int height);
void set_control_font(int id, HFONT font);
void set_control_color(int id, int slot, COLORREF color);
// The width and height of `text` drawn in the control's own font, as the
// control's texts are read (set_text_encoding); 0 x 0 when it cannot tell.
SIZE control_text_extent(int id, const std::string& text);
// Sized for `dpi`; 0 sizes it for the whole display.
HFONT load_font(int slot, const std::string& face, int points, int dpi = 0);

// The lines of a LIST_VIRTUAL list: `source` answers the zero-terminated text
// of line 0 .. count - 1, which must stay valid while the list shows it.
using ListTextSource = const char* (*)(int index, void* context);
void list_set_source(int id, ListTextSource source, void* context, int count);
// More lines at the end of the same source: the selection, the focus and the
// scroll position stay.
void list_add_rows(int id, int count);
// The column width at which the list shows `text` whole in its font, padding
// included, as the list itself fits a column to its lines; 0 if it cannot.
int list_fitted_width(int id, const std::string& text);
// Advance widths of the byte values 0 to 255 in the list's font.
bool list_char_widths(int id, int widths[256]);
// The width of `text` drawn in the list's font, without padding.
int list_text_width(int id, const std::string& text);
// Advance widths of the 256 code points from `first` on in the list's font.
bool list_code_point_widths(int id, unsigned first, int widths[256]);

// ---- Columns of a list ------------------------------------------------------

// A list may show each line in several columns: `cells` cuts the text of
// column `column` out of a line as the list's source gives it, answering its
// start and its length in bytes; `last` says it is the list's last column.
// The line itself stays what list_item_text and the list's own search read.
using ListCellSource = const char* (*)(const char* line, int column, bool last, size_t* length);
struct ListColumn {
    std::string title;  // in the list's encoding, as its lines
    int width = 0;
};
// Replaces the list's columns by `columns` (at least one).
void list_set_columns(int id, const std::vector<ListColumn>& columns, ListCellSource cells);
// The row of column titles, shown unless the list was made with the native
// LVS_NOCOLUMNHEADER: its height in the list's font, 0 when hidden. A click
// on a title is reported as DETAIL_COLUMN_CLICK plus the column's number.
int list_header_height(int id);
int list_column_count(int id);
// As a column width: the last column takes the room the others leave, any
// other one the width of its widest line and title (the native
// LVSCW_AUTOSIZE_USEHEADER).
constexpr int LIST_WIDTH_FILL = -2;
int list_column_width(int id, int column);
void list_set_column_width(int id, int column, int width);
// The width of the list's inside, where its columns go.
int list_inner_width(int id);
// The height of the list's first line; 0 when the list has none to measure.
int list_row_height(int id);
// The flat look of a menu: no sunken edge, and a hand over the lines.
void list_use_menu_look(int id);
// The system's sort arrow on one column's title (LIST_SORT_UP, LIST_SORT_DOWN),
// none on the others; LIST_SORT_NONE clears them all.
constexpr int LIST_SORT_NONE = 0;
constexpr int LIST_SORT_UP = 1;
constexpr int LIST_SORT_DOWN = 2;
void list_set_sort_mark(int id, int column, int direction);

// A box linked to a list hands it Up, Down, Page Up, Page Down, Ctrl+Home and
// Ctrl+End (as Home and End), and Ctrl+A when the list takes several lines:
// typing and picking go on together. Typing in a box brings EVENT_CONTROL
// with DETAIL_CHANGE.
void link_edit_to_list(int id, int list_id);
// Selects the box's whole text, as a dialog does for a box the focus enters.
void select_edit_text(int id);
// Puts the caret after the box's last character, nothing selected.
void move_edit_caret_to_end(int id);
// The height that shows one line of the box's font with its edge.
int edit_box_height(int id);

// List controls fill fastest with redrawing suspended; a tool adding many lines
// brackets them with these (nesting is counted).
void list_begin_update(int id);
void list_end_update(int id);

// ---- Clipboard ----------------------------------------------------------------

// Puts `text` (bytes in `encoding`, lines ended by CR LF) on the clipboard as
// plain text, in the Unicode and the ANSI formats; 1 when it could.
int copy_text(int window, const std::string& text, int encoding);
// Copies an edit box's selection as the box's own Ctrl+C does; 0 when nothing
// is selected or the box hides its characters (EDIT_PASSWORD).
int copy_edit_selection(int id);
