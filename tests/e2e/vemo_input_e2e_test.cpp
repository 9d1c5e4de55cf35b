// The message box asking for text: the answer field (/IN, /PW) typed into
// with real key events, the answer on standard output in each code page, the
// system's icons beside the text, and a batch file that reads the answer.
#include <gtest/gtest.h>

#include <iostream>

#include <string>
#include <vector>

#include "tests/e2e/box_driver.h"
#include "tests/e2e/driver.h"
#include "vemo/box_layout.h"
#include "vemo/box_options.h"

namespace {

HWND field_of(HWND box) {
    return child_by_class(box, "Edit");
}

bool field_has_focus(HWND box) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
    return info.hwndFocus != nullptr && info.hwndFocus == field_of(box);
}

// Characters as Unicode key events (VK_PACKET), so that any script can be
// typed whatever the keyboard layout.
void type_text(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT key = {};
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(key);
        key.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(key);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

int text_length(HWND field) {
    return static_cast<int>(SendMessageW(field, WM_GETTEXTLENGTH, 0, 0));
}

// Opens the box and waits until its field has the focus.
Box open_field_box(const std::string& args, const LaunchOptions& options = LaunchOptions()) {
    Box box = open_box(args, options);
    EXPECT_TRUE(box.window != nullptr);
    EXPECT_TRUE(box.window && field_of(box.window) != nullptr);
    if (box.window) {
        EXPECT_TRUE(make_foreground(box.window));
        EXPECT_TRUE(wait_until([&] { return field_has_focus(box.window); }));
    }
    return box;
}

struct Answer {
    DWORD code;
    std::string output;
};

Answer ended(Box& box) {
    DWORD code = finish(box);
    return Answer{code, output_bytes(box.run)};
}

// Types `text` into the field (replacing the selected start text), waits
// until the field holds `length` characters, then presses Enter.
Answer type_and_enter(const std::string& args, const std::wstring& text,
                      const LaunchOptions& options = LaunchOptions()) {
    Box box = open_field_box(args, options);
    if (!box.window)
        return Answer{12345, ""};
    type_text(text);
    HWND field = field_of(box.window);
    EXPECT_TRUE(wait_until([&] { return text_length(field) == (int)text.size(); }));
    answer(box, [&] { press_key(VK_RETURN); });
    return ended(box);
}

std::string in_code_page(const std::wstring& text, UINT code_page) {
    int size = WideCharToMultiByte(code_page, 0, text.data(), (int)text.size(), nullptr, 0, nullptr,
                                   nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(code_page, 0, text.data(), (int)text.size(), &bytes[0], size, nullptr,
                        nullptr);
    return bytes;
}

int icon_size_at(int dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi");
    MetricForDpi metric = reinterpret_cast<MetricForDpi>(reinterpret_cast<void*>(found));
    return metric ? metric(SM_CXICON, dpi) : MulDiv(GetSystemMetrics(SM_CXICON), dpi, 96);
}

}  // namespace

TEST(VemoInput, TheFieldsTextIsTheAnswerOfEveryButtonButNotOfEscape) {
    // Typing replaces the selected start text; a real Space types a space
    // (the box's Space shortcut is for the buttons).
    {
        Box box = open_field_box("T \"Your name?\" \"OK;Later\" /IN=old");
        ASSERT_TRUE(box.window);
        HWND field = field_of(box.window);
        DWORD start = 0, end = 0;
        SendMessageW(field, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 3u);
        type_text(L"Ada");
        press_key(VK_SPACE);
        type_text(L"L");
        EXPECT_TRUE(wait_until([&] { return window_text_utf8(field) == "Ada L"; }));
        answer(box, [&] { press_key(VK_RETURN); });
        Answer a = ended(box);
        EXPECT_EQ(a.code, 1u);
        EXPECT_EQ(a.output, "Ada L");
    }
    // The start text as given, with a click on the second button.
    {
        Box box = open_field_box("T X \"OK;Later\" \"/IN=default; & ''x''\"");
        ASSERT_TRUE(box.window);
        EXPECT_EQ(window_text_utf8(field_of(box.window)), "default; & ''x''");
        answer(box, [&] { click_window_center(button(box.window, 2)); });
        Answer a = ended(box);
        EXPECT_EQ(a.code, 2u);
        EXPECT_EQ(a.output, "default; & ''x''");
    }
    // Escape writes nothing, even with text typed.
    {
        Box box = open_field_box("T X OK /IN=kept");
        ASSERT_TRUE(box.window);
        answer(box, [&] { press_key(VK_ESCAPE); });
        Answer a = ended(box);
        EXPECT_EQ(a.code, 0u);
        EXPECT_EQ(a.output, "");
    }
    // Enter in the field presses the default button, not the first.
    EXPECT_EQ(type_and_enter("T X \"A;B;C\" /IN /DB=3", L"z").code, 3u);
}

TEST(VemoInput, TheCountdownEndsWithTheTextTheFieldHoldsThenTypingStopsIt) {
    Box box = open_field_box("T X \"A;B ($)\" /IN=start /TM=3 /DB=2");
    ASSERT_TRUE(box.window);
    // Put in without key presses, which would stop the countdown.
    SendMessageW(field_of(box.window), WM_SETTEXT, 0, (LPARAM)L"changed");
    Answer a = ended(box);
    EXPECT_EQ(a.code, 2u);
    EXPECT_EQ(a.output, "changed");

    // Typing is a key press like any other: the countdown stops. A key the
    // box gets while it settles after showing stops nothing (see give), so
    // the typing may be repeated.
    Box typed = open_field_box("T X \"A;B ($)\" /IN /TM=20 /DB=2");
    ASSERT_TRUE(typed.window);
    EXPECT_TRUE(give([] { type_text(L"x"); },
                     [&] { return window_caption(button(typed.window, 2)) == "B ()"; }));
    std::string shown = window_text_utf8(field_of(typed.window));
    EXPECT_EQ(shown.substr(0, 1), "x");
    answer(typed, [&] { press_key(VK_RETURN); });
    Answer t = ended(typed);
    EXPECT_EQ(t.code, 2u);
    EXPECT_EQ(t.output, shown);
}

TEST(VemoInput, ThePasswordFieldHidesItsCharactersAndOnlyTheOutputHasThem) {
    Box box = open_field_box("T Password? OK /PW");
    ASSERT_TRUE(box.window);
    HWND field = field_of(box.window);
    EXPECT_NE(GetWindowLongW(field, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_NE(SendMessageW(field, EM_GETPASSWORDCHAR, 0, 0), 0);
    type_text(L"s3cr\u00e9t");
    EXPECT_TRUE(wait_until([&] { return text_length(field) == 6; }));
    answer(box, [&] { press_key(VK_RETURN); });
    Answer a = ended(box);
    EXPECT_EQ(a.code, 1u);
    EXPECT_EQ(a.output, in_code_page(L"s3cr\u00e9t", CP_ACP));
}

TEST(VemoInput, EachEncodingWritesTheAnswerInItsCodePage) {
    // é is in the ANSI and the usual OEM code pages, ā only as a best fit
    // (a), Ж in neither (the default character ?). The bytes are those of
    // the code pages' published tables: é is E9 in 1252, 82 in 437 and 850.
    const std::wstring typed = L"Ab \u00e9\u0101\u0416";
    struct Case {
        const char* option;
        bool known;
        std::string bytes;
    };
    const UINT oem = GetOEMCP();
    for (const Case& c : {Case{"", GetACP() == 1252,
                               "Ab \xE9"
                               "a?"},
                          Case{"/OEM", oem == 437 || oem == 850,
                               "Ab \x82"
                               "a?"},
                          Case{"/UTF8", true, "Ab \xC3\xA9\xC4\x81\xD0\x96"}}) {
        SCOPED_TRACE(c.option);
        if (!c.known) {
            std::cout << "[ SKIPPED  ] " << c.option << ": code pages " << GetACP() << "/" << oem
                      << " have no table here\n";
            continue;
        }
        Answer a = type_and_enter(std::string("T X OK /IN ") + c.option, typed);
        EXPECT_EQ(a.code, 1u);
        EXPECT_EQ(a.output, c.bytes);
    }
}

TEST(VemoInput, Utf8AnswerToAConsoleShowsItsCharacters) {
    LaunchOptions console;
    console.mode = LAUNCH_NEW_CONSOLE;
    const std::wstring typed = L"\u0391\u03b8\u03ae\u03bd\u03b1 \u041c\u0438\u0440";
    Box box = open_field_box("T X OK /IN /UTF8", console);
    ASSERT_TRUE(box.window);
    // The test attaches to the tool's console, which then outlives the tool.
    FreeConsole();
    ASSERT_TRUE(AttachConsole(box.run.pid));
    type_text(typed);
    HWND field = field_of(box.window);
    EXPECT_TRUE(wait_until([&] { return text_length(field) == (int)typed.size(); }));
    answer(box, [&] { press_key(VK_RETURN); });
    EXPECT_EQ(finish(box), 1u);
    std::wstring shown = attached_console_text();
    FreeConsole();
    EXPECT_NE(shown.find(typed), std::wstring::npos) << utf8_of_wide(shown.substr(0, 200));
}

TEST(VemoIcon, EachIconSitsLeftOfTheTextAtTheSystemsSizeForTheDisplay) {
    const int dpi = display_dpi();
    const int size = icon_size_at(dpi);
    for (const char* letter : {"i", "w", "e", "q"}) {
        SCOPED_TRACE(letter);
        std::vector<std::string> arguments = {"T", "Careful^now", "OK;No",
                                              std::string("/IC=") + letter, "/IN=x"};
        Box box = open_box(quoted_line(arguments));
        ASSERT_TRUE(box.window != nullptr);
        HWND icon = nullptr;
        for (HWND s : children_by_class(box.window, "Static")) {
            if ((GetWindowLongW(s, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icon = s;
        }
        ASSERT_TRUE(icon != nullptr);
        EXPECT_TRUE(SendMessageW(icon, STM_GETICON, 0, 0) != 0);
        // Font size 9: margins of 2 x 9 pixels at 96 DPI, the field 9 pixels
        // above the buttons, the text at least 200 wide beside a field.
        const int margin = MulDiv(18, dpi, 96);
        RECT field = rect_in_client(box.window, field_of(box.window));
        RECT i = rect_in_client(box.window, icon);
        EXPECT_EQ(i.left, margin);
        EXPECT_EQ(i.top, margin);
        EXPECT_EQ(i.right - i.left, size);
        EXPECT_EQ(i.bottom - i.top, size);
        RECT label =
            rect_in_client(box.window, child_by_text(box.window, "Static", "Careful\rnow"));
        EXPECT_EQ(label.left, i.right + margin);  // beside the icon, not over it
        EXPECT_EQ(label.top, margin);
        EXPECT_GE(label.right - label.left, MulDiv(200, dpi, 96));
        EXPECT_EQ(field.left, label.left);
        EXPECT_EQ(field.right, label.right);
        // Under the taller of text and icon.
        EXPECT_EQ(field.top, std::max(label.bottom, i.bottom));
        RECT first = rect_in_client(box.window, button(box.window, 1));
        EXPECT_EQ(first.top, field.bottom + MulDiv(9, dpi, 96));
        RECT client = {};
        GetClientRect(box.window, &client);
        EXPECT_EQ(client.right, label.right + margin);
        EXPECT_EQ(client.bottom, first.bottom + margin);
        answer(box, [&] { click_window_center(button(box.window, 2)); });
        EXPECT_EQ(finish(box), 2u);
    }
}

TEST(VemoInput, ABadIconLetterOrTwoEncodingsAreASyntaxErrorWithNoField) {
    // The second encoding is the wrong one.
    for (auto c :
         {std::pair<const char*, const char*>{"/IC=x", "/IC=x"}, {"/OEM /UTF8", "/UTF8"}}) {
        SCOPED_TRACE(c.first);
        Box wrong = open_box(std::string("T X OK /IN ") + c.first);
        ASSERT_TRUE(wrong.window != nullptr);
        std::string report = std::string("Syntax error:\rInvalid option(s):  ") + c.second;
        EXPECT_TRUE(child_by_text(wrong.window, "Static", report) != nullptr);
        EXPECT_EQ(field_of(wrong.window), nullptr);
        answer(wrong, [&] { request_close(wrong.window); });
        Answer a = ended(wrong);
        EXPECT_EQ(a.code, 255u);
        EXPECT_EQ(a.output, "");
    }
}

TEST(VemoInput, ABatchFileReadsTheAnswerWithForF) {
    std::string result = scratch_dir() + "\\name.txt";
    ToolRun run = start_script("vemo_name.cmd", result);
    ASSERT_TRUE(run.process != nullptr);
    HWND box = wait_for_box("Batch name", "Your name?");
    ASSERT_TRUE(box != nullptr);
    ASSERT_TRUE(make_foreground(box));
    EXPECT_TRUE(wait_until([&] { return field_has_focus(box); }));
    type_text(L"Grace Hopper");
    EXPECT_TRUE(wait_until([&] { return text_length(field_of(box)) == 12; }));
    EXPECT_TRUE(give([] { press_key(VK_RETURN); }, [&] { return !IsWindowVisible(box); }));
    EXPECT_EQ(run_script(run), 0u);
    EXPECT_EQ(read_file(result), "Hello, Grace Hopper!\r\n");
}
