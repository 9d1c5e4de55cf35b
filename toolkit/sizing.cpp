#include "toolkit/sizing.h"

#include <algorithm>

namespace {

bool moves_left(int edge) {
    return edge == SIZE_EDGE_LEFT || edge == SIZE_EDGE_TOP_LEFT || edge == SIZE_EDGE_BOTTOM_LEFT;
}

bool moves_right(int edge) {
    return edge == SIZE_EDGE_RIGHT || edge == SIZE_EDGE_TOP_RIGHT || edge == SIZE_EDGE_BOTTOM_RIGHT;
}

bool moves_top(int edge) {
    return edge == SIZE_EDGE_TOP || edge == SIZE_EDGE_TOP_LEFT || edge == SIZE_EDGE_TOP_RIGHT;
}

bool moves_bottom(int edge) {
    return edge == SIZE_EDGE_BOTTOM || edge == SIZE_EDGE_BOTTOM_LEFT ||
           edge == SIZE_EDGE_BOTTOM_RIGHT;
}

int clamp_length(int length, int low, int high) {
    // A minimum larger than the maximum wins, as the system's own sizing does.
    return std::max(std::min(length, high), low);
}

}  // namespace

SizeBox sized_box(const SizeBox& start, int edge, int dx, int dy, const SizeLimits& limits) {
    SizeBox box = start;
    int width = start.right - start.left;
    int height = start.bottom - start.top;
    if (moves_left(edge)) {
        width = clamp_length(width - dx, limits.min_width, limits.max_width);
        box.left = start.right - width;
    } else if (moves_right(edge)) {
        width = clamp_length(width + dx, limits.min_width, limits.max_width);
        box.right = start.left + width;
    }
    if (moves_top(edge)) {
        height = clamp_length(height - dy, limits.min_height, limits.max_height);
        box.top = start.bottom - height;
    } else if (moves_bottom(edge)) {
        height = clamp_length(height + dy, limits.min_height, limits.max_height);
        box.bottom = start.top + height;
    }
    return box;
}
