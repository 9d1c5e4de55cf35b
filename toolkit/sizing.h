// The arithmetic of sizing a window by one of its edges, as the user drags
// its border; kept free of the window system so that it can be unit-tested.
#pragma once

struct SizeBox {
    int left;
    int top;
    int right;
    int bottom;
};

// Which edges move, encoded as the native sizing-edge numbers 1..8
// (left, right, top, top-left, top-right, bottom, bottom-left, bottom-right).
constexpr int SIZE_EDGE_LEFT = 1;
constexpr int SIZE_EDGE_RIGHT = 2;
constexpr int SIZE_EDGE_TOP = 3;
constexpr int SIZE_EDGE_TOP_LEFT = 4;
constexpr int SIZE_EDGE_TOP_RIGHT = 5;
constexpr int SIZE_EDGE_BOTTOM = 6;
constexpr int SIZE_EDGE_BOTTOM_LEFT = 7;
constexpr int SIZE_EDGE_BOTTOM_RIGHT = 8;

struct SizeLimits {
    int min_width;
    int min_height;
    int max_width;
    int max_height;
};

// The rectangle after the pointer moved by (dx, dy) from where the drag of
// `edge` started; the width and height stay within the limits, and an edge
// that does not move stays exactly where it was.
SizeBox sized_box(const SizeBox& start, int edge, int dx, int dy, const SizeLimits& limits);
