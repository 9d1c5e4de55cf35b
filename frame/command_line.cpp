#include "frame/command_line.h"

namespace {

struct Token {
    bool cut = false;
    size_t begin = 0;
    size_t length = 0;
};

// Cuts the token that starts at or after `at` (leading spaces skipped) and
// moves `at` to where the next pass begins.
Token cut_token(const std::string& line, size_t* at) {
    size_t p = *at;
    while (p < line.size() && line[p] == ' ') {
        ++p;
    }
    Token token;
    if (p < line.size() && line[p] == '"') {
        // A closing quote ends the token even when text follows it directly;
        // that text starts the next token.
        token.cut = true;
        token.begin = p + 1;
        size_t close = line.find('"', token.begin);
        if (close == std::string::npos) {
            token.length = line.size() - token.begin;
            p = line.size();
        } else {
            token.length = close - token.begin;
            p = close + 1;
        }
    } else if (p < line.size()) {
        token.cut = true;
        token.begin = p;
        size_t space = line.find(' ', p);
        if (space == std::string::npos) {
            token.length = line.size() - p;
            p = line.size();
        } else {
            token.length = space - p;
            p = space + 1;
        }
    }
    *at = p;
    return token;
}

// Scans from the start. With `wanted` >= 0 it stops at that token number and
// reports it through `found`; it returns the number of the next token, which at
// the end of a full scan is the number of arguments (-1 for an empty line).
int scan_tokens(const std::string& line, int wanted, Token* found) {
    int t = -1;
    size_t at = 0;
    if (line.empty()) {
        return t;
    }
    while (true) {
        Token token = cut_token(line, &at);
        if (wanted >= 0 && t == wanted) {
            *found = token;
            return t;
        }
        if (token.cut) {
            ++t;
        }
        if (at >= line.size()) {
            return t;
        }
    }
}

}  // namespace

int count_arguments_in(const std::string& command_line) {
    return scan_tokens(command_line, -1, nullptr);
}

bool argument_at(const std::string& command_line, int index, std::string* argument) {
    Token token;
    argument->clear();
    if (index < 0) {
        return false;
    }
    scan_tokens(command_line, index, &token);
    if (!token.cut) {
        return false;
    }
    *argument = command_line.substr(token.begin, token.length);
    return true;
}
