// Pixel quantities for displays of any density. Layouts are written for the
// classic 96 dots per inch; on a display of d DPI every such quantity becomes
// quantity * d / 96, rounded the way the window system's MulDiv rounds, so that
// sizes computed here agree with those the system and its fonts compute.
// Kept free of <windows.h> so that the layout arithmetic can be unit-tested.
#pragma once

#include <cstdint>
#include <limits>

constexpr int32_t DPI_BASE = 96;
// The densities a layout accepts; the window system reports its densities in
// 16 bits. Within this range the 64-bit arithmetic here cannot overflow.
constexpr int32_t DPI_LOWEST = 1;
constexpr int32_t DPI_HIGHEST = 65535;

// The MulDiv rounding on a 64-bit product: half away from zero. The divisor
// must not be 0.
constexpr int64_t dpi_round_div(int64_t product, int64_t divisor) {
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    return product >= 0 ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
}

// number * numerator / denominator exactly as MulDiv answers it, failures
// included: -1 for a zero denominator or a result beyond +-2147483647.
constexpr int32_t mul_div(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0) {
        return -1;
    }
    const int64_t result = dpi_round_div(int64_t{number} * numerator, denominator);
    if (result > 2147483647 || result < -2147483647) {
        return -1;
    }
    return static_cast<int32_t>(result);
}

// A 96-DPI pixel quantity at `dpi`. Rounds as MulDiv(pixels, dpi, 96); where
// MulDiv would fail for lack of room, the result saturates instead, because a
// layout is better off with the largest size than with -1. At 96 DPI every
// value comes back unchanged.
constexpr int32_t scale_to_dpi(int32_t pixels, int32_t dpi) {
    const int64_t result = dpi_round_div(int64_t{pixels} * dpi, DPI_BASE);
    const int64_t low = std::numeric_limits<int32_t>::min();
    const int64_t high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(result < low ? low : (result > high ? high : result));
}
