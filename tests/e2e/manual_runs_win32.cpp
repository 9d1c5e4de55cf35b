#include "tests/e2e/manual_runs.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/e2e/pick_driver.h"

const std::vector<std::string> TRICKY_LINES = {
    ";x",
    "|x",
    "  lead",
    "salt & pepper",
    "100% sure",
    "say \"hi\" & bye",
    "a (b)",
    "C:\\Program Files (x86)",
    "^up <in >out",
    "bang!",
    u8"\u00e9.txt",
    u8"\u00fc\u00df \u0416",
    "",
    "long " + std::string(60, '&') + std::string(60, '%') + std::string(60, '!') +
        std::string(60, ';') + std::string(60, '"'),
};
const std::vector<std::string> TRICKY_NAMES = {
    ";x.txt",        "  lead.txt",   "salt & pepper.txt",
    "100% sure.txt", "a (b).txt",    "^up.txt",
    "bang!.txt",     u8"\u00e9.txt", u8"\u00fc\u00df \u0416.txt",
};

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

UINT list_code_page(const ManualBlock& block) {
    if (holds(block.code, "/utf8"))
        return CP_UTF8;
    return holds(block.code, "/oemlist") ? CP_OEMCP : CP_ACP;
}
UINT console_code_page(const ManualBlock& block) {
    return holds(block.code, "chcp 65001") ? CP_UTF8 : CP_OEMCP;
}
void write_named(const std::string& dir, const std::string& utf8_name, const std::string& bytes) {
    std::wstring path = wide_of_utf8(dir + "\\" + utf8_name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << utf8_name;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
}

namespace {

bool ascii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 128; });
}

// Whether this cmd.exe reads a file with for /f in the console's code page,
// so that a name read back opens the file: Windows does; Wine 8 reads it in
// the ANSI code page.
bool cmd_reads_console_code_page(UINT code_page) {
    static std::set<UINT> known_good, known_bad;
    if (known_good.count(code_page) || known_bad.count(code_page))
        return known_good.count(code_page) != 0;
    std::string name = code_page == CP_UTF8 ? u8"\u0416.txt" : u8"\u00e9.txt";
    std::string dir = fresh_dir();
    write_named(dir, name, "found\r\n");
    write_file(dir + "\\answer.txt", in_code_page(name, code_page));
    std::string chcp = code_page == CP_UTF8 ? "chcp 65001 > nul\r\n" : "";
    bool good = probe_cmd(chcp +
                              "for /f \"usebackq delims=\" %%a in (\"answer.txt\") do "
                              "type \"%%a\" > \"%MANUAL_RESULT%\"",
                          dir) == "found\r\n";
    (good ? known_good : known_bad).insert(code_page);
    return good;
}

}  // namespace

// The lines of `all` that both code pages hold exactly; letters beyond
// ASCII only where this cmd.exe reads them as Windows does, else the skip
// is noted with its reason.
std::vector<std::string> usable(const std::vector<std::string>& all, UINT list_page,
                                UINT answer_page, std::vector<std::string>& skipped) {
    bool letters = cmd_reads_console_code_page(answer_page);
    if (!letters) {
        skipped.push_back(std::string("this cmd.exe does not read a file in the console's ") +
                          (answer_page == CP_UTF8 ? "UTF-8 (chcp 65001)" : "OEM code page") +
                          ", so lines beyond ASCII are left out");
    }
    std::vector<std::string> kept;
    for (const std::string& line : all) {
        bool exact = true;
        in_code_page(line, list_page, &exact);
        in_code_page(line, answer_page, &exact);
        if (exact && (letters || ascii(line)))
            kept.push_back(line);
    }
    return kept;
}

