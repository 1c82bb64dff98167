#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"
#include "support/temp_folder.h"

namespace ImageLib {
namespace {

// A plain GIF LZW encoder, written independently of the reader, so the reader meets real
// compressed strings, code size changes and table resets.
std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& indices, int minimumCodeSize) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int bitCount = 0;
    int codeBits = minimumCodeSize + 1;
    auto emit = [&](int code) {
        bits |= static_cast<uint32_t>(code) << bitCount;
        bitCount += codeBits;
        while (bitCount >= 8) {
            out.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    int next = end + 1;
    std::map<std::pair<int, int>, int> table;
    emit(clear);
    int prefix = indices.empty() ? -1 : indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const int k = indices[i];
        auto found = table.find({prefix, k});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        table[{prefix, k}] = next++;
        if (next - 1 == (1 << codeBits) && codeBits < 12) {
            ++codeBits;
        }
        if (next == 4096) {
            emit(clear);
            table.clear();
            next = end + 1;
            codeBits = minimumCodeSize + 1;
        }
        prefix = k;
    }
    if (prefix >= 0) {
        emit(prefix);
    }
    emit(end);
    if (bitCount > 0) {
        out.push_back(static_cast<uint8_t>(bits));
    }
    return out;
}

void Put16(std::vector<uint8_t>& bytes, int value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutSubBlocks(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& data) {
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t length = std::min<size_t>(255, data.size() - i);
        bytes.push_back(static_cast<uint8_t>(length));
        bytes.insert(bytes.end(), data.begin() + i, data.begin() + i + length);
    }
    bytes.push_back(0);
}

// 0xRRGGBB colours into a table of 2^bits entries.
void PutTable(std::vector<uint8_t>& bytes, const std::vector<uint32_t>& colors, int bits) {
    for (int i = 0; i < (1 << bits); ++i) {
        const uint32_t color = i < static_cast<int>(colors.size()) ? colors[i] : 0;
        bytes.push_back(static_cast<uint8_t>(color >> 16));
        bytes.push_back(static_cast<uint8_t>(color >> 8));
        bytes.push_back(static_cast<uint8_t>(color));
    }
}

struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indices;  // in stored order
    std::vector<uint32_t> localTable;
    bool interlaced = false;
    int transparent = -1;
};

std::vector<uint8_t> MakeGif(int screenWidth, int screenHeight,
                             const std::vector<uint32_t>& globalTable,
                             const std::vector<Frame>& frames, const char* version = "GIF89a",
                             bool extras = false) {
    std::vector<uint8_t> bytes(version, version + 6);
    Put16(bytes, screenWidth);
    Put16(bytes, screenHeight);
    bytes.push_back(globalTable.empty() ? 0x00 : 0x87);  // 256-entry table when present
    bytes.push_back(0);
    bytes.push_back(0);
    if (!globalTable.empty()) {
        PutTable(bytes, globalTable, 8);
    }
    if (extras) {
        const std::string loop = "NETSCAPE2.0";
        bytes.insert(bytes.end(), {0x21, 0xFF, 11});
        bytes.insert(bytes.end(), loop.begin(), loop.end());
        bytes.insert(bytes.end(), {3, 1, 0, 0, 0});
        bytes.insert(bytes.end(), {0x21, 0xFE, 5, 'h', 'e', 'l', 'l', 'o', 0});
    }
    for (const Frame& frame : frames) {
        if (frame.transparent >= 0) {
            bytes.insert(bytes.end(),
                         {0x21, 0xF9, 4, 0x01, 10, 0, static_cast<uint8_t>(frame.transparent), 0});
        }
        bytes.push_back(0x2C);
        Put16(bytes, frame.left);
        Put16(bytes, frame.top);
        Put16(bytes, frame.width);
        Put16(bytes, frame.height);
        uint8_t flags = frame.interlaced ? 0x40 : 0x00;
        if (!frame.localTable.empty()) {
            flags |= 0x87;
        }
        bytes.push_back(flags);
        if (!frame.localTable.empty()) {
            PutTable(bytes, frame.localTable, 8);
        }
        bytes.push_back(8);
        PutSubBlocks(bytes, LzwEncode(frame.indices, 8));
    }
    bytes.push_back(0x3B);
    return bytes;
}

std::unique_ptr<Image> Decode(const std::vector<uint8_t>& bytes) {
    return DecodeGif(bytes.data(), bytes.size());
}

const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

TEST(GifReaderTest, DecodesCompressedRunsFromTheGlobalTable) {
    Frame frame{.width = 8, .height = 4};
    for (int i = 0; i < 32; ++i) {
        frame.indices.push_back(static_cast<uint8_t>(i < 20 ? 1 : (i % 3) + 2));
    }
    const auto image = Decode(MakeGif(8, 4, kPalette, {frame}));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 8);
    ASSERT_EQ(image->height, 4);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(image->bits[i], 0xFF000000u | kPalette[frame.indices[i]]) << i;
    }
    // The same picture as an 87a file.
    const auto old = Decode(MakeGif(8, 4, kPalette, {frame}, "GIF87a"));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->bits, image->bits);
}

