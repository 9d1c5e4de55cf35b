// Every character as typed: texts in scripts the ANSI code page lacks reach
// the tools through the wide process-creation call and come back from their
// windows through the Unicode calls; UTF-8 lists show their characters and
// give back their bytes unchanged. Texts are written as UTF-8 escapes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/box_driver.h"
#include "tests/e2e/pick_driver.h"
#include "vemo/box_layout.h"

namespace {

// "Greek title", three Cyrillic lines ("First line", "The second line, long
// enough to wrap in the label of the box", "Third") and the Japanese "Yes",
// "No" and "Cancel".
const std::string GREEK_TITLE =
    u8"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03cc\u03c2 "
    u8"\u03c4\u03af\u03c4\u03bb\u03bf\u03c2";
const std::vector<std::string> CYRILLIC_LINES = {
    u8"\u041f\u0435\u0440\u0432\u0430\u044f \u0441\u0442\u0440\u043e\u043a\u0430",
    u8"\u0412\u0442\u043e\u0440\u0430\u044f \u0441\u0442\u0440\u043e\u043a\u0430, "
    u8"\u0434\u043e\u0441\u0442\u0430\u0442\u043e\u0447\u043d\u043e "
    u8"\u0434\u043b\u0438\u043d\u043d\u0430\u044f, \u0447\u0442\u043e\u0431\u044b "
    u8"\u043f\u0435\u0440\u0435\u043d\u0435\u0441\u0442\u0438\u0441\u044c",
    u8"\u0422\u0440\u0435\u0442\u044c\u044f"};
const std::vector<std::string> JAPANESE_CAPTIONS = {u8"\u306f\u3044", u8"\u3044\u3044\u3048",
                                                    u8"\u30ad\u30e3\u30f3\u30bb\u30eb"};

// List lines: Greek, Cyrillic, Japanese, and one with two bytes that are no
// UTF-8, which show as two replacement characters.
const std::vector<std::string> UTF8_LINES = {
    u8"\u0386\u03bb\u03c6\u03b1 \u03ba\u03b1\u03b9 \u03a9\u03bc\u03ad\u03b3\u03b1",
    u8"\u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430",
    u8"\u65e5\u672c\u8a9e\u306e\u884c",
    "bad \xFF\xFE byte",
};
const std::string BAD_LINE_SHOWN = u8"bad \uFFFD\uFFFD byte";
const std::string UTF8_MARK = "\xEF\xBB\xBF";
// "Choice=" in Greek.
const std::string GREEK_PREFIX = u8"\u0395\u03c0\u03b9\u03bb\u03bf\u03b3\u03ae=";
const std::string GREEK_TEMPLATE = GREEK_PREFIX + "$item";

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i ? separator : "") + parts[i];
    return text;
}

std::string ansi_of_wide(const std::wstring& text) {
    int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &bytes[0], size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring wide_of_ansi(const std::string& bytes) {
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), &wide[0], size);
    return wide;
}

// Only for skipping what a limitation of Wine itself blocks.
bool running_on_wine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

LaunchOptions wide_launch(const std::string& dir, LaunchMode mode = LAUNCH_REDIRECT_FILE) {
    LaunchOptions options;
    options.mode = mode;
    options.working_dir = dir;
    options.wide_arguments = true;
    return options;
}

// orlipan on `list_bytes` in list.txt, its UTF-8 arguments passed wide.
Pick start_wide_pick(const std::string& list_bytes, const std::string& args,
                     LaunchMode mode = LAUNCH_REDIRECT_FILE) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", list_bytes);
    Pick pick = start_pick_with("list.txt " + args, wide_launch(dir, mode));
    find_pick_window(pick);
    return pick;
}

std::vector<std::string> shown_lines_wide(Pick& pick) {
    std::vector<std::string> lines;
    int count = (int)SendMessageW(pick.list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        lines.push_back(remote_item_text_utf8(pick.run.process, pick.list, i));
    return lines;
}

void select_line(Pick& pick, int index) {
    press_in(pick, VK_HOME);
    for (int i = 0; i < index; ++i)
        press_in(pick, VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == index; }));
}

// The box's font, made as the tool makes it.
HFONT box_font(const BoxSettings& s) {
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    int height = -MulDiv(s.font_size, GetDeviceCaps(display, LOGPIXELSY), 72);
    DeleteDC(display);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       DEFAULT_QUALITY, 0, wide_of_utf8(s.font_name).c_str());
}

SIZE extent_in(HFONT font, const std::string& text) {
    HDC context = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(context, font);
    std::wstring wide = wide_of_utf8(text);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(context, wide.c_str(), (int)wide.size(), &size);
    SelectObject(context, previous);
    ReleaseDC(nullptr, context);
    return size;
}

