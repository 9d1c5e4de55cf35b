#include "toolkit/sizing.h"

#include <gtest/gtest.h>

TEST(SizedBox, MinimumSizeHoldsTheOppositeEdgeInPlace) {
    SizeBox start = {100, 50, 400, 300};
    SizeBox box = sized_box(start, SIZE_EDGE_TOP_LEFT, 500, 500, SizeLimits{120, 40, 2000, 2000});
    EXPECT_EQ(box.left, 280);
    EXPECT_EQ(box.right, 400);
    EXPECT_EQ(box.top, 260);
    EXPECT_EQ(box.bottom, 300);
}

TEST(SizedBox, MaximumSizeLimitsTheBottomRightCorner) {
    SizeBox start = {0, 0, 200, 100};
    SizeBox box = sized_box(start, SIZE_EDGE_BOTTOM_RIGHT, 900, 30, SizeLimits{10, 10, 500, 500});
    EXPECT_EQ(box.right, 500);
    EXPECT_EQ(box.bottom, 130);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
}
