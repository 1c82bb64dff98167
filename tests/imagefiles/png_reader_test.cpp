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

const char kPngSuite[] = "/usr/share/doc/libsixel-examples/examples/images/pngsuite";

std::unique_ptr<Image> Decode(const std::vector<uint8_t>& bytes) {
    return DecodePng(bytes.data(), bytes.size());
}

// Every colour type, depth, transparency and interlacing of the official suite becomes what
// libpng itself makes of it, and its corrupt files (names starting with 'x') are refused.
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
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        const auto image = Decode(bytes);
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

TEST(PngReaderTest, CutFilesAndPicturesTheDataCannotHoldAreRefused) {
    const std::vector<uint8_t> file =
        PngReference::WritePng(4, 4, 8, PNG_COLOR_TYPE_RGB,
                               std::vector<std::vector<uint8_t>>(4, std::vector<uint8_t>(12)));
    ASSERT_NE(Decode(file), nullptr);
    for (size_t length = 0; length < file.size(); ++length) {
        EXPECT_EQ(DecodePng(file.data(), length), nullptr) << length;
    }
    EXPECT_EQ(DecodePng(nullptr, 0), nullptr);

    // A real 1-bit picture: its rows deflate to almost nothing, and its 32-bit pixels are 32
    // times those rows. Above a screen's worth of pixels that is refused; a one-screen picture
    // of the same kind still reads.
    for (const auto& [width, height, readable] :
         {std::tuple{2400, 1600, false}, std::tuple{800, 600, true}}) {
        const std::vector<std::vector<uint8_t>> rows(height, std::vector<uint8_t>(width / 8, 0));
        const std::vector<uint8_t> bomb = PngReference::WritePng(
            width, height, 1, PNG_COLOR_TYPE_PALETTE, rows, {{0, 0, 0}, {255, 255, 255}});
        EXPECT_EQ(Decode(bomb) != nullptr, readable) << width << " x " << height;
    }
}

}  // namespace
}  // namespace ImageLib