// The report box of a run that ends with one; its text, and the exit code.
std::string reported(const std::string& args, DWORD* exit_code) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", "one\r\n");
    ToolRun run = start_tool("orlipan.exe", "list.txt " + args, wide_launch(dir));
    HWND box = wait_for_window(run);
    std::string text = box ? window_text_utf8(GetDlgItem(box, 0xFFFF)) : "no report";
    if (box && make_foreground(box))
        press_key(VK_RETURN);
    if (!wait_exit(run, EXIT_TIMEOUT_MS, exit_code))
        text += " (the tool did not end)";
    kill_tool(run);
    return text;
}

}  // namespace

TEST(UnicodeVemo, GreekTitleCyrillicLinesAndJapaneseCaptionsShowWholeAsGiven) {
    std::vector<std::string> arguments = {GREEK_TITLE, joined(CYRILLIC_LINES, "^"),
                                          joined(JAPANESE_CAPTIONS, ";")};
    std::string dir = scratch_dir();
    ToolRun run = start_tool("vemo.exe", "\"" + joined(arguments, "\" \"") + "\"",
                             wide_launch(dir, LAUNCH_NEW_CONSOLE));
    std::shared_ptr<void> guard = end_when_dropped(run.process);
    HWND window = wait_for_window(run);
    ASSERT_TRUE(window);
    EXPECT_EQ(window_text_utf8(window), GREEK_TITLE);
    HWND label = child_by_class(window, "Static");
    EXPECT_EQ(window_text_utf8(label), joined(CYRILLIC_LINES, "\r"));

    // The label is as high as the text measured through the Unicode call needs.
    BoxSettings s = read_box_settings(arguments);
    BoxLayout l = plan_box_layout(s);
    HFONT font = box_font(s);
    std::vector<TextExtent> extents;
    for (const std::string& line : CYRILLIC_LINES) {
        SIZE size = extent_in(font, line);
        extents.push_back({size.cx, size.cy});
    }
    fit_box_text(l, s, extents);
    EXPECT_GT(l.rows, 3);  // the second line wraps
    RECT label_rect = window_rect(label);
    EXPECT_EQ(label_rect.bottom - label_rect.top, l.text_height);

    for (int id = 1; id <= 3; ++id) {
        HWND control = button(window, id);
        const std::string& caption = JAPANESE_CAPTIONS[id - 1];
        EXPECT_EQ(window_text_utf8(control), caption) << id;
        RECT client = {};
        GetClientRect(control, &client);
        // The push button's frame takes an edge and a pixel at either side.
        int room = client.right - 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
        EXPECT_LE(extent_in(font, caption).cx, room) << id;
    }
    DeleteObject(font);
    ASSERT_TRUE(make_foreground(window));
    press_key(VK_ESCAPE);
    DWORD code = 12345;
    EXPECT_TRUE(wait_exit(run, EXIT_TIMEOUT_MS, &code));
    EXPECT_EQ(code, 0u);
    kill_tool(run);
}

TEST(UnicodePick, TitleOfAnotherScriptLeavesListAndOutputInTheAnsiCodePage) {
    // "cafe" with the e acute of code page 1252, and a template with an e
    // acute (which the ANSI code page of a Western system holds) and an
    // omega (which it lacks).
    const std::string line = "caf\xE9";
    const std::string templ = u8"\u00e9=$item \u03a9";
    Pick pick =
        start_wide_pick(line + "\r\nplain\r\n", "\"" + GREEK_TITLE + "\" \"" + templ + "\"");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(window_text_utf8(pick.window), GREEK_TITLE);
    EXPECT_EQ(shown_lines_wide(pick),
              (std::vector<std::string>{utf8_of_wide(wide_of_ansi(line)), "plain"}));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 1u);
    // The template as the ANSI command line would have brought it.
    EXPECT_EQ(end.output, ansi_of_wide(L"\u00e9=") + line + ansi_of_wide(L" \u03a9"));
}

TEST(UnicodePick, Utf8ListsShowTheirCharactersAndGiveBackTheirBytes) {
    const std::string list = lines_text(UTF8_LINES);
    std::vector<std::string> shown = UTF8_LINES;
    shown[3] = BAD_LINE_SHOWN;
    const std::string args = "\"" + GREEK_TITLE + "\" \"" + GREEK_TEMPLATE + "\" /utf8";

    // As Notepad saves it: no byte-order mark. The invalid line goes back as it was.
    Pick plain = start_wide_pick(list, args);
    ASSERT_TRUE(plain.window);
    EXPECT_EQ(shown_lines_wide(plain), shown);
    select_line(plain, 3);
    press_in(plain, VK_RETURN);
    Ending plain_end = finish(plain);
    EXPECT_EQ(plain_end.exit_code, 4u);
    EXPECT_EQ(plain_end.output, GREEK_PREFIX + UTF8_LINES[3]);

    // With the mark, which is no part of line 1; a typed capital finds its
    // small letter.
    Pick marked = start_wide_pick(UTF8_MARK + list, args, LAUNCH_REDIRECT_PIPE);
    ASSERT_TRUE(marked.window);
    EXPECT_EQ(shown_lines_wide(marked), shown);
    type_character(marked, L'\u041a');
    EXPECT_TRUE(wait_until([&] { return selected_line(marked.list) == 1; }));
    select_line(marked, 0);
    press_in(marked, VK_RETURN);
    Ending marked_end = finish(marked);
    EXPECT_EQ(marked_end.exit_code, 1u);
    EXPECT_EQ(marked_end.output, GREEK_PREFIX + UTF8_LINES[0]);
}

