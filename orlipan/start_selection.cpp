#include "orlipan/start_selection.h"

#include <algorithm>
#include <climits>

namespace {

bool all_digits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number too large for an int is past the end of any list all the same.
int line_number(const std::string& digits) {
    long long n = 0;
    for (char c : digits) {
        n = n * 10 + (c - '0');
        if (n > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(n);
}

bool is_number_list(const std::string& value) {
    return !value.empty() && std::all_of(value.begin(), value.end(),
                                         [](char c) { return (c >= '0' && c <= '9') || c == ','; });
}

}  // namespace

bool read_start_selection(const std::string& value, bool multi, StartSelection* out) {
    *out = StartSelection();
    out->given = true;
    if (value.empty())
        return false;
    bool numbers = all_digits(value) || (multi && is_number_list(value));
    if (!numbers) {
        out->text = value;
        return true;
    }
    size_t start = 0;
    while (start <= value.size()) {
        size_t comma = std::min(value.find(',', start), value.size());
        std::string entry = value.substr(start, comma - start);
        if (!all_digits(entry))
            return false;
        int n = line_number(entry);
        if (n == 0)
            return false;
        out->numbers.push_back(n);
        start = comma + 1;
    }
    return true;
}

std::vector<int> start_lines(const StartSelection& start, int count,
                             const std::function<bool(int)>& equals_text, int from) {
    std::vector<int> lines;
    if (!start.given || count <= 0)
        return lines;
    if (start.numbers.empty()) {
        for (int line = std::max(from, 0); line < count; ++line) {
            if (equals_text(line)) {
                lines.push_back(line);
                break;
            }
        }
        return lines;
    }
    for (int n : start.numbers)
        lines.push_back(std::min(n, count) - 1);
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}
