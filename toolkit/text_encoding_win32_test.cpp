// Texts through the Unicode window calls: what a tool hands over in UTF-8 or
// in the ANSI code page is what the window holds, and what comes back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "toolkit/toolkit.h"

namespace {

constexpr DWORD HIDDEN_CAPTION = WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU;
// "Greek", "Cyrillic" and "Japanese" in their own scripts.
const char GREEK[] = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";
const wchar_t GREEK_WIDE[] = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
const char CYRILLIC[] = "\xD0\x9A\xD0\xB8\xD1\x80\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0";
const wchar_t CYRILLIC_WIDE[] = L"\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430";
const char JAPANESE[] = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
const wchar_t JAPANESE_WIDE[] = L"\u65e5\u672c\u8a9e";

std::wstring text_of(HWND hwnd) {
    wchar_t text[256] = L"";
    GetWindowTextW(hwnd, text, 256);
    return text;
}

std::wstring ansi_wide(const char* text) {
    wchar_t wide[64] = L"";
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
    return wide;
}

class TextEncoding : public ::testing::Test {
protected:
    void SetUp() override { prepare_toolkit(GetModuleHandleA(nullptr)); }
    void TearDown() override { release_toolkit(); }
};

}  // namespace

TEST_F(TextEncoding, Utf8TextsReachWindowsLabelsAndButtonsWholeAndComeBack) {
    set_text_encoding(TEXT_UTF8);
    HWND window = open_window(0, 20, 20, 300, 200, GREEK, HIDDEN_CAPTION, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowUnicode(window));
    EXPECT_EQ(text_of(window), GREEK_WIDE);
    create_label(1, 10, 10, 200, 20, CYRILLIC, 0);
    create_button(2, 10, 40, 90, 24, JAPANESE);
    EXPECT_EQ(text_of(control_handle(1)), CYRILLIC_WIDE);
    EXPECT_EQ(text_of(control_handle(2)), JAPANESE_WIDE);
    EXPECT_EQ(control_text(1), CYRILLIC);
    set_control_text(2, GREEK);
    EXPECT_EQ(text_of(control_handle(2)), GREEK_WIDE);
    EXPECT_EQ(control_text(2), GREEK);
}

TEST_F(TextEncoding, AnsiIsWhereEveryRunStartsAndOneControlMayDiffer) {
    // "cafe" with an e acute in code page 1252; any ANSI code page reads it
    // as some character, the same one the system's conversion gives.
    const char ansi[] = "caf\xE9";
    HWND window = open_window(0, 20, 20, 300, 200, ansi, HIDDEN_CAPTION, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(text_of(window), ansi_wide(ansi));
    set_text_encoding(TEXT_UTF8);
    create_label(1, 10, 10, 200, 20, GREEK, 0);
    set_control_encoding(1, TEXT_ANSI);
    set_control_text(1, ansi);
    EXPECT_EQ(text_of(control_handle(1)), ansi_wide(ansi));
    EXPECT_EQ(control_text(1), ansi);
    EXPECT_EQ(to_wide_text(ansi, TEXT_ANSI), ansi_wide(ansi));
    EXPECT_EQ(from_wide_text(ansi_wide(ansi), TEXT_ANSI), ansi);
}
