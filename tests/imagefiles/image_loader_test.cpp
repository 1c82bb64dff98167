#include "imagefiles/image_loader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/archive/pak_format.h"
#include "framework/archive/pak_interface.h"
#include "imagefiles/png_writer.h"
#include "support/gif_encoder.h"
#include "support/jpeg_encoder.h"
#include "support/temp_folder.h"

namespace ImageLib {
namespace {

// A PNG of one row of pixels.
std::string PngBytes(const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(EncodePng(pixels.data(), static_cast<int>(pixels.size()), 1, bytes));
    return std::string(bytes.begin(), bytes.end());
}

// A one-pixel TGA; the game reads only the 32-bit kind.
std::string OnePixelTga(char depth, char descriptor, const std::string& pixel) {
    return std::string{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, depth, descriptor} + pixel;
}

class ImageLoaderTest : public ::testing::Test {
protected:
    ImageLoaderTest() : inFolder_(folder_.Path()) {}
    ~ImageLoaderTest() override {
        SetAutoLoadAlpha(true);
        SetAlphaComposeColor(0xFFFFFF);
    }

    void Write(const std::string& name, const std::string& bytes) { folder_.Write(name, bytes); }

    TestSupport::TempFolder folder_;
    TestSupport::ScopedCurrentDirectory inFolder_;
};

TEST_F(ImageLoaderTest, AlphaComesFromTheBlueChannelOfTheUnderscoreFile) {
    Write("Graphics/x.png", PngBytes({0xFFFF0000u, 0x8000FF00u}));
    Write("Graphics/_x.png", PngBytes({0xFF112240u, 0x00FFFFC0u}));
    EXPECT_EQ(LoadImageFile("Graphics\\x.png", true)->bits,
              (std::vector<uint32_t>{0x40FF0000u, 0xC000FF00u}));
    // Without looking for alpha, or with auto-load-alpha off, the picture stays as it is.
    EXPECT_EQ(LoadImageFile("Graphics\\x.png", false)->bits[0], 0xFFFF0000u);
    SetAutoLoadAlpha(false);
    EXPECT_EQ(LoadImageFile("Graphics\\x.png", true)->bits[0], 0xFFFF0000u);
    SetAutoLoadAlpha(true);

    // Names without extension also take "b_"; "_b" comes first when both exist.
    Write("b.png", PngBytes({0xFF123456u}));
    Write("b_.png", PngBytes({0xFF000033u}));
    EXPECT_EQ(LoadImageFile("b", true)->bits[0], 0x33123456u);
    Write("_b.png", PngBytes({0xFF000077u}));
    EXPECT_EQ(LoadImageFile("b", true)->bits[0], 0x77123456u);

    // An alpha file alone gives the compose colour.
    Write("_only.png", PngBytes({0xFF000080u, 0xFFFFFF00u}));
    EXPECT_EQ(LoadImageFile("only.png", true)->bits,
              (std::vector<uint32_t>{0x80FFFFFFu, 0x00FFFFFFu}));
    SetAlphaComposeColor(0x102030);
    EXPECT_EQ(LoadImageFile("only.png", true)->bits[0], 0x80102030u);

    // An alpha file of another size leaves the alpha alone.
    Write("y.png", PngBytes({0x80FF0000u}));
    Write("_y.png", PngBytes({0xFF000011u, 0xFF000011u}));
    EXPECT_EQ(LoadImageFile("y.png", true)->bits[0], 0x80FF0000u);
}

TEST_F(ImageLoaderTest, FormatOrderAndExtensions) {
    Write("a.png", PngBytes({0xFF010203u, 0xFF010203u}));
    const std::vector<uint8_t> jpeg = TestSupport::EncodeJpeg(4, 4, 1, std::vector<uint8_t>(16));
    Write("a.jpg", std::string(jpeg.begin(), jpeg.end()));
    Write("a.bmp", "BM not really");
    // ".tga" and ".jpg" come before ".png".
    EXPECT_EQ(LoadImageFile("a", false)->width, 4);
    // An extension picks its format, ignoring case.
    EXPECT_EQ(LoadImageFile("a.PNG", false)->width, 2);
    EXPECT_EQ(LoadImageFile("a.bmp", true), nullptr);
    EXPECT_EQ(LoadImageFile("missing", true), nullptr);

    // A 24-bit TGA yields nothing, and with its extension no other format is tried.
    Write("t.tga", OnePixelTga(24, 0x20, "\x10\x20\x30"));
    Write("t.png", PngBytes({0xFF000000u}));
    EXPECT_EQ(LoadImageFile("t.tga", false), nullptr);
    EXPECT_NE(LoadImageFile("t", false), nullptr);

    // A dot in a folder name is no extension.
    Write("dir.v2/pic.png", PngBytes({0xFF000000u}));
    EXPECT_NE(LoadImageFile("dir.v2/pic", false), nullptr);

    // The GIF and 32-bit TGA file readers too.
    const std::vector<uint8_t> gif = TestSupport::MakeGif(
        3, 1, {0x102030}, {TestSupport::GifFrame{.width = 3, .height = 1, .indices = {0, 0, 0}}});
    Write("g.gif", std::string(gif.begin(), gif.end()));
    EXPECT_EQ(LoadImageFile("g.gif", false)->bits, std::vector<uint32_t>(3, 0xFF102030u));
    Write("t32.tga", OnePixelTga(32, 0x28, "\x10\x20\x30\x40"));
    EXPECT_EQ(LoadImageFile("t32", false)->bits, std::vector<uint32_t>{0x40302010u});
}

TEST_F(ImageLoaderTest, PicturesComeFromTheArchiveFirst) {
    const std::string packed = PngBytes({0xFF0000FFu});
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak({{"Graphics\\z.png", 0, {packed.begin(), packed.end()}}}, archive));
    Write("main.pak", std::string(archive.begin(), archive.end()));
    Write("Graphics/z.png", PngBytes({0xFFFF0000u}));
    Write("Graphics/w.png", PngBytes({0xFF00FF00u}));

    Tuvo::PakInterface layer;
    ASSERT_TRUE(layer.MountArchive("main.pak"));
    EXPECT_EQ(LoadImageFile("Graphics\\z.png", true)->bits[0], 0xFF0000FFu);
    EXPECT_EQ(LoadImageFile("graphics/Z", true)->bits[0], 0xFF0000FFu);
    EXPECT_EQ(LoadImageFile("Graphics\\w.png", true)->bits[0], 0xFF00FF00u);  // not in the archive
}

// One kind of separator, plain names and letter case are the loader's cases above.
TEST(FileExtensionTest, OnlyAfterTheLastSeparator) {
    EXPECT_EQ(FileExtension("a\\b.c/d"), "");
    EXPECT_EQ(FileExtension("a/b\\c.d"), ".d");
    EXPECT_EQ(FileExtension("x."), ".");
}

}  // namespace
}  // namespace ImageLib
