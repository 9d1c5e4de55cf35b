// The keys every dialog answers, with real key events: a button's underlined
// letter in the message box (alone on a button, with Alt anywhere, shared by
// two buttons, "&&" marking none) and Ctrl+C in both tools, read back from
// the clipboard in its Unicode and ANSI formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/box_driver.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

namespace {

const std::string RULE = "---------------------------\r\n";

HWND focus_of(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

Box open_focused_box(const std::string& args, HWND (*focus)(HWND),
                     const LaunchOptions& options = LaunchOptions()) {
    Box box = open_box(args, options);
    EXPECT_TRUE(box.window != nullptr);
    if (box.window) {
        EXPECT_TRUE(make_foreground(box.window));
        EXPECT_TRUE(wait_until([&] { return focus_of(box.window) == focus(box.window); }));
    }
    return box;
}

HWND first_button(HWND box) {
    return button(box, 1);
}

HWND field_of(HWND box) {
    return child_by_class(box, "Edit");
}

// The window text read across processes (the system carries WM_GETTEXT).
std::string text_of(HWND control) {
    wchar_t text[256] = L"";
    SendMessageW(control, WM_GETTEXT, 256, (LPARAM)text);
    return utf8_of_wide(text);
}

void empty_clipboard() {
    ASSERT_TRUE(wait_until([] { return OpenClipboard(nullptr) != 0; }));
    EmptyClipboard();
    CloseClipboard();
}

// The clipboard's text in one format; "<none>" when it holds none.
std::string clipboard_bytes(UINT format) {
    if (!OpenClipboard(nullptr))
        return "<busy>";
    std::string bytes = "<none>";
    HANDLE data = GetClipboardData(format);
    const char* at = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (at) {
        bytes = format == CF_UNICODETEXT ? utf8_of_wide(reinterpret_cast<const wchar_t*>(at))
                                         : std::string(at);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

// Waits until the clipboard's text in `format` is `utf8` (in the ANSI code
// page for CF_TEXT) and says what it held.
std::string clipboard_after_copy(const std::string& utf8, UINT format = CF_UNICODETEXT);

std::string in_ansi(const std::string& utf8) {
    std::wstring wide = wide_of_utf8(utf8);
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(size > 0 ? size - 1 : 0);
    return bytes;
}

std::string clipboard_after_copy(const std::string& utf8, UINT format) {
    const std::string wanted = format == CF_TEXT ? in_ansi(utf8) : utf8;
    wait_until([&] { return clipboard_bytes(format) == wanted; });
    return clipboard_bytes(format);
}

// Ctrl+C, given again until the clipboard holds `utf8`: a key that reaches a
// window still settling after it showed is dispatched without an answer.
// Under Wine an emptied clipboard has been seen to get back the text an
// earlier program (since ended) put there, taken again from the X selection,
// so only the expected text tells that this copy arrived.
std::string copied(const std::string& utf8) {
    empty_clipboard();
    give([] { press_key('C', false, true); },
         [&] { return clipboard_bytes(CF_UNICODETEXT) == utf8; });
    return clipboard_bytes(CF_UNICODETEXT);
}

void type_keys(const std::string& text) {
    for (char c : text) {
        SHORT key = VkKeyScanA(c);
        press_key(LOBYTE(key), (HIBYTE(key) & 1) != 0);
    }
}

}  // namespace

// ---- Underlined letters --------------------------------------------------------

TEST(VemoKeys, AnUnderlinedLetterPressesItsButtonAloneOnAButtonOrWithAltAnywhere) {
    const std::string args = "Save \"Save the file?\" \"&Yes;&No;Cancel\"";
    {
        Box box = open_focused_box(args, first_button);
        ASSERT_TRUE(box.window);
        answer(box, [] { press_key('N'); });
        EXPECT_EQ(finish(box), 2u);
    }
    {
        Box box = open_focused_box(args, first_button);
        ASSERT_TRUE(box.window);
        answer(box, [] { press_key('N', false, false, true); });
        EXPECT_EQ(finish(box), 2u);
    }
    // In the field the letter types; with Alt it presses, and the field's
    // text is the answer as for a click.
    {
        Box box = open_focused_box("Save \"Name?\" \"&Yes;&No\" /IN=", field_of);
        ASSERT_TRUE(box.window);
        HWND field = field_of(box.window);
        EXPECT_TRUE(give([] { press_key('N'); }, [&] { return text_of(field) == "n"; }));
        EXPECT_FALSE(box_gone(box));
        answer(box, [] { press_key('N', false, false, true); });
        EXPECT_EQ(finish(box), 2u);
        EXPECT_EQ(output_bytes(box.run), "n");
    }
}

TEST(VemoKeys, ASharedLetterMovesTheFocusAndADoubledAmpersandMarksNothing) {
    Box box = open_focused_box("T Text \"&Save;&skip;R&&D$\" /TM=60", first_button);
    ASSERT_TRUE(box.window);
    HWND save = button(box.window, 1), skip = button(box.window, 2), rd = button(box.window, 3);
    // The letter moves the focus on without pressing, either case.
    EXPECT_TRUE(give([] { press_key('S'); }, [&] { return focus_of(box.window) == skip; }));
    press_key('S', true);
    EXPECT_TRUE(wait_until([&] { return focus_of(box.window) == save; }));
    // D is no key: the S after it finds the box open, focus on Save.
    press_key('D');
    press_key('S');
    EXPECT_TRUE(wait_until([&] { return focus_of(box.window) == skip; }));
    EXPECT_FALSE(box_gone(box));
    // As any key, the letters stopped the countdown.
    EXPECT_TRUE(wait_until([&] { return text_of(rd) == "R&&D"; })) << text_of(rd);
    // The copy shows the caption as drawn, with one ampersand.
    EXPECT_EQ(copied(RULE + "T\r\n" + RULE + "Text\r\n" + RULE + "Save   skip   R&D   \r\n" + RULE),
              RULE + "T\r\n" + RULE + "Text\r\n" + RULE + "Save   skip   R&D   \r\n" + RULE);
    EXPECT_FALSE(box_gone(box));
    answer(box, [] { press_key(VK_RETURN); });
    EXPECT_EQ(finish(box), 2u);
}

// ---- Ctrl+C ----------------------------------------------------------------------

// The test reads what the tool put on the clipboard as any other program
// would. Under Wine in Xvfb, with no X client but Wine's own, the programs of
// one prefix share it as on Windows (see copied() for the one difference).
TEST(VemoKeys, CtrlCCopiesTheBoxInTheSystemMessageBoxLayoutAndLeavesItOpen) {
    LaunchOptions wide;
    wide.wide_arguments = true;
    {
        Box box = open_focused_box(quoted_line({"Ошибка", "Файл не найден", "&Да;&Нет"}),
                                   first_button, wide);
        ASSERT_TRUE(box.window);
        const std::string copy =
            RULE + "Ошибка\r\n" + RULE + "Файл не найден\r\n" + RULE + "Да   Нет   \r\n" + RULE;
        EXPECT_EQ(copied(copy), copy);
        EXPECT_EQ(clipboard_after_copy(copy, CF_TEXT), in_ansi(copy));
        EXPECT_FALSE(box_gone(box));
        answer(box, [] { press_key(VK_ESCAPE); });
        EXPECT_EQ(finish(box), 0u);
    }
    // In the field, what is selected there, as the field itself copies.
    {
        Box box = open_focused_box(quoted_line({"T", "Имя?", "OK", "/IN=Вера"}), field_of, wide);
        ASSERT_TRUE(box.window);
        EXPECT_EQ(copied("Вера"), "Вера");
        EXPECT_FALSE(box_gone(box));
        answer(box, [] { press_key(VK_RETURN); });
        EXPECT_EQ(finish(box), 1u);
        // The answer in the ANSI code page, as without /UTF8 always.
        EXPECT_EQ(output_bytes(box.run), in_ansi("Вера"));
    }
}

TEST(PickKeys, CtrlCCopiesTheChosenLinesAsTheListHoldsThemAndTheWindowStaysOpen) {
    // /tab: the whole line, tab included; /utf8 Cyrillic through the Unicode format.
    {
        Pick pick = start_pick("один\tone\r\nдва\ttwo\r\n", "Pick $item /utf8 /tab");
        ASSERT_TRUE(pick.window);
        press_in(pick, VK_DOWN);
        EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
        EXPECT_EQ(copied("два\ttwo"), "два\ttwo");
        EXPECT_TRUE(still_open(pick));
        press_in(pick, VK_ESCAPE);
        EXPECT_EQ(finish(pick).exit_code, 0u);
    }
    // /multi: the chosen lines one a line, in the list's order.
    {
        Pick pick = start_pick(lines_text({"red", "green", "blue"}), "Pick $item /multi");
        ASSERT_TRUE(pick.window);
        POINT p = line_point(pick, 2);
        click_holding(p.x, p.y, VK_CONTROL);
        EXPECT_TRUE(wait_until([&] {
            return selected_lines(pick.list) == std::vector<int>{0, 2};
        }));
        EXPECT_EQ(copied("red\r\nblue"), "red\r\nblue");
        EXPECT_TRUE(still_open(pick));
        press_in(pick, VK_RETURN);
        Ending end = finish(pick);
        EXPECT_EQ(end.exit_code, 2u);
        EXPECT_EQ(end.output, "red\r\nblue");
    }
    // /filter: the chosen line while nothing is selected in the box, then
    // the box's own selection.
    {
        Pick pick = start_pick(lines_text({"alpha", "bravo", "charlie"}), "Pick $item /filter");
        ASSERT_TRUE(pick.window);
        ASSERT_TRUE(make_foreground(pick.window));
        type_keys("br");
        EXPECT_TRUE(
            wait_until([&] { return shown_lines(pick) == std::vector<std::string>{"bravo"}; }));
        EXPECT_EQ(copied("bravo"), "bravo");
        press_key(VK_HOME, true);
        EXPECT_EQ(copied("br"), "br");
        EXPECT_TRUE(still_open(pick));
        press_in(pick, VK_RETURN);
        Ending end = finish(pick);
        EXPECT_EQ(end.exit_code, 2u);
        EXPECT_EQ(end.output, "bravo");
    }
}
