#include "orlipan/widest_line.h"

#include <algorithm>
#include <utility>

long long estimated_width(const char* line, const int widths[256]) {
    long long sum = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(line); *p; ++p)
        sum += widths[*p];
    return sum;
}

std::vector<int> widest_line_candidates(const LineStore& store, const int widths[256], int wanted) {
    // Kept sorted widest first; small, so insertion beats a heap.
    std::vector<std::pair<long long, int>> best;
    if (wanted <= 0)
        return {};
    for (int i = 0; i < line_count(store); ++i) {
        long long width = estimated_width(line_at(store, i), widths);
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
