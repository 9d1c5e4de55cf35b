#include "orlipan/line_filter.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
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

// Below this many lines a search is not worth a thread of its own: starting
// one can cost as much as searching 100,000 short lines.
constexpr int FILTER_THREAD_LINES = 1 << 17;
constexpr unsigned FILTER_MOST_THREADS = 8;
constexpr int FILTER_PARTS_A_THREAD = 4;

// Many lines are searched in parts by as many threads as there are
// processors, each thread taking the next part left.
struct Parts {
    std::vector<int> starts;  // each part's first candidate, then the count
    int helpers = 0;          // threads besides the caller's own
};

Parts split_search(int count) {
    unsigned processors = std::min(std::thread::hardware_concurrency(), FILTER_MOST_THREADS);
    int threads = std::max(1, std::min(static_cast<int>(processors), count / FILTER_THREAD_LINES));
    int parts = threads == 1 ? 1 : threads * FILTER_PARTS_A_THREAD;
    Parts split;
    split.helpers = threads - 1;
    for (int part = 0; part <= parts; ++part)
        split.starts.push_back(static_cast<int>(static_cast<long long>(count) * part / parts));
    return split;
}

// The parts of one search, shared with its helper threads. A helper that
// starts after every part was taken (on a busy machine) ends without
// touching the search, so the caller never waits for one to start.
struct SharedParts {
    std::function<void(int)> run;
    int parts = 0;
    std::atomic<int> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    int done = 0;
    bool failed = false;
};

void take_parts(SharedParts& shared) {
    for (int part; (part = shared.next++) < shared.parts;) {
        bool failed = false;
        try {
            shared.run(part);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        std::lock_guard<std::mutex> lock(shared.mutex);
        shared.failed = shared.failed || failed;
        if (++shared.done == shared.parts)
            shared.finished.notify_all();
    }
}

// Runs run(part) for every part and returns when all have ended. A part that
// runs out of memory is reported then, as the whole search running out.
template <typename Run>
void run_parts(const Parts& split, Run run) {
    int parts = static_cast<int>(split.starts.size()) - 1;
    if (split.helpers == 0) {
        for (int part = 0; part < parts; ++part)
            run(part);
        return;
    }
    auto shared = std::make_shared<SharedParts>();
    shared->run = run;
    shared->parts = parts;
    for (int helper = 0; helper < split.helpers; ++helper) {
        try {
            std::thread([shared] { take_parts(*shared); }).detach();
        } catch (...) {
            break;  // no thread to be had: fewer take the parts
        }
    }
    take_parts(*shared);
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->finished.wait(lock, [&] { return shared->done == shared->parts; });
    if (shared->failed)
        throw std::bad_alloc();
}

// Writes the matching lines among the first `count` candidates to `out`
// (room for `count`, and may be the candidates' own rows), in order; returns
// how many. Each part keeps its lines where its candidates stand, a line read
// before any is written over it, and then moves up behind the part before.
int keep_matching(const LineSearch& search, const Candidates& candidates, int count, int* out) {
    const Parts split = split_search(count);
    const std::vector<int>& starts = split.starts;
    std::vector<int> kept(starts.size() - 1);
    run_parts(split, [&](int part) {
        int begin = starts[static_cast<size_t>(part)];
        int* at = out + begin;
        find_matching(search, candidates, begin, starts[static_cast<size_t>(part) + 1],
                      [&](int line) { *at++ = line; });
        kept[static_cast<size_t>(part)] = static_cast<int>(at - (out + begin));
    });
    int total = 0;
    for (size_t part = 0; part < kept.size(); ++part) {
        int n = kept[part];
        if (n > 0 && starts[part] != total)
            std::memmove(out + total, out + starts[part], static_cast<size_t>(n) * sizeof(int));
        total += n;
    }
    return total;
}

// Appends to `rows` the matching lines among the first `count` candidates.
void add_matching_lines(std::vector<int>* rows, const LineSearch& search,
                        const Candidates& candidates, int count) {
    size_t old = rows->size();
    rows->resize(old + static_cast<size_t>(count));
    int kept = keep_matching(search, candidates, count, rows->data() + old);
    rows->resize(old + static_cast<size_t>(kept));
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
        Candidates shown_now;
        shown_now.rows = shown->rows.data();
        int kept = keep_matching({lines, hide_blank, &searches, fold}, shown_now,
                                 static_cast<int>(shown->rows.size()), shown->rows.data());
        shown->rows.resize(static_cast<size_t>(kept));
    } else {
        const std::vector<WordSearch> searches = word_searches(words, fold);
        Candidates every_line;
        every_line.order = order;
        shown->rows.clear();
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
