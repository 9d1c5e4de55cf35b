#include "orlipan/widest_line.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "frame/utf8.h"

namespace {

constexpr unsigned WIDTH_PAGE_SIZE = 256;
constexpr char32_t WIDTH_PLANE_END = 0x10000;

int code_point_width(char32_t code_point, CodePointWidths* widths) {
    if (code_point >= WIDTH_PLANE_END)
        code_point = UTF8_REPLACEMENT;
    unsigned page = code_point / WIDTH_PAGE_SIZE;
    if (widths->pages.size() <= page)
        widths->pages.resize(page + 1);
    std::vector<int>& found = widths->pages[page];
    if (found.empty()) {
        found.assign(WIDTH_PAGE_SIZE, 0);
        if (!widths->measure_page || !widths->measure_page(page * WIDTH_PAGE_SIZE, found.data()))
            std::fill(found.begin(), found.end(), 0);
    }
    return found[code_point % WIDTH_PAGE_SIZE];
}

using Candidates = std::vector<std::pair<long long, int>>;

// Keeps `best` sorted widest first and no longer than `wanted`; small, so
// insertion beats a heap.
void keep_widest(Candidates& best, long long width, int index, int wanted) {
    if ((int)best.size() == wanted && width <= best.back().first)
        return;
    auto place = std::find_if(best.begin(), best.end(),
                              [&](const std::pair<long long, int>& b) { return width > b.first; });
    best.insert(place, {width, index});
    if ((int)best.size() > wanted)
        best.pop_back();
}

std::vector<int> indexes_of(const Candidates& best) {
    std::vector<int> indexes;
    for (const auto& b : best)
        indexes.push_back(b.second);
    return indexes;
}

}  // namespace

long long estimated_width(const char* line, const int widths[256]) {
    long long sum = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(line); *p; ++p)
        sum += widths[*p];
    return sum;
}

long long estimated_span_width(const char* start, size_t length, const int widths[256]) {
    long long sum = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(start);
    for (size_t i = 0; i < length; ++i)
        sum += widths[p[i]];
    return sum;
}

long long estimated_utf8_span_width(const char* start, size_t length, CodePointWidths* widths) {
    // A tab or the line's end closes every sequence, so decoding stops at
    // the span's end.
    long long sum = 0;
    const char* end = start + length;
    while (start < end) {
        char32_t code_point = 0;
        start += decode_utf8_terminated(start, &code_point);
        sum += code_point_width(code_point, widths);
    }
    return sum;
}

long long estimated_utf8_width(const char* line, CodePointWidths* widths) {
    long long sum = 0;
    while (*line) {
        char32_t code_point = 0;
        line += decode_utf8_terminated(line, &code_point);
        sum += code_point_width(code_point, widths);
    }
    return sum;
}

std::vector<int> widest_line_candidates(const LineStore& store, const int widths[256], int wanted) {
    return widest_line_candidates(
        store, [&](const char* line) { return estimated_width(line, widths); }, wanted);
}

WidestEstimate widest_estimate(const char* const* lines, int count, const int widths[256]) {
    WidestEstimate widest;
    for (int i = 0; i < count; ++i) {
        long long width = estimated_width(lines[i], widths);
        if (width > widest.width) {
            widest.width = width;
            widest.index = i;
        }
    }
    return widest;
}

std::vector<int> widest_line_candidates(const LineStore& store, const LineEstimate& estimate,
                                        int wanted) {
    Candidates best;
    if (wanted <= 0)
        return {};
    for (int i = 0; i < line_count(store); ++i)
        keep_widest(best, estimate(line_at(store, i)), i, wanted);
    return indexes_of(best);
}

std::vector<std::vector<int>> widest_cell_candidates(const char* const* lines, int count,
                                                     int columns, const SpanEstimate& estimate,
                                                     int wanted) {
    std::vector<Candidates> best(static_cast<size_t>(columns > 0 ? columns : 0));
    if (wanted <= 0)
        columns = 0;
    for (int i = 0; i < count && columns > 0; ++i) {
        const char* cell = lines[i];
        for (int column = 0; column < columns; ++column) {
            const char* end = column == columns - 1 ? nullptr : std::strchr(cell, '\t');
            if (!end)
                end = cell + std::strlen(cell);
            keep_widest(best[static_cast<size_t>(column)],
                        estimate(cell, static_cast<size_t>(end - cell)), i, wanted);
            if (*end == '\0')
                break;
            cell = end + 1;
        }
    }
    std::vector<std::vector<int>> out;
    for (const Candidates& column : best)
        out.push_back(indexes_of(column));
    return out;
}
