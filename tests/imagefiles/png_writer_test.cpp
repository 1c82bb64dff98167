#include "imagefiles/png_writer.h"

#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "png_reference.h"
#include "support/temp_folder.h"

namespace ImageLib {
namespace {

TEST(PngWriterTest, RefusesBadInputAndWritesFiles) {
    const std::vector<uint32_t> pixels = {0xFF102030u, 0x80405060u, 0x00708090u,
                                          0x01A0B0C0u, 0x7FD0E0F0u, 0xFFFFFFFFu};
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(EncodePng(nullptr, 1, 1, bytes));
    EXPECT_FALSE(EncodePng(pixels.data(), 0, 1, bytes));
    EXPECT_FALSE(EncodePng(pixels.data(), 1, -1, bytes));

    TestSupport::TempFolder folder;
    ASSERT_TRUE(WritePngFile(folder.File("shot.png"), pixels.data(), 3, 2));
    const std::string written = folder.Read("shot.png");
    PngReference::Decoded decoded;
    ASSERT_TRUE(PngReference::Decode({written.begin(), written.end()}, decoded));
    EXPECT_EQ(std::tie(decoded.width, decoded.height, decoded.bits), std::make_tuple(3, 2, pixels));
    EXPECT_FALSE(WritePngFile(folder.File("no/such/folder/shot.png"), pixels.data(), 1, 1));
}

}  // namespace
}  // namespace ImageLib
