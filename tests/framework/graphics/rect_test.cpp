#include "framework/graphics/rect.h"

#include <climits>

#include <gtest/gtest.h>

namespace Tuvo {
namespace {

TEST(RectTest, Intersection) {
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(5, 3, 10, 4)), Rect(5, 3, 5, 4));
    EXPECT_EQ(Rect(-5, -5, 10, 10).Intersection(Rect(0, 0, 800, 600)), Rect(0, 0, 5, 5));
    // Disjoint rectangles give zero; sharing only an edge is an empty result at its position.
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(20, 0, 5, 5)), Rect(0, 0, 0, 0));
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(0, 11, 5, 5)), Rect(0, 0, 0, 0));
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(10, 2, 5, 5)), Rect(10, 2, 0, 5));
    EXPECT_TRUE(Rect(0, 0, 5, 0).IsEmpty());
    // A negative size behaves as an empty rectangle; huge ones do not overflow.
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(2, 2, -1, 5)), Rect(0, 0, 0, 0));
    const Rect huge(INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX);
    EXPECT_EQ(huge.Intersection(Rect(0, 0, 800, 600)), Rect(0, 0, 0, 0));
    EXPECT_EQ(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX).Intersection(Rect(-10, -10, 5, 5)),
              Rect(-10, -10, 5, 5));
}

}  // namespace
}  // namespace Tuvo
