#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"

namespace ImageLib {
namespace {

const std::vector<uint32_t> kPixels = {0xFF112233u, 0x80445566u, 0x00778899u,
                                       0x01AABBCCu, 0xFFDDEEFFu, 0x7F000000u};

// A 3 x 2 top-left 32-bit TGA: header, image ID, a colour map of `mapEntries` 24-bit entries,
// pixels as B, G, R, A.
std::vector<uint8_t> MakeTga(const std::string& id, uint8_t mapEntries) {
    std::vector<uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 24, 0, 0, 0, 0, 3, 0, 2, 0, 32, 0x28};
    bytes[0] = static_cast<uint8_t>(id.size());
    bytes[1] = mapEntries > 0;
    bytes[5] = mapEntries;
    const std::string idAndMap = id + std::string(mapEntries * 3, '\x55');
    bytes.insert(bytes.end(), idAndMap.begin(), idAndMap.end());
    for (const uint32_t pixel : kPixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(pixel >> shift));
        }
    }
    return bytes;
}

// The pixels follow the image ID and the colour map; every cut file and every header field set
// to a kind the game does not read is refused.
TEST(TgaReaderTest, ReadsTopLeft32BitPixelsAfterTheIdAndMapAndRefusesEverythingElse) {
    for (const auto& file : {MakeTga("made by test", 0), MakeTga("", 2)}) {
        const auto image = DecodeTga(file.data(), file.size());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 3);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(image->bits, kPixels);
        for (size_t length = 0; length < file.size(); ++length) {
            EXPECT_EQ(DecodeTga(file.data(), length), nullptr) << length;
        }
    }
    // Compressed, 24-bit, bottom-up, no width, no height, a width the data cannot hold.
    const std::pair<int, uint8_t> fields[] = {{2, 10}, {16, 24}, {17, 0x08},
                                              {12, 0}, {14, 0},  {13, 0xFF}};
    for (const auto& [at, value] : fields) {
        std::vector<uint8_t> file = MakeTga("", 0);
        file[at] = value;
        file.resize(file.size() + 18, 0x55);  // a refusal must not come from the length alone
        EXPECT_EQ(DecodeTga(file.data(), file.size()), nullptr) << at;
    }
    EXPECT_EQ(DecodeTga(nullptr, 0), nullptr);
}

}  // namespace
}  // namespace ImageLib
