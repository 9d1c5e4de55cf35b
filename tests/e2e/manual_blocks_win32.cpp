#include "tests/e2e/manual_blocks.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "tests/e2e/driver.h"

namespace {

const int BLOCK_TIMEOUT_MS = 30000;

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> split_words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

void read_page(const std::string& name, std::vector<ManualBlock>& blocks) {
    std::istringstream in(read_file(manual_dir() + "\\" + name));
    std::string line, marker;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string bare = trimmed(line);
        if (bare.rfind("<!-- test:", 0) == 0) {
            marker = bare;
            continue;
        }
        if (bare != "```bat") {
            if (!bare.empty())
                marker.clear();
            continue;
        }
        ManualBlock block;
        block.where = name + ":" + std::to_string(number + 1);
        size_t end = marker.rfind("-->");
        if (!marker.empty() && end != std::string::npos)
            block.words = split_words(marker.substr(10, end - 10));
        marker.clear();
        size_t indent = line.find('`');
        while (std::getline(in, line) && trimmed(line) != "```") {
            ++number;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            block.code += (line.size() >= indent ? line.substr(indent) : trimmed(line)) + "\n";
        }
        ++number;
        blocks.push_back(block);
    }
}

// cmd.exe in a console of its own; standard output and error to files
// beside the batch file, outside the folder the block works in.
BatchRun start_cmd(const std::string& script, const std::string& dir, const std::string& args) {
    std::string home = fresh_dir();
    write_file(home + "\\block.cmd", script);
    SetEnvironmentVariableA("MANUAL_RESULT", (home + "\\result.txt").c_str());
    return start_batch(home + "\\block.cmd", args, dir, home + "\\console.txt",
                       home + "\\errors.txt");
}

std::string beside(const std::string& file, const std::string& name) {
    return file.substr(0, file.find_last_of('\\') + 1) + name;
}

}  // namespace

std::string manual_dir() {
    return test_dir() + "\\manual";
}

std::vector<ManualBlock> manual_blocks() {
    std::vector<ManualBlock> blocks;
    read_page("README.md", blocks);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((manual_dir() + "\\docs\\*.md").c_str(), &found);
    std::set<std::string> pages;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        pages.insert(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    for (const std::string& page : pages)
        read_page("docs\\" + page, blocks);
    return blocks;
}

std::vector<ManualBlock> blocks_of(const std::string& kind) {
    std::vector<ManualBlock> chosen;
    for (const ManualBlock& block : manual_blocks()) {
        if (!block.words.empty() && block.words[0] == kind)
            chosen.push_back(block);
    }
    return chosen;
}

std::string block_script(const ManualBlock& block, const std::string& variable) {
    std::set<std::string> defined, wanted;
    std::regex label_line("^\\s*:(\\w+)", std::regex::icase);
    std::regex go_to("\\bgoto\\s+:?(\\w+)", std::regex::icase);
    std::istringstream in(block.code);
    std::string script = "@echo off\r\nsetlocal\r\n";
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_search(line, match, label_line))
            defined.insert(match[1]);
        for (std::sregex_iterator it(line.begin(), line.end(), go_to), end; it != end; ++it)
            wanted.insert((*it)[1]);
        script += line + "\r\n";
    }
    script += "goto manual_block_end\r\n";
    for (const std::string& label : wanted) {
        if (defined.count(label) || label == "eof")
            continue;
        script += ":" + label + "\r\necho [" + label + "]>\"%MANUAL_RESULT%\"\r\ngoto :eof\r\n";
    }
    script += ":manual_block_end\r\n";
    if (!variable.empty())
        script += "if defined " + variable + " set " + variable + ">\"%MANUAL_RESULT%\"\r\n";
    return script;
}

BatchRun start_block(const ManualBlock& block, const std::string& variable, const std::string& dir,
                     const std::string& args) {
    return start_cmd(block_script(block, variable), dir, args);
}

BlockOutcome finish_block(BatchRun& batch) {
    BlockOutcome outcome;
    outcome.ended = batch.process && WaitForSingleObject(batch.process, BLOCK_TIMEOUT_MS) == 0;
    finish_batch(batch);
    outcome.result = read_file(beside(batch.output_file, "result.txt"));
    outcome.errors = read_file(beside(batch.output_file, "errors.txt"));
    return outcome;
}

std::string probe_cmd(const std::string& probe, const std::string& dir) {
    BatchRun batch = start_cmd("@echo off\r\n" + probe + "\r\n", dir, "");
    return finish_block(batch).result;
}

std::string in_code_page(const std::string& utf8, UINT code_page, bool* exact) {
    std::wstring wide = wide_of_utf8(utf8);
    if (code_page == CP_UTF8 || wide.empty())
        return utf8;
    BOOL lossy = FALSE;
    int size = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.c_str(), (int)wide.size(),
                                   nullptr, 0, nullptr, &lossy);
    std::string bytes(size, '\0');
    WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.c_str(), (int)wide.size(), &bytes[0],
                        size, nullptr, &lossy);
    if (exact && lossy)
        *exact = false;
    return bytes;
}
