#include <numeric>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"
#include "support/gif_encoder.h"

namespace ImageLib {
namespace {

using TestSupport::GifFrame;
using TestSupport::GifTableFull;
using TestSupport::MakeGif;

std::unique_ptr<Image> Decode(const std::vector<uint8_t>& bytes) {
    return DecodeGif(bytes.data(), bytes.size());
}

const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// Noisy pictures fill the 4096-code table many times over: once with a clear code each time,
// once with the deferred clear (the full table goes on being used, no clear code at all), with
// the widest and a narrow starting code size; the narrow ones as 87a files.
TEST(GifReaderTest, NoisyPicturesFillTheCodeTable) {
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = static_cast<uint32_t>(i * 0x010101);
    }
    for (const int codeSize : {8, 2}) {
        for (const GifTableFull whenFull : {GifTableFull::Clear, GifTableFull::KeepGoing}) {
            std::mt19937 random(5);
            GifFrame frame{
                .width = 160, .height = 120, .whenFull = whenFull, .minimumCodeSize = codeSize};
            for (int i = 0; i < 160 * 120; ++i) {
                const int colours = codeSize == 8 && i % 7 == 0 ? 256 : 4;
                frame.indices.push_back(static_cast<uint8_t>(random() % colours));
            }
            const char* version = codeSize == 8 ? "GIF89a" : "GIF87a";
            const auto image = Decode(MakeGif(160, 120, palette, {frame}, version));
            ASSERT_NE(image, nullptr);
            ASSERT_EQ(image->width, 160);
            ASSERT_EQ(image->height, 120);
            for (int i = 0; i < 160 * 120; ++i) {
                ASSERT_EQ(image->bits[i], 0xFF000000u | palette[frame.indices[i]])
                    << i << " code size " << codeSize;
            }
        }
    }
}

// Extensions come before the image; the first frame has its own table and a transparent index;
// it hangs over the right edge, whose column is cut off; the second frame is ignored.
TEST(GifReaderTest, OnlyTheFirstFrameWithItsTableAndTransparencyInsideTheScreen) {
    GifFrame first{.left = 2, .top = 1, .width = 3, .height = 2, .indices = {0, 1, 2, 2, 1, 0}};
    first.localTable = {0x102030, 0x405060, 0x708090};
    first.transparent = 1;
    GifFrame second{.width = 4, .height = 4, .indices = std::vector<uint8_t>(16, 3)};
    const auto image = Decode(MakeGif(4, 4, kPalette, {first, second}, "GIF89a", true));
    ASSERT_NE(image, nullptr);
    std::vector<uint32_t> wanted(16, 0u);
    wanted[6] = 0xFF102030u;
    wanted[10] = 0xFF708090u;
    EXPECT_EQ(image->bits, wanted);

    GifFrame outside{.left = 100, .top = 100, .width = 2, .height = 2, .indices = {1, 1, 1, 1}};
    const auto away = Decode(MakeGif(4, 4, kPalette, {outside}));
    ASSERT_NE(away, nullptr);
    EXPECT_EQ(away->bits, std::vector<uint32_t>(16, 0u));
}

TEST(GifReaderTest, InterlacedRowsGoToTheirPlaces) {
    const int height = 10;
    GifFrame frame{.width = 2, .height = height, .interlaced = true};
    // Stored order: rows 0, 8 | 4 | 2, 6 | 1, 3, 5, 7, 9; each row's colour index is its row.
    for (int row : {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}) {
        frame.indices.insert(frame.indices.end(), 2, static_cast<uint8_t>(row));
    }
    std::vector<uint32_t> palette(16);
    std::iota(palette.begin(), palette.end(), 0u);
    const auto image = Decode(MakeGif(2, height, palette, {frame}));
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < height; ++y) {
        EXPECT_EQ(image->At(1, y), 0xFF000000u | static_cast<uint32_t>(y)) << y;
    }
}

TEST(GifReaderTest, DamagedDataIsHandledSafely) {
    GifFrame frame{.width = 8, .height = 8, .indices = std::vector<uint8_t>(64, 2)};
    const std::vector<uint8_t> file = MakeGif(8, 8, kPalette, {frame});
    // Cut anywhere before the image data: nothing; cut inside it: what was decoded is kept.
    const size_t imageData = 13 + 768 + 10 + 1;
    for (size_t length = 0; length < file.size(); ++length) {
        const auto cut = Decode(std::vector<uint8_t>(file.begin(), file.begin() + length));
        if (length <= imageData) {
            EXPECT_EQ(cut, nullptr) << length;
        } else if (length >= file.size() - 4) {
            ASSERT_NE(cut, nullptr) << length;
            EXPECT_EQ(cut->At(0, 0), 0xFF00FF00u);
        }
    }

    // Codes that run past the code table stop the decode without reading anything wrong.
    std::vector<uint8_t> garbage = file;
    const size_t data = garbage.size() - 4;
    garbage[data - 1] = 0xFF;
    garbage[data - 2] = 0xFF;
    EXPECT_NE(Decode(garbage), nullptr);

    // A header promising the largest screen and frame, with no pixel data behind it, is
    // refused before anything of that size is allocated.
    const std::vector<uint8_t> promise = {
        'G', 'I', 'F', '8',  '9', 'a', 0x00, 0x40, 0x00, 0x40, 0x80, 0,    0,    0, 0, 0,
        0,   0,   0,   0x2C, 0,   0,   0,    0,    0x00, 0x40, 0x00, 0x40, 0x00, 8, 0, 0x3B};
    EXPECT_EQ(Decode(promise), nullptr);

    EXPECT_EQ(Decode({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}), nullptr);
    std::vector<uint8_t> wrong = file;
    wrong[3] = '9';
    EXPECT_EQ(Decode(wrong), nullptr);
    EXPECT_EQ(Decode(MakeGif(8, 8, {}, {frame})), nullptr);  // no colour table anywhere
}

}  // namespace
}  // namespace ImageLib
