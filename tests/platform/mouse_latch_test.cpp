#include "platform/mouse_latch.h"

#include <gtest/gtest.h>

#include "platform/input_events.h"

namespace {

using Platform::kLeftButton;
using Platform::kRightButton;

TEST(MouseLatchTest, QuickTapIsSeenOnceAndHeldButtonsStayUntilReleased) {
    Platform::MouseButtonLatch latch;
    latch.Press(kLeftButton);
    latch.Press(kRightButton);
    latch.Release(kRightButton);
    EXPECT_EQ(latch.Sample(), kLeftButton | kRightButton);
    EXPECT_EQ(latch.Sample(), kLeftButton);
    latch.ReleaseAll();
    EXPECT_EQ(latch.Sample(), 0);
}

}  // namespace