TEST(UnicodePick, Utf8LinesAreMeasuredByTheirCharactersNotTheirBytes) {
    // Ten lines of twenty e acutes hold more bytes than the line of thirty
    // W, and would look wider if every byte were a character; the W line is
    // the widest and must fit its column whole.
    std::vector<std::string> lines(10, "");
    for (std::string& line : lines) {
        for (int i = 0; i < 20; ++i)
            line += u8"é";
    }
    const std::string widest(30, 'W');
    lines.push_back(widest);
    Pick pick = start_wide_pick(lines_text(lines), "T $item /utf8");
    ASSERT_TRUE(pick.window);
    BoxSettings list_font;  // the list's font, made as the box's is
    list_font.font_name = "Verdana";
    list_font.font_size = 9;
    HFONT font = box_font(list_font);
    int text_width = extent_in(font, widest).cx;
    DeleteObject(font);
    RECT row = remote_item_rect(pick.run.process, pick.list, 10);
    EXPECT_GE(row.right - row.left, text_width);
    press_in(pick, VK_ESCAPE);
    finish(pick);
}

TEST(UnicodePick, Utf8WithAnOemConversionIsReported) {
    for (const char* options : {"/utf8 /oemlist", "/oemout /utf8"}) {
        SCOPED_TRACE(options);
        DWORD code = 12345;
        EXPECT_EQ(reported(std::string("T x=$item ") + options, &code), "Invalid Option: /utf8");
        EXPECT_EQ(code, 0u);
    }
}

TEST(UnicodePick, Utf8OutputToAConsoleShowsItsCharacters) {
    // The test attaches to the tool's console, which then outlives the tool,
    // and reads back what the console shows.
    Pick pick = start_wide_pick(lines_text(UTF8_LINES), "T \"" + GREEK_TEMPLATE + "\" /utf8",
                                LAUNCH_NEW_CONSOLE);
    ASSERT_TRUE(pick.window);
    FreeConsole();
    ASSERT_TRUE(AttachConsole(pick.run.pid));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 1u);
    HANDLE screen =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &info));
    std::wstring shown(info.dwSize.X * info.dwSize.Y, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, &shown[0], (DWORD)shown.size(), COORD{0, 0}, &read);
    CloseHandle(screen);
    FreeConsole();
    shown.resize(read);
    EXPECT_NE(shown.find(wide_of_utf8(GREEK_PREFIX + UTF8_LINES[0])), std::wstring::npos)
        << utf8_of_wide(shown.substr(0, 200));
}

TEST(UnicodeBatch, ChcpUtf8PipesAFolderListingAndOpensAFileOfAnotherScript) {
    // The folder holds files named in three scripts; the batch file pipes
    // its listing into the tool and opens the picked file.
    const std::vector<std::string> names = {
        u8"\u03a9\u03bc\u03ad\u03b3\u03b1.txt",
        u8"\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430.txt", u8"\u65e5\u672c\u8a9e.txt"};
    const std::vector<std::string> contents = {"omega", "cyrillic", "japanese"};
    std::string dir = scratch_dir();
    CreateDirectoryA((dir + "\\files").c_str(), nullptr);
    for (size_t i = 0; i < names.size(); ++i) {
        std::wstring path = wide_of_ansi(dir + "\\files\\") + wide_of_utf8(names[i]);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, contents[i].data(), (DWORD)contents[i].size(), &written, nullptr);
        CloseHandle(file);
    }
    HANDLE batch = start_batch("orlipan_utf8_pipe.cmd", dir);
    ASSERT_TRUE(batch);
    Pick pick = pick_started_by_batch("Pick a file by its name");
    ASSERT_TRUE(pick.window) << batch_result(batch, dir);
    pick.guard = end_when_dropped(pick.run.process);
    std::vector<std::string> lines = shown_lines_wide(pick);
    EXPECT_TRUE(std::is_permutation(lines.begin(), lines.end(), names.begin(), names.end()));
    int cyrillic = (int)(std::find(lines.begin(), lines.end(), names[1]) - lines.begin());
    ASSERT_LT(cyrillic, (int)lines.size());
    select_line(pick, cyrillic);
    press_in(pick, VK_RETURN);
    std::string result = batch_result(batch, dir);
    CloseHandle(pick.run.process);
    EXPECT_EQ(read_file(dir + "\\picked.txt"), names[1]);
    if (running_on_wine()) {
        // Wine 8's cmd.exe reads the input of `for /f` (and of `set /p`) in the
        // ANSI code page even after chcp 65001, so the picked name never
        // reaches `type` as it was written; Windows reads it as UTF-8.
        GTEST_SKIP() << "Wine's cmd.exe does not read UTF-8 with for /f after chcp 65001";
    }
    EXPECT_EQ(result, "cyrillic");
}
