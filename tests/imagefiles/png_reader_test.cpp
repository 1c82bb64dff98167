#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"
#include "png_reference.h"

namespace ImageLib {
namespace {

using PngReference::WritePng;

const char kPngSuite[] = "/usr/share/doc/libsixel-examples/examples/images/pngsuite";

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::unique_ptr<Image> Decode(const std::vector<uint8_t>& bytes) {
    return DecodePng(bytes.data(), bytes.size());
}

// Every colour type and depth becomes 8-bit 0xAARRGGBB, with alpha 255 where the file has none.
TEST(PngReaderTest, EveryLayoutBecomesEightBitArgb) {
    png_color_16 transparentGrey{};
    transparentGrey.gray = 0x40;
    std::vector<std::vector<uint8_t>> rows(3);  // 3 x 3 RGB, interlaced: pixel p is 3p+1, +2, +3
    std::vector<uint32_t> interlacedPixels;
    for (uint8_t p = 0; p < 9; ++p) {
        rows[p / 3].insert(rows[p / 3].end(),
                           {uint8_t(3 * p + 1), uint8_t(3 * p + 2), uint8_t(3 * p + 3)});
        interlacedPixels.push_back(0xFF000000u | (3u * p + 1) << 16 | (3u * p + 2) << 8 |
                                   (3u * p + 3));
    }
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"rgba",
         WritePng(2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                  {{0x11, 0x22, 0x33, 0x80, 0xAA, 0xBB, 0xCC, 0x00}}),
         {0x80112233u, 0x00AABBCCu}},
        {"rgb",
         WritePng(2, 1, 8, PNG_COLOR_TYPE_RGB, {{1, 2, 3, 4, 5, 6}}),
         {0xFF010203u, 0xFF040506u}},
        {"16-bit keeps the high byte",
         WritePng(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA,
                  {{0x12, 0xFF, 0x34, 0x00, 0x56, 0x80, 0x7F, 0xFF}}),
         {0x7F123456u}},
        {"1-bit grey",
         WritePng(3, 1, 1, PNG_COLOR_TYPE_GRAY, {{0xA0}}),
         {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu}},
        {"grey with a transparent value",
         WritePng(2, 1, 8, PNG_COLOR_TYPE_GRAY, {{0x40, 0x41}}, {}, {}, &transparentGrey),
         {0x00404040u, 0xFF414141u}},
        {"16-bit grey and alpha",
         WritePng(1, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, {{0x99, 0x01, 0x20, 0xFF}}),
         {0x20999999u}},
        {"2-bit palette with alpha",
         WritePng(3, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0b00011000}},
                  {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}, {0x00, 0x80}),
         {0x000A141Eu, 0x8028323Cu, 0xFF46505Au}},
        {"interlaced", WritePng(3, 3, 8, PNG_COLOR_TYPE_RGB, rows, {}, {}, nullptr, true),
         interlacedPixels},
    };
    for (const auto& c : cases) {
        const auto image = Decode(c.file);
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(image->bits, c.pixels) << c.name;
    }
}

TEST(PngReaderTest, DamagedFilesGiveNull) {
    std::vector<uint8_t> file =
        WritePng(4, 4, 8, PNG_COLOR_TYPE_RGB,
                 std::vector<std::vector<uint8_t>>(4, std::vector<uint8_t>(12, 7)));
    ASSERT_NE(Decode(file), nullptr);
    EXPECT_EQ(Decode(std::vector<uint8_t>(file.begin(), file.end() - 20)), nullptr);
    EXPECT_EQ(Decode(std::vector<uint8_t>(file.begin(), file.begin() + 8)), nullptr);
    std::vector<uint8_t> badCrc = file;
    badCrc[29] ^= 0x01;  // last CRC byte of IHDR
    EXPECT_EQ(Decode(badCrc), nullptr);
    std::vector<uint8_t> badSignature = file;
    badSignature[1] = 'Q';
    EXPECT_EQ(Decode(badSignature), nullptr);
    EXPECT_EQ(DecodePng(nullptr, 0), nullptr);
}

TEST(PngReaderTest, HeaderClaimingMoreThanTheDataCanHoldIsRefused) {
    std::vector<uint8_t> file = WritePng(1, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, {{1, 2, 3, 4}});
    // IHDR width and height (bytes 16..23) raised to 16000 x 16000, CRC fixed up.
    const uint8_t size[8] = {0, 0, 0x3E, 0x80, 0, 0, 0x3E, 0x80};
    std::copy(size, size + 8, file.begin() + 16);
    const uint32_t crc = Crc32(file.data() + 12, 17);
    file[29] = static_cast<uint8_t>(crc >> 24);
    file[30] = static_cast<uint8_t>(crc >> 16);
    file[31] = static_cast<uint8_t>(crc >> 8);
    file[32] = static_cast<uint8_t>(crc);
    EXPECT_EQ(Decode(file), nullptr);

    // A real 1-bit picture: its rows deflate to almost nothing, and its 32-bit pixels are 32
    // times those rows. Above a screen's worth of pixels that is refused; a one-screen picture
    // of the same kind still reads.
    const png_color blackWhite[2] = {{0, 0, 0}, {255, 255, 255}};
    for (const auto& [width, height, readable] :
         {std::tuple{2400, 1600, false}, std::tuple{800, 600, true}}) {
        const std::vector<std::vector<uint8_t>> rows(height, std::vector<uint8_t>(width / 8, 0));
        const std::vector<uint8_t> bomb = WritePng(width, height, 1, PNG_COLOR_TYPE_PALETTE, rows,
                                                   {blackWhite[0], blackWhite[1]});
        const auto image = Decode(bomb);
        EXPECT_EQ(image != nullptr, readable) << width << " x " << height << ", " << bomb.size();
    }
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(PngReaderTest, OfficialSuiteMatchesTheReferenceAndRefusesCorruptFiles) {
    if (!std::filesystem::is_directory(kPngSuite)) {
        GTEST_SKIP() << "the PNG test suite is missing: install libsixel-examples "
                        "(scripts/install-deps.sh does)";
    }
    int valid = 0;
    int corrupt = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kPngSuite)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        const std::string path = entry.path().string();
        const std::vector<uint8_t> bytes = ReadFile(path);
        const auto image = DecodePng(bytes.data(), bytes.size());
        if (entry.path().filename().string()[0] == 'x') {
            EXPECT_EQ(image, nullptr) << path;
            ++corrupt;
            continue;
        }
        PngReference::Decoded reference;
        ASSERT_TRUE(PngReference::Decode(bytes, reference)) << path;
        ASSERT_NE(image, nullptr) << path;
        EXPECT_EQ(image->width, reference.width) << path;
        EXPECT_EQ(image->height, reference.height) << path;
        EXPECT_EQ(image->bits, reference.bits) << path;
        ++valid;
    }
    EXPECT_GT(valid, 150);
    EXPECT_GT(corrupt, 10);
}

}  // namespace
}  // namespace ImageLib
