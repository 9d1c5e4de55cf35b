#include "toolkit/dpi_scale.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DpiScale, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(mul_div(5, 120, 96), 6);    // 6.25
    EXPECT_EQ(mul_div(5, 144, 96), 8);    // 7.5
    EXPECT_EQ(mul_div(-5, 144, 96), -8);  // -7.5
    EXPECT_EQ(mul_div(3, 120, 96), 4);    // 3.75
    EXPECT_EQ(mul_div(-3, 120, 96), -4);  // -3.75
    EXPECT_EQ(mul_div(1, 1, 3), 0);       // 0.33
    EXPECT_EQ(mul_div(2, 1, 3), 1);       // 0.67
    EXPECT_EQ(mul_div(1, 3, 2), 2);       // 1.5
    EXPECT_EQ(mul_div(7, -3, 2), -11);    // -10.5
    EXPECT_EQ(mul_div(-7, -3, 2), 11);    // 10.5
    EXPECT_EQ(mul_div(7, 3, -2), -11);    // a negative divisor too
    EXPECT_EQ(mul_div(0, -5, 7), 0);
    // The fonts' own conversion: 9 points at 96, 120, 144 and 192 DPI.
    EXPECT_EQ(mul_div(9, 96, 72), 12);
    EXPECT_EQ(mul_div(9, 120, 72), 15);
    EXPECT_EQ(mul_div(9, 144, 72), 18);
    EXPECT_EQ(mul_div(9, 192, 72), 24);
}

TEST(DpiScale, MulDivFailsWithMinusOneWithoutADivisorOrRoomForTheResult) {
    EXPECT_EQ(mul_div(5, 5, 0), -1);
    EXPECT_EQ(mul_div(INT_MAX, 2, 1), -1);
    EXPECT_EQ(mul_div(INT_MIN + 1, 2, 1), -1);
    // The 64-bit product itself may exceed 32 bits while the result fits.
    EXPECT_EQ(mul_div(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(mul_div(2000000000, 144, 192), 1500000000);
}

TEST(DpiScale, NinetySixDpiChangesNothing) {
    for (int32_t v : {INT_MIN, -2000000001, -97, -48, -1, 0, 1, 5, 47, 48, 49, 95, INT_MAX}) {
        EXPECT_EQ(scale_to_dpi(v, 96), v) << v;
    }
}

TEST(DpiScale, ScaledQuantitiesAreMulDivOfTheNinetySixDpiQuantity) {
    for (int32_t dpi : {72, 96, 120, 144, 168, 192, 288}) {
        for (int32_t v = -300; v <= 300; ++v) {
            ASSERT_EQ(scale_to_dpi(v, dpi), mul_div(v, dpi, 96)) << v << " at " << dpi;
        }
    }
    EXPECT_EQ(scale_to_dpi(5, 120), 6);
    EXPECT_EQ(scale_to_dpi(90, 120), 113);  // 112.5
    EXPECT_EQ(scale_to_dpi(18, 144), 27);
    EXPECT_EQ(scale_to_dpi(50, 192), 100);
}

TEST(DpiScale, ValuesBeyondThirtyTwoBitsSaturateWhereMulDivWouldFail) {
    EXPECT_EQ(scale_to_dpi(INT_MAX, 144), INT_MAX);
    EXPECT_EQ(scale_to_dpi(INT_MIN, 192), INT_MIN);
    EXPECT_EQ(mul_div(INT_MAX, 144, 96), -1);
    EXPECT_EQ(scale_to_dpi(INT_MAX, 48), 1073741824);  // 1073741823.5
}
