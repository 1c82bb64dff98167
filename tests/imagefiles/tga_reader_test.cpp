#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"

namespace ImageLib {
namespace {

// A TGA file built byte by byte: header fields, optional ID, pixels as B, G, R, A.
std::vector<uint8_t> MakeTga(int width, int height, const std::vector<uint32_t>& pixels,
                             uint8_t depth = 32, uint8_t descriptor = 0x28, uint8_t type = 2,
                             const std::string& id = "") {
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(id.size()),
                                  0,
                                  type,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  static_cast<uint8_t>(width & 0xFF),
                                  static_cast<uint8_t>(width >> 8),
                                  static_cast<uint8_t>(height & 0xFF),
                                  static_cast<uint8_t>(height >> 8),
                                  depth,
                                  descriptor};
    for (char c : id) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    for (uint32_t pixel : pixels) {
        bytes.push_back(static_cast<uint8_t>(pixel));
        bytes.push_back(static_cast<uint8_t>(pixel >> 8));
        bytes.push_back(static_cast<uint8_t>(pixel >> 16));
        bytes.push_back(static_cast<uint8_t>(pixel >> 24));
    }
    return bytes;
}

const std::vector<uint32_t> kPixels = {0xFF112233u, 0x80445566u, 0x00778899u,
                                       0x01AABBCCu, 0xFFDDEEFFu, 0x7F000000u};

TEST(TgaReaderTest, ReadsTopLeft32BitPixelsAsStored) {
    const std::vector<uint8_t> file = MakeTga(3, 2, kPixels);
    const auto image = DecodeTga(file.data(), file.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->bits, kPixels);

    // An image ID between header and pixels is skipped.
    const std::vector<uint8_t> withId = MakeTga(3, 2, kPixels, 32, 0x28, 2, "made by test");
    const auto named = DecodeTga(withId.data(), withId.size());
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->bits, kPixels);
}

TEST(TgaReaderTest, EveryOtherKindIsRefused) {
    const std::vector<uint8_t> bottomUp = MakeTga(3, 2, kPixels, 32, 0x08);
    EXPECT_EQ(DecodeTga(bottomUp.data(), bottomUp.size()), nullptr);
    std::vector<uint8_t> threeBytes = MakeTga(3, 2, {}, 24, 0x20);
    threeBytes.resize(threeBytes.size() + 18, 0x55);
    EXPECT_EQ(DecodeTga(threeBytes.data(), threeBytes.size()), nullptr);
    const std::vector<uint8_t> compressed = MakeTga(3, 2, kPixels, 32, 0x28, 10);
    EXPECT_EQ(DecodeTga(compressed.data(), compressed.size()), nullptr);
}

TEST(TgaReaderTest, MissingDataAndHugeHeadersAreRefused) {
    std::vector<uint8_t> file = MakeTga(3, 2, kPixels);
    file.pop_back();
    EXPECT_EQ(DecodeTga(file.data(), file.size()), nullptr);
    EXPECT_EQ(DecodeTga(file.data(), 17), nullptr);
    EXPECT_EQ(DecodeTga(nullptr, 0), nullptr);
    const std::vector<uint8_t> huge = MakeTga(65535, 65535, kPixels);
    EXPECT_EQ(DecodeTga(huge.data(), huge.size()), nullptr);
    const std::vector<uint8_t> empty = MakeTga(0, 5, {});
    EXPECT_EQ(DecodeTga(empty.data(), empty.size()), nullptr);
}

}  // namespace
}  // namespace ImageLib
