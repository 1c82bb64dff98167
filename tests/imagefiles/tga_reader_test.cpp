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
    std::vector<uint8_t> bytes(18, 0);
    bytes[0] = static_cast<uint8_t>(id.size());
    bytes[2] = type;
    for (const int at : {12, 14}) {
        const int value = at == 12 ? width : height;
        bytes[at] = static_cast<uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<uint8_t>(value >> 8);
    }
    bytes[16] = depth;
    bytes[17] = descriptor;
    for (const char c : id) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    for (uint32_t pixel : pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(pixel >> shift));
        }
    }
    return bytes;
}

const std::vector<uint32_t> kPixels = {0xFF112233u, 0x80445566u, 0x00778899u,
                                       0x01AABBCCu, 0xFFDDEEFFu, 0x7F000000u};

TEST(TgaReaderTest, ReadsTopLeft32BitPixelsAfterTheImageIdAndRefusesEverythingElse) {
    const std::vector<uint8_t> file = MakeTga(3, 2, kPixels, 32, 0x28, 2, "made by test");
    const auto image = DecodeTga(file.data(), file.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->bits, kPixels);

    std::vector<uint8_t> threeBytes = MakeTga(3, 2, {}, 24, 0x20);
    threeBytes.resize(threeBytes.size() + 18, 0x55);
    std::vector<uint8_t> short1 = MakeTga(3, 2, kPixels);
    short1.pop_back();
    const std::vector<std::vector<uint8_t>> refused = {
        MakeTga(3, 2, kPixels, 32, 0x08),      // bottom-up
        threeBytes,                            // 24-bit
        MakeTga(3, 2, kPixels, 32, 0x28, 10),  // compressed
        short1,
        std::vector<uint8_t>(short1.begin(), short1.begin() + 17),
        MakeTga(65535, 65535, kPixels),
        MakeTga(0, 5, {}),
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_EQ(DecodeTga(refused[i].data(), refused[i].size()), nullptr) << i;
    }
    EXPECT_EQ(DecodeTga(nullptr, 0), nullptr);
}

}  // namespace
}  // namespace ImageLib
