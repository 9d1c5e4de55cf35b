#include "toolkit/grid_lines.h"

#include <cstdint>

std::vector<int> grid_rule_rows(int line_top, int line_bottom, int client_height) {
    std::vector<int> rows;
    const std::int64_t pitch = std::int64_t{line_bottom} - line_top;
    // A collapsed or inverted row (a list whose font has no height yet) would
    // never advance; rule nothing rather than loop.
    if (pitch <= 0 || client_height <= 0) {
        return rows;
    }
    std::int64_t y = std::int64_t{line_bottom} - 1;
    if (y < 0) {
        // Scrolled: skip whole slots above the client area in one step, so a
        // list scrolled a million lines down costs no more than one at the top.
        y += (-y + pitch - 1) / pitch * pitch;
    }
    for (; y < client_height; y += pitch) {
        rows.push_back(static_cast<int>(y));
    }
    return rows;
}
