#include <gtest/gtest.h>

#include <climits>

#include "app/child_layout.h"

// The template's 349 x 209 dialog units are 523 x 339 pixels with the 8-point dialog font at 96 dots per inch.
TEST(ChildLayout, TemplatePixelsSpreadOverTheDesignSize)
{
    ScaleFactors factors;
    ASSERT_TRUE(ComputeScaleFactors(523, 339, 600, 337, factors));
    // SCAN at 11, 40 du, 76 x 16 du: 16, 65 to 130, 91 pixels in the template's own layout.
    ChildRect scan = ScaleChildRect(ChildRect{16, 65, 130, 91}, factors);
    EXPECT_EQ(18, scan.left);
    EXPECT_EQ(64, scan.top);
    EXPECT_EQ(149, scan.right);
    EXPECT_EQ(90, scan.bottom);
    // The far corner of the client area lands on the far corner of the design.
    ChildRect whole = ScaleChildRect(ChildRect{0, 0, 523, 339}, factors);
    EXPECT_EQ(600, whole.right);
    EXPECT_EQ(337, whole.bottom);
}

TEST(ChildLayout, TruncatesTowardZeroOnBothSides)
{
    ScaleFactors factors{2.0, 4.0};
    ChildRect rect = ScaleChildRect(ChildRect{-3, -7, 3, 7}, factors);
    EXPECT_EQ(-1, rect.left);
    EXPECT_EQ(-1, rect.top);
    EXPECT_EQ(1, rect.right);
    EXPECT_EQ(1, rect.bottom);
}

TEST(ChildLayout, NoFactorsForAnEmptyClientOrDesign)
{
    ScaleFactors factors;
    EXPECT_FALSE(ComputeScaleFactors(0, 339, 600, 337, factors));
    EXPECT_FALSE(ComputeScaleFactors(523, 339, 600, 0, factors));
}

TEST(ChildLayout, TinyFactorsClampInsteadOfOverflowing)
{
    ScaleFactors factors{1e-9, 1e-9};
    ChildRect rect = ScaleChildRect(ChildRect{-100, -100, 100, 100}, factors);
    EXPECT_EQ(INT_MIN, rect.left);
    EXPECT_EQ(INT_MAX, rect.right);
}
