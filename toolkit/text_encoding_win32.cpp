// Texts between the tools and the window system: the tools hand over bytes,
// in the ANSI code page or in UTF-8, and every window and control takes and
// gives UTF-16 through the Unicode calls, so no character is lost on the way.
#include <windows.h>

#include "frame/utf8.h"
#include "toolkit/text_encoding_win32.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

namespace {

int text_encoding = TEXT_ANSI;

UINT code_page_of(int encoding) {
    return encoding == TEXT_OEM ? CP_OEMCP : CP_ACP;
}

// The code pages whose conversion takes neither flags nor the question of the
// default character (the system refuses the call otherwise): the UTF forms
// and GB 18030, which hold every character, the ISO 2022 and ISCII forms and
// Symbol. The ANSI code page is UTF-8 where the user turned that on.
bool takes_no_flags(UINT code_page) {
    return code_page == 42 || (code_page >= 50220 && code_page <= 50229) || code_page == 52936 ||
           code_page == 54936 || (code_page >= 57002 && code_page <= 57011) || code_page == 65000 ||
           code_page == 65001;
}

}  // namespace

void set_text_encoding(int encoding) {
    text_encoding = encoding;
}

int current_text_encoding() {
    return text_encoding;
}

std::wstring to_wide_text(const std::string& text, int encoding) {
    if (encoding == TEXT_UTF8) {
        std::u16string wide = utf16_from_utf8(text);
        return std::wstring(wide.begin(), wide.end());
    }
    if (text.empty()) {
        return std::wstring();
    }
    int length = static_cast<int>(text.size());
    UINT code_page = code_page_of(encoding);
    int size = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0) {
        MultiByteToWideChar(code_page, 0, text.data(), length, &wide[0], size);
    }
    return wide;
}

std::string from_wide_text(const wchar_t* text, size_t length, int encoding) {
    if (encoding == TEXT_UTF8) {
        return utf8_from_utf16(reinterpret_cast<const char16_t*>(text), length);
    }
    if (length == 0) {
        return std::string();
    }
    // Characters the code page lacks become their best-fit likeness where the
    // code page has one, else its default character, as in the ANSI command
    // line the system makes from the wide one.
    UINT code_page = code_page_of(encoding);
    int units = static_cast<int>(length);
    int size = WideCharToMultiByte(code_page, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(code_page, 0, text, units, &bytes[0], size, nullptr, nullptr);
    }
    return bytes;
}

std::string from_wide_text(const std::wstring& text, int encoding) {
    return from_wide_text(text.data(), text.size(), encoding);
}

bool exact_from_wide_text(const std::wstring& text, int encoding, std::string* bytes) {
    if (encoding == TEXT_UTF8 || text.empty()) {
        *bytes = from_wide_text(text, encoding);
        return true;
    }
    UINT code_page = encoding == TEXT_OEM ? GetOEMCP() : GetACP();
    int units = static_cast<int>(text.size());
    bool no_flags = takes_no_flags(code_page);
    // WC_NO_BEST_FIT_CHARS turns a character without a byte form of its own
    // into the default character rather than a likeness, and the system then
    // says that it used the default.
    DWORD flags = no_flags ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    BOOL* used = no_flags ? nullptr : &used_default;
    int size = WideCharToMultiByte(code_page, flags, text.data(), units, nullptr, 0, nullptr, used);
    if (size <= 0)
        return false;
    bytes->assign(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(code_page, flags, text.data(), units, &(*bytes)[0], size, nullptr, used);
    if (used_default)
        return false;
    // Without the system's answer, the way back must give the same text.
    return !no_flags || to_wide_text(*bytes, encoding) == text;
}

void copy_wide_text(const char* text, int encoding, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) {
        return;
    }
    if (encoding == TEXT_UTF8) {
        // Only as much as the buffer holds is decoded: a list asks for the
        // lines it draws, and a line of a megabyte shows a few hundred.
        utf16_from_utf8_into(text ? text : "", reinterpret_cast<char16_t*>(buffer), capacity);
        return;
    }
    lstrcpynW(buffer, to_wide_text(text ? text : "", TEXT_ANSI).c_str(), capacity);
}

void copy_ansi_text(const char* text, int encoding, char* buffer, int capacity) {
    if (!buffer || capacity <= 0) {
        return;
    }
    if (encoding == TEXT_UTF8) {
        std::string ansi = from_wide_text(to_wide_text(text ? text : "", TEXT_UTF8), TEXT_ANSI);
        lstrcpynA(buffer, ansi.c_str(), capacity);
        return;
    }
    lstrcpynA(buffer, text ? text : "", capacity);
}
