#include "imagefiles/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace ImageLib {
namespace {

struct Source {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

void ReadFromVector(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (source->bytes->size() - source->position < count) {
        png_error(png, "short");
    }
    std::memcpy(out, source->bytes->data() + source->position, count);
    source->position += count;
}

// Reads the PNG back with libpng as 8-bit RGBA bytes.
bool ReadRgba(const std::vector<uint8_t>& bytes, int& width, int& height,
              std::vector<uint8_t>& rgba) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Source source{&bytes};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &source, ReadFromVector);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    width = static_cast<int>(png_get_image_width(png, info));
    height = static_cast<int>(png_get_image_height(png, info));
    const bool isRgba = png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB_ALPHA &&
                        png_get_bit_depth(png, info) == 8;
    png_bytepp rows = png_get_rows(png, info);
    rgba.clear();
    for (int y = 0; y < height; ++y) {
        rgba.insert(rgba.end(), rows[y], rows[y] + width * 4);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return isRgba;
}

TEST(PngWriterTest, WritesEightBitRgbaInPixelOrder) {
    const uint32_t pixels[6] = {0xFF102030u, 0x80405060u, 0x00708090u,
                                0x01A0B0C0u, 0x7FD0E0F0u, 0xFFFFFFFFu};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodePng(pixels, 3, 2, bytes));
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(ReadRgba(bytes, width, height, rgba));
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rgba[i * 4 + 0], (pixels[i] >> 16) & 0xFF);
        EXPECT_EQ(rgba[i * 4 + 1], (pixels[i] >> 8) & 0xFF);
        EXPECT_EQ(rgba[i * 4 + 2], pixels[i] & 0xFF);
        EXPECT_EQ(rgba[i * 4 + 3], pixels[i] >> 24);
    }
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
