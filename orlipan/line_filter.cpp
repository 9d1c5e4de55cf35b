#include "orlipan/line_filter.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>

#include "frame/text.h"
#include "orlipan/unicode_fold.h"

namespace {

// A word of the box as every line is searched for it. `stops` marks the byte
// values where the search must look closer, the line's end among them; the
// other bytes cannot begin the word and are passed over in one test each.
struct WordSearch {
    std::string word;
    unsigned char stops[256];
};

std::vector<WordSearch> word_searches(const std::vector<std::string>& words, const LineFold& fold) {
    std::vector<WordSearch> searches(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        WordSearch& search = searches[i];
        search.word = words[i];
        if (fold.unicode) {
            utf8_search_stops(search.word, search.stops);
            continue;
        }
        const unsigned char first = static_cast<unsigned char>(search.word[0]);
        for (int byte = 0; byte < 256; ++byte)
            search.stops[byte] = byte == 0 || fold.table[byte] == first;
    }
    return searches;
}

// Whether the folded word occurs anywhere in `line`. Each byte is folded as
// it is compared, so no folded copy of the lines is needed and a million lines
// stay searchable in the memory they already take.
bool holds_word(const unsigned char* line, const WordSearch& search,
                const unsigned char fold[256]) {
    const unsigned char* stops = search.stops;
    const unsigned char* w = reinterpret_cast<const unsigned char*>(search.word.data());
    const size_t rest = search.word.size() - 1;
    for (const unsigned char* p = line;; ++p) {
        p = next_stop(p, stops);
        if (*p == 0)
            return false;
        size_t i = 0;
        while (i < rest && p[1 + i] && fold[p[1 + i]] == w[1 + i])
            ++i;
        if (i == rest)
            return true;
    }
}

bool holds_every_word(const char* line, const std::vector<WordSearch>& searches,
                      const LineFold& fold) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line);
    for (const WordSearch& search : searches) {
        bool held = fold.unicode ? utf8_holds_folded(line, search.word, search.stops)
                                 : holds_word(bytes, search, fold.table);
        if (!held)
            return false;
    }
    return true;
}

// What a search of many lines needs, shared by the parts that search them.
struct LineSearch {
    const char* const* lines;
    bool hide_blank;
    const std::vector<WordSearch>* searches;
    LineFold fold;
};

// The lines a search goes through, the i-th of them: the rows shown now when
// a longer text only narrows them, else lines[from + i] or, with an `order`,
// the line at that place in it.
struct Candidates {
    const int* rows = nullptr;
    const std::vector<int>* order = nullptr;
    int from = 0;
};

int candidate_line(const Candidates& candidates, int i) {
    if (candidates.rows)
        return candidates.rows[i];
    int at = candidates.from + i;
    return candidates.order ? (*candidates.order)[static_cast<size_t>(at)] : at;
}

// Hands `keep` each line among candidates [begin, end) that matches, in order.
template <typename Keep>
void find_matching(const LineSearch& search, const Candidates& candidates, int begin, int end,
                   Keep keep) {
    for (int i = begin; i < end; ++i) {
        int line = candidate_line(candidates, i);
        const char* bytes = search.lines[line];
        if (!(search.hide_blank && is_blank_line(bytes)) &&
            holds_every_word(bytes, *search.searches, search.fold))
            keep(line);
    }
}

// Below this many lines a part is not worth a thread of its own: starting
// one can cost as much as searching 100,000 short lines.
constexpr int FILTER_PART_LINES = 1 << 17;
constexpr unsigned FILTER_MOST_PARTS = 8;

// Many lines are searched in parts, one a processor; the parts' first lines.
std::vector<int> part_starts(int count) {
    unsigned processors = std::min(std::thread::hardware_concurrency(), FILTER_MOST_PARTS);
    int parts = std::max(1, std::min(static_cast<int>(processors), count / FILTER_PART_LINES));
    std::vector<int> starts;
    for (int part = 0; part <= parts; ++part)
        starts.push_back(static_cast<int>(static_cast<long long>(count) * part / parts));
    return starts;
}