// Whether this cmd.exe puts a value in with !name! as Windows does, "!"
// and all: Wine 8's reads the "!" of the value again.
bool bang_kept_by_delayed_expansion() {
    static int known = -1;
    if (known < 0) {
        known = probe_cmd(
                    "set \"v=a!b\"\r\nsetlocal EnableDelayedExpansion\r\n"
                    "set \"w=!v!\"\r\nset w>\"%MANUAL_RESULT%\"",
                    fresh_dir()) == "w=a!b\r\n";
    }
    return known == 1;
}

bool errors_tell(const std::string& line, std::vector<std::string>& skipped) {
    if (line.find('!') == std::string::npos || bang_kept_by_delayed_expansion())
        return true;
    skipped.push_back(
        "this cmd.exe reads the \"!\" of a value put in with !name! again, so "
        "what a block does with such a line is not checked");
    return false;
}

void skip_with(const std::vector<std::string>& skipped) {
    std::set<std::string> reasons(skipped.begin(), skipped.end());
    std::string all;
    for (const std::string& reason : reasons)
        all += (all.empty() ? "" : "; ") + reason;
    if (!all.empty())
        GTEST_SKIP() << all;
}

std::string list_bytes(const std::vector<std::string>& lines, UINT code_page) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += in_code_page(line, code_page) + "\r\n";
    return bytes;
}

// The list file the block names (orlipan NAME), or "" for a list from a pipe.
std::string list_name(const ManualBlock& block) {
    size_t at = block.code.find("orlipan ");
    if (at == std::string::npos)
        return "";
    std::string name = block.code.substr(at + 8, block.code.find(' ', at + 8) - at - 8);
    return name == "-" ? "" : name;
}

// The folder a block lists: one file per name, holding its own name.
std::string folder_of(const std::vector<std::string>& names) {
    std::string dir = fresh_dir();
    for (const std::string& name : names)
        write_named(dir, name, "file " + name + "\r\n");
    return dir;
}

std::string expected_set(const std::string& variable, const std::string& value, UINT code_page) {
    return value.empty() ? "" : variable + "=" + in_code_page(value, code_page) + "\r\n";
}

// Moves the selection to `row` and accepts it with Enter.
void pick_row(ToolWindow& tool, int row) {
    if (!tool.window)
        return;
    ASSERT_TRUE(make_foreground(tool.window));
    press_key(VK_HOME);
    for (int i = 0; i < row; ++i)
        press_key(VK_DOWN);
    press_key(VK_RETURN);
}

int row_of(ToolWindow& tool, const std::string& utf8) {
    HWND list = child_by_class(tool.window, "SysListView32");
    // A list from a pipe shows at the writer's first pause; the line may
    // join it a moment later, as a person would see it do.
    int found = -1;
    wait_until([&] {
        int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        for (int row = 0; row < count && found < 0; ++row) {
            if (remote_item_text_utf8(tool.run.process, list, row) == utf8)
                found = row;
        }
        return found >= 0;
    });
    return found;
}

// What a block holds after a run in which `act` answered its tool's window.
BlockOutcome run_block(const ManualBlock& block, const std::string& variable,
                       const std::string& dir, const char* tool_exe,
                       const std::function<void(ToolWindow&)>& act, const std::string& args) {
    BatchRun batch = start_block(block, variable, dir, args);
    ToolWindow tool = wait_for_tool(batch, tool_exe);
    EXPECT_TRUE(tool.window) << "no window of " << tool_exe;
    if (tool.window)
        act(tool);
    BlockOutcome outcome = finish_block(batch);
    close_tool(tool);
    EXPECT_TRUE(outcome.ended);
    return outcome;
}

void expect_cancel_goes_to_cancelled(const ManualBlock& block, const std::string& variable,
                                     const std::string& dir) {
    BlockOutcome out = run_block(block, variable, dir, "orlipan.exe",
                                 [](ToolWindow& tool) { type_keys(tool, {VK_ESCAPE}); });
    EXPECT_EQ(out.result, "[cancelled]\r\n");
    EXPECT_EQ(out.errors, "");
}
