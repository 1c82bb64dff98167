#include "imagefiles/png_writer.h"

#include <vector>

#include <gtest/gtest.h>

#include "png_reference.h"
#include "support/temp_folder.h"

namespace ImageLib {
namespace {

TEST(PngWriterTest, WritesEightBitRgbaInPixelOrder) {
    const std::vector<uint32_t> pixels = {0xFF102030u, 0x80405060u, 0x00708090u,
                                          0x01A0B0C0u, 0x7FD0E0F0u, 0xFFFFFFFFu};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodePng(pixels.data(), 3, 2, bytes));
    PngReference::Decoded decoded;
    ASSERT_TRUE(PngReference::Decode(bytes, decoded));
    EXPECT_EQ(decoded.width, 3);
    EXPECT_EQ(decoded.height, 2);
    EXPECT_EQ(decoded.bits, pixels);
}

TEST(PngWriterTest, RefusesBadInputAndWritesFiles) {
    const uint32_t pixel = 0xFF000000u;
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(EncodePng(nullptr, 1, 1, bytes));
    EXPECT_FALSE(EncodePng(&pixel, 0, 1, bytes));
    EXPECT_FALSE(EncodePng(&pixel, 1, -1, bytes));

    TestSupport::TempFolder folder;
    ASSERT_TRUE(WritePngFile(folder.File("shot.png"), &pixel, 1, 1));
    const std::string written = folder.Read("shot.png");
    ASSERT_TRUE(EncodePng(&pixel, 1, 1, bytes));
    EXPECT_EQ(written, std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(WritePngFile(folder.File("no/such/folder/shot.png"), &pixel, 1, 1));
}

}  // namespace
}  // namespace ImageLib
