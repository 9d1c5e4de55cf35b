#include "orlipan/widest_line.h"

#include <algorithm>
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

}  // namespace

long long estimated_width(const char* line, const int widths[256]) {
    long long sum = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(line); *p; ++p)
        sum += widths[*p];
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

std::vector<int> widest_line_candidates(const LineStore& store, const LineEstimate& estimate,
                                        int wanted) {
    // Kept sorted widest first; small, so insertion beats a heap.
    std::vector<std::pair<long long, int>> best;
    if (wanted <= 0)
        return {};
    for (int i = 0; i < line_count(store); ++i) {
        long long width = estimate(line_at(store, i));
        if ((int)best.size() == wanted && width <= best.back().first)
            continue;
        auto place =
            std::find_if(best.begin(), best.end(),
                         [&](const std::pair<long long, int>& b) { return width > b.first; });
        best.insert(place, {width, i});
        if ((int)best.size() > wanted)
            best.pop_back();
    }
    std::vector<int> indexes;
    for (const auto& b : best)
        indexes.push_back(b.second);
    return indexes;
}