// Runs run(0 .. parts - 1), every part but the first on a thread of its own.
// A part that runs out of memory is reported once every part has ended, as
// the whole search running out of memory.
template <typename Run>
void run_parts(int parts, Run run) {
    std::vector<char> failed(static_cast<size_t>(parts), 0);
    auto guarded = [&](int part) {
        try {
            run(part);
        } catch (const std::bad_alloc&) {
            failed[static_cast<size_t>(part)] = 1;
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(parts));
    for (int part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(guarded, part);
        } catch (...) {
            // No thread to be had: this one searches the part itself.
            guarded(part);
        }
    }
    guarded(0);
    for (std::thread& thread : threads)
        thread.join();
    if (std::find(failed.begin(), failed.end(), 1) != failed.end())
        throw std::bad_alloc();
}

// Narrows `rows` to the lines among them that match, in place: each part
// keeps its lines where they stand, and moves up behind the part before.
void narrow_rows(std::vector<int>* rows, const LineSearch& search) {
    Candidates candidates;
    candidates.rows = rows->data();
    std::vector<int> starts = part_starts(static_cast<int>(rows->size()));
    int parts = static_cast<int>(starts.size()) - 1;
    std::vector<int> kept(static_cast<size_t>(parts));
    int* out = rows->data();
    run_parts(parts, [&](int part) {
        // A line is read before any is written over it.
        int begin = starts[static_cast<size_t>(part)];
        int* at = out + begin;
        find_matching(search, candidates, begin, starts[static_cast<size_t>(part) + 1],
                      [&](int line) { *at++ = line; });
        kept[static_cast<size_t>(part)] = static_cast<int>(at - (out + begin));
    });
    int total = 0;
    for (int part = 0; part < parts; ++part) {
        int n = kept[static_cast<size_t>(part)];
        int start = starts[static_cast<size_t>(part)];
        if (n > 0 && start != total)
            std::memmove(out + total, out + start, static_cast<size_t>(n) * sizeof(int));
        total += n;
    }
    rows->resize(static_cast<size_t>(total));
}

// Appends to `rows` the matching lines among the first `count` candidates.
// Parts after the first collect theirs apart, in room no larger than what
// they find, and join the rows behind it.
void add_matching_lines(std::vector<int>* rows, const LineSearch& search,
                        const Candidates& candidates, int count) {
    std::vector<int> starts = part_starts(count);
    int parts = static_cast<int>(starts.size()) - 1;
    std::vector<std::vector<int>> found(static_cast<size_t>(parts));
    run_parts(parts, [&](int part) {
        std::vector<int>* to = part == 0 ? rows : &found[static_cast<size_t>(part)];
        int begin = starts[static_cast<size_t>(part)];
        int end = starts[static_cast<size_t>(part) + 1];
        if (part > 0)
            to->reserve(static_cast<size_t>(end - begin));
        find_matching(search, candidates, begin, end, [&](int line) { to->push_back(line); });
    });
    for (int part = 1; part < parts; ++part) {
        const std::vector<int>& lines = found[static_cast<size_t>(part)];
        rows->insert(rows->end(), lines.begin(), lines.end());
    }
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
    return holds_every_word(line, word_searches(words, fold), fold);
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
    std::vector<std::string> words = filter_words(text, fold);
    if (!shown->all && starts_with(text, shown->text)) {
        // A longer text only narrows: each of its words holds one of the
        // shorter text's words, so only the lines shown now can stay. They
        // hold every word of the shorter text already.
        const std::vector<std::string> held = filter_words(shown->text, fold);
        words.erase(std::remove_if(words.begin(), words.end(),
                                   [&](const std::string& word) {
                                       return std::find(held.begin(), held.end(), word) !=
                                              held.end();
                                   }),
                    words.end());
        const std::vector<WordSearch> searches = word_searches(words, fold);
        narrow_rows(&shown->rows, {lines, hide_blank, &searches, fold});
    } else {
        const std::vector<WordSearch> searches = word_searches(words, fold);
        Candidates every_line;
        every_line.order = order;
        shown->rows.clear();
        // Room for every line at once: no copying while a million lines go in.
        shown->rows.reserve(static_cast<size_t>(count));
        add_matching_lines(&shown->rows, {lines, hide_blank, &searches, fold}, every_line, count);
    }
    shown->all = false;
    shown->text = text;
}

void filter_more_lines(ShownLines* shown, const char* const* lines, int from, int to,
                       bool hide_blank, const LineFold& fold) {
    if (shown->all || from >= to)
        return;
    const std::vector<WordSearch> searches = word_searches(filter_words(shown->text, fold), fold);
    Candidates arrived;
    arrived.from = from;
    add_matching_lines(&shown->rows, {lines, hide_blank, &searches, fold}, arrived, to - from);
}
