// The frame's copy into the window's pixels: every pixel becomes a scale x scale block, the
// pitches of both sides are honoured, and nothing outside the copied block is touched.
#include "platform/picture_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(PictureCopyTest, EachPixelBecomesABlockAndTheMarginsStay) {
    constexpr int kWidth = 13;  // rows long enough for the wide copy, with odd ends
    constexpr int kHeight = 3;
    constexpr int kSourcePitch = 15;  // two pixels of each source row are not part of it
    std::vector<uint32_t> source(kSourcePitch * kHeight, 0xDEADBEEF);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            source[y * kSourcePitch + x] = static_cast<uint32_t>(y * 100 + x);
        }
    }
    for (int scale = 1; scale <= 3; ++scale) {
        const int targetPitch = kWidth * scale + 4;
        const int rows = kHeight * scale + 2;
        std::vector<uint32_t> target(static_cast<size_t>(targetPitch) * rows, 0x11111111);
        // Placed one row down and one pixel in, as in a letterboxed window.
        Platform::CopyPictureScaled(source.data(), kSourcePitch, kWidth, kHeight,
                                    target.data() + targetPitch + 1, targetPitch, scale);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < targetPitch; ++x) {
                const int px = x - 1;
                const int py = y - 1;
                const bool inside =
                    px >= 0 && py >= 0 && px < kWidth * scale && py < kHeight * scale;
                const uint32_t wanted =
                    inside ? static_cast<uint32_t>(py / scale * 100 + px / scale) : 0x11111111u;
                ASSERT_EQ(target[static_cast<size_t>(y) * targetPitch + x], wanted)
                    << "scale " << scale << " at " << x << "," << y;
            }
        }
    }
    std::vector<uint32_t> untouched(4, 7);
    Platform::CopyPictureScaled(source.data(), kSourcePitch, kWidth, kHeight, untouched.data(), 2,
                                0);
    EXPECT_EQ(untouched, std::vector<uint32_t>(4, 7));
}

}  // namespace
