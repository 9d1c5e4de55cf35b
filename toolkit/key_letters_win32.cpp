// The buttons' underlined letters, as every dialog answers them: Alt+letter
// anywhere in the window, the letter alone while a button has the focus (in
// an edit box it types). A letter that one button alone has presses it, as a
// click does; a letter that several share moves the focus on to the next.
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/key_letters_win32.h"
#include "toolkit/mnemonic.h"
#include "toolkit/toolkit.h"
#include "toolkit/windows_win32.h"

namespace {

bool is_push_button(HWND control) {
    LRESULT code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
    return (code & DLGC_BUTTON) != 0 && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

BOOL CALLBACK collect_button(HWND child, LPARAM list) {
    if (IsWindowVisible(child) && IsWindowEnabled(child) && is_push_button(child)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    }
    return TRUE;
}

std::string caption_of(HWND button) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
    int length = GetWindowTextW(button, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return from_wide_text(text, TEXT_UTF8);
}

// Upper case in the user's language (a Turkish user's i is İ).
char32_t user_upper_case(char32_t letter) {
    if (letter > 0xFFFF || (letter >= 0xD800 && letter <= 0xDFFF)) {
        return letter;
    }
    wchar_t in = static_cast<wchar_t>(letter);
    wchar_t out = 0;
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, &in, 1, &out,
                     1) != 1) {
        return letter;
    }
    return static_cast<char32_t>(out);
}

// The letter's message goes to the focused control; whether it asks for a
// button depends on where that is.
bool asks_for_button(const MSG& message, HWND active) {
    if (message.message == WM_SYSCHAR) {
        return true;
    }
    HWND focus = GetFocus();
    return message.message == WM_CHAR && focus == message.hwnd && IsChild(active, focus) &&
           is_push_button(focus);
}

}  // namespace

bool answer_key_letter(const MSG& message) {
    if (message.message != WM_SYSCHAR && message.message != WM_CHAR) {
        return false;
    }
    HWND active = GetActiveWindow();
    if (!record_of_handle(active) || !asks_for_button(message, active)) {
        return false;
    }
    std::vector<HWND> buttons;
    EnumChildWindows(active, collect_button, reinterpret_cast<LPARAM>(&buttons));
    std::vector<char32_t> letters;
    int focused = -1;
    HWND focus = GetFocus();
    for (size_t i = 0; i < buttons.size(); ++i) {
        letters.push_back(caption_key_letter(caption_of(buttons[i])));
        if (buttons[i] == focus) {
            focused = static_cast<int>(i);
        }
    }
    KeyLetterTarget target =
        key_letter_target(letters, focused, static_cast<char32_t>(message.wParam), user_upper_case);
    if (target.index < 0) {
        return false;
    }
    HWND button = buttons[static_cast<size_t>(target.index)];
    if (!target.press) {
        SetFocus(button);
        return true;
    }
    // As the button's own click notifies its window: the same event follows.
    SendMessageW(active, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return true;
}