TEST(GifReaderTest, LargeNoisyPictureFillsAndResetsTheCodeTable) {
    std::mt19937 random(5);
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = static_cast<uint32_t>(i * 0x010101);
    }
    Frame frame{.width = 160, .height = 120};
    for (int i = 0; i < 160 * 120; ++i) {
        frame.indices.push_back(static_cast<uint8_t>(random() % (i % 7 == 0 ? 256 : 4)));
    }
    const auto image = Decode(MakeGif(160, 120, palette, {frame}));
    ASSERT_NE(image, nullptr);
    for (int i = 0; i < 160 * 120; ++i) {
        ASSERT_EQ(image->bits[i], 0xFF000000u | palette[frame.indices[i]]) << i;
    }
}

TEST(GifReaderTest, LocalTableTransparencyAndExtensionsBeforeTheImage) {
    Frame frame{.width = 3, .height = 1, .indices = {0, 1, 2}};
    frame.localTable = {0x102030, 0x405060, 0x708090};
    frame.transparent = 1;
    const auto image = Decode(MakeGif(3, 1, kPalette, {frame}, "GIF89a", true));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits, (std::vector<uint32_t>{0xFF102030u, 0u, 0xFF708090u}));
}

TEST(GifReaderTest, InterlacedRowsGoToTheirPlaces) {
    const int height = 10;
    Frame frame{.width = 2, .height = height, .interlaced = true};
    // Stored order: rows 0, 8 | 4 | 2, 6 | 1, 3, 5, 7, 9; each row's colour index is its row.
    for (int row : {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}) {
        frame.indices.push_back(static_cast<uint8_t>(row));
        frame.indices.push_back(static_cast<uint8_t>(row));
    }
    std::vector<uint32_t> palette;
    for (int i = 0; i < 16; ++i) {
        palette.push_back(static_cast<uint32_t>(i));
    }
    const auto image = Decode(MakeGif(2, height, palette, {frame}));
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < height; ++y) {
        EXPECT_EQ(image->At(1, y), 0xFF000000u | static_cast<uint32_t>(y)) << y;
    }
}

TEST(GifReaderTest, OnlyTheFirstFrameAndOnlyInsideTheScreen) {
    Frame first{.left = 2, .top = 1, .width = 3, .height = 2, .indices = {1, 1, 1, 2, 2, 2}};
    Frame second{.width = 4, .height = 4, .indices = std::vector<uint8_t>(16, 3)};
    const auto image = Decode(MakeGif(4, 4, kPalette, {first, second}));
    ASSERT_NE(image, nullptr);
    // The frame hangs over the right edge: its last column is cut off; the rest is empty.
    EXPECT_EQ(image->At(2, 1), 0xFFFF0000u);
    EXPECT_EQ(image->At(3, 2), 0xFF00FF00u);
    EXPECT_EQ(image->At(0, 0), 0u);
    EXPECT_EQ(image->At(1, 3), 0u);

    Frame outside{.left = 100, .top = 100, .width = 2, .height = 2, .indices = {1, 1, 1, 1}};
    const auto away = Decode(MakeGif(4, 4, kPalette, {outside}));
    ASSERT_NE(away, nullptr);
    EXPECT_EQ(away->bits, std::vector<uint32_t>(16, 0u));
}

TEST(GifReaderTest, DamagedDataIsHandledSafely) {
    Frame frame{.width = 8, .height = 8, .indices = std::vector<uint8_t>(64, 2)};
    std::vector<uint8_t> file = MakeGif(8, 8, kPalette, {frame});
    EXPECT_EQ(Decode(std::vector<uint8_t>(file.begin(), file.begin() + 5)), nullptr);
    EXPECT_EQ(Decode(std::vector<uint8_t>(file.begin(), file.begin() + 700)), nullptr);
    // Cut inside the image data: what was decoded is kept.
    const auto cut = Decode(std::vector<uint8_t>(file.begin(), file.end() - 4));
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->At(0, 0), 0xFF00FF00u);

    // Codes that run past the code table stop the decode without reading anything wrong.
    std::vector<uint8_t> garbage = MakeGif(8, 8, kPalette, {frame});
    const size_t data = garbage.size() - 4;
    garbage[data - 1] = 0xFF;
    garbage[data - 2] = 0xFF;
    EXPECT_NE(Decode(garbage), nullptr);

    std::vector<uint8_t> noImage = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    EXPECT_EQ(Decode(noImage), nullptr);
    std::vector<uint8_t> wrong = file;
    wrong[3] = '9';
    EXPECT_EQ(Decode(wrong), nullptr);
    // No colour table anywhere.
    EXPECT_EQ(Decode(MakeGif(8, 8, {}, {frame})), nullptr);
}

TEST(GifReaderTest, LoadsFromAFile) {
    TestSupport::TempFolder folder;
    Frame frame{.width = 1, .height = 1, .indices = {4}};
    const std::vector<uint8_t> bytes = MakeGif(1, 1, kPalette, {frame});
    const std::string path = folder.Write("dot.gif", std::string(bytes.begin(), bytes.end()));
    const auto image = LoadGifImage(path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[0], 0xFFFFFFFFu);
    EXPECT_EQ(LoadGifImage(folder.File("none.gif")), nullptr);
}

}  // namespace
}  // namespace ImageLib
