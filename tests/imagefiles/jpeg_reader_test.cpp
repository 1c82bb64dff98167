#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"
#include "support/jpeg_encoder.h"

namespace ImageLib {
namespace {

using TestSupport::EncodeJpeg;

// The reference: libjpeg's own RGB output, packed by hand.
std::vector<uint32_t> ReferenceDecode(const std::vector<uint8_t>& bytes, int& width, int& height) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    std::vector<uint8_t> row(width * 3);
    std::vector<uint32_t> pixels;
    while (info.output_scanline < info.output_height) {
        JSAMPROW pointer = row.data();
        jpeg_read_scanlines(&info, &pointer, 1);
        for (int x = 0; x < width; ++x) {
            pixels.push_back(0xFF000000u | (uint32_t{row[x * 3]} << 16) |
                             (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3 + 2]);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

std::vector<uint8_t> Gradient(int width, int height, int components) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                samples.push_back(static_cast<uint8_t>((x * 7 + y * 3 + c * 80) & 0xFF));
            }
        }
    }
    return samples;
}

void ExpectMatchesReference(const std::vector<uint8_t>& bytes, const std::string& what) {
    const auto image = DecodeJpeg(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr) << what;
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> reference = ReferenceDecode(bytes, width, height);
    EXPECT_EQ(image->width, width) << what;
    EXPECT_EQ(image->height, height) << what;
    EXPECT_EQ(image->bits, reference) << what;
}

TEST(JpegReaderTest, ColourGreyAndProgressiveMatchTheLibrary) {
    for (bool progressive : {false, true}) {
        const auto colour = EncodeJpeg(37, 21, 3, Gradient(37, 21, 3), progressive);
        ExpectMatchesReference(colour, progressive ? "progressive colour" : "colour");
        const auto grey = EncodeJpeg(19, 33, 1, Gradient(19, 33, 1), progressive);
        ExpectMatchesReference(grey, progressive ? "progressive grey" : "grey");
    }
}

TEST(JpegReaderTest, DecodeErrorsReturnNullAndNeverExit) {
    const std::vector<uint8_t> file = EncodeJpeg(32, 32, 3, Gradient(32, 32, 3), false);
    ASSERT_NE(DecodeJpeg(file.data(), file.size()), nullptr);
    // Data that ends early.
    EXPECT_EQ(DecodeJpeg(file.data(), file.size() / 2), nullptr);
    EXPECT_EQ(DecodeJpeg(file.data(), 100), nullptr);
    // Not a JPEG at all.
    const std::vector<uint8_t> text(200, 'x');
    EXPECT_EQ(DecodeJpeg(text.data(), text.size()), nullptr);
    EXPECT_EQ(DecodeJpeg(nullptr, 0), nullptr);
    // Random damage after the headers: either an error (null) or some picture, never a crash.
    std::mt19937 random(17);
    for (int i = 0; i < 50; ++i) {
        std::vector<uint8_t> damaged = file;
        for (int k = 0; k < 5; ++k) {
            damaged[200 + random() % (damaged.size() - 200)] = static_cast<uint8_t>(random());
        }
        const auto image = DecodeJpeg(damaged.data(), damaged.size());
        if (image != nullptr) {
            EXPECT_EQ(image->bits.size(), 32u * 32u);
        }
    }
}

TEST(JpegReaderTest, HeaderClaimingMoreThanTheDataCanHoldIsRefused) {
    std::vector<uint8_t> file = EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 1), false);
    // The SOF0 marker's height and width raised past the side limit, and to a size within it
    // (2400 x 1600) that a file of a few hundred bytes cannot hold.
    size_t sof = 0;
    while (sof + 8 < file.size() && !(file[sof] == 0xFF && file[sof + 1] == 0xC0)) {
        ++sof;
    }
    ASSERT_LT(sof + 8, file.size());
    for (const auto& [height, width] : {std::pair{16000, 16000}, std::pair{1600, 2400}}) {
        file[sof + 5] = static_cast<uint8_t>(height >> 8);
        file[sof + 6] = static_cast<uint8_t>(height);
        file[sof + 7] = static_cast<uint8_t>(width >> 8);
        file[sof + 8] = static_cast<uint8_t>(width);
        EXPECT_EQ(DecodeJpeg(file.data(), file.size()), nullptr) << width << " x " << height;
    }
}

}  // namespace
}  // namespace ImageLib
