#include "orlipan/line_filter.h"

#include "frame/text.h"
#include "orlipan/unicode_fold.h"

namespace {

// Whether the folded `word` occurs anywhere in `line`. Each byte is folded as
// it is compared, so no folded copy of the lines is needed and a million lines
// stay searchable in the memory they already take.
bool holds_word(const unsigned char* line, const std::string& word, const unsigned char fold[256]) {
    const unsigned char* w = reinterpret_cast<const unsigned char*>(word.data());
    const unsigned char first = w[0];
    const size_t rest = word.size() - 1;
    for (const unsigned char* p = line; *p; ++p) {
        if (fold[*p] != first)
            continue;
        size_t i = 0;
        while (i < rest && p[1 + i] && fold[p[1 + i]] == w[1 + i])
            ++i;
        if (i == rest)
            return true;
    }
    return false;
}

bool starts_with(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

}  // namespace

LineFold byte_fold(const unsigned char fold[256]) {
    LineFold f;
    f.table = fold;
    return f;
}

LineFold unicode_fold() {
    LineFold f;
    f.unicode = true;
    return f;
}

LineFold fold_for_lines(bool utf8) {
    return utf8 ? unicode_fold() : byte_fold(ansi_fold_table());
}

bool line_equals(const char* line, const std::string& text, const LineFold& fold) {
    if (fold.unicode)
        return utf8_equal_folded(line, text);
    const unsigned char* a = reinterpret_cast<const unsigned char*>(line);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text.c_str());
    for (; *a && *b; ++a, ++b) {
        if (fold.table[*a] != fold.table[*b])
            return false;
    }
    return *a == *b;
}

std::vector<std::string> filter_words(const std::string& text, const LineFold& fold) {
    std::vector<std::string> words;
    std::string word;
    for (unsigned char c : text + ' ') {
        if (c != ' ') {
            word += static_cast<char>(fold.unicode ? c : fold.table[c]);
        } else if (!word.empty()) {
            words.push_back(fold.unicode ? fold_utf8_text(word) : word);
            word.clear();
        }
    }
    return words;
}

bool line_matches(const char* line, const std::vector<std::string>& words, const LineFold& fold) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line);
    for (const std::string& word : words) {
        bool held =
            fold.unicode ? utf8_holds_folded(line, word) : holds_word(bytes, word, fold.table);
        if (!held)
            return false;
    }
    return true;
}

bool is_blank_line(const char* line) {
    while (*line == ' ')
        ++line;
    return *line == '\0';
}

void filter_lines(ShownLines* shown, const std::string& text, const char* const* lines, int count,
                  bool hide_blank, const LineFold& fold, const std::vector<int>* order) {
    if (text.empty()) {
        shown->all = true;
        shown->rows.clear();
        shown->text.clear();
        return;
    }
    const std::vector<std::string> words = filter_words(text, fold);
    auto keep = [&](int line) {
        const char* bytes = lines[line];
        return !(hide_blank && is_blank_line(bytes)) && line_matches(bytes, words, fold);
    };
    if (!shown->all && starts_with(text, shown->text)) {
        // A longer text only narrows: each of its words holds one of the
        // shorter text's words, so only the lines shown now can stay.
        size_t kept = 0;
        for (int line : shown->rows) {
            if (keep(line))
                shown->rows[kept++] = line;
        }
        shown->rows.resize(kept);
    } else {
        shown->rows.clear();
        // Room for every line at once: no copying while a million lines go in.
        shown->rows.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            int line = order ? (*order)[static_cast<size_t>(i)] : i;
            if (keep(line))
                shown->rows.push_back(line);
        }
    }
    shown->all = false;
    shown->text = text;
}

void filter_more_lines(ShownLines* shown, const char* const* lines, int from, int to,
                       bool hide_blank, const LineFold& fold) {
    if (shown->all)
        return;
    const std::vector<std::string> words = filter_words(shown->text, fold);
    for (int line = from; line < to; ++line) {
        const char* bytes = lines[line];
        if (!(hide_blank && is_blank_line(bytes)) && line_matches(bytes, words, fold))
            shown->rows.push_back(line);
    }
}
