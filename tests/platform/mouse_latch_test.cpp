#include "platform/mouse_latch.h"

#include <gtest/gtest.h>

#include "platform/input_events.h"

namespace {

using Platform::kLeftButton;
using Platform::kRightButton;

TEST(MouseLatchTest, QuickTapIsSeenOnceAndHeldButtonsStayUntilReleased) {
    Platform::MouseButtonLatch latch;
    latch.Press(kLeftButton);
    latch.Release(kLeftButton);
    EXPECT_EQ(latch.Sample(), kLeftButton);
    EXPECT_EQ(latch.Sample(), 0);

    latch.Press(kLeftButton);
    latch.Press(kRightButton);
    EXPECT_EQ(latch.Sample(), kLeftButton | kRightButton);
    latch.Release(kRightButton);
    EXPECT_EQ(latch.Sample(), kLeftButton);
    latch.ReleaseAll();
    EXPECT_EQ(latch.Sample(), 0);
    EXPECT_EQ(latch.Held(), 0);
}

}  // namespace
