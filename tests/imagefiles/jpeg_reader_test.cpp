#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "imagefiles/readers.h"
#include "support/jpeg_encoder.h"

namespace ImageLib {
namespace {

using TestSupport::EncodeJpeg;

std::vector<uint8_t> Gradient(int width, int height, int components) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                samples.push_back(static_cast<uint8_t>(x * 3 + y * 2 + c * 40));
            }
        }
    }
    return samples;
}

// The decoded pixels are the encoded samples within JPEG's loss; grey fills all three channels.
void ExpectCloseToSamples(int width, int height, int components, bool progressive) {
    const std::vector<uint8_t> samples = Gradient(width, height, components);
    const std::vector<uint8_t> file = EncodeJpeg(width, height, components, samples, progressive);
    const auto image = DecodeJpeg(file.data(), file.size());
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(image->height, height);
    for (int i = 0; i < width * height; ++i) {
        for (int channel = 0; channel < 4; ++channel) {
            const int wanted = channel == 3 ? 0xFF : samples[i * components + channel % components];
            const int got = (image->bits[i] >> (channel == 3 ? 24 : 16 - 8 * channel)) & 0xFF;
            ASSERT_NEAR(got, wanted, 12) << i << " channel " << channel << " of " << components;
        }
    }
}

TEST(JpegReaderTest, ColourGreyAndProgressiveGiveTheirSamples) {
    for (bool progressive : {false, true}) {
        ExpectCloseToSamples(37, 21, 3, progressive);
        ExpectCloseToSamples(19, 33, 1, progressive);
    }
}

TEST(JpegReaderTest, DamagedAndOversizedFilesGiveNullAndNeverExit) {
    std::vector<uint8_t> file = EncodeJpeg(32, 32, 3, Gradient(32, 32, 3), false);
    ASSERT_NE(DecodeJpeg(file.data(), file.size()), nullptr);
    for (size_t length = 0; length < file.size(); ++length) {
        EXPECT_EQ(DecodeJpeg(file.data(), length), nullptr) << length;
    }
    const std::vector<uint8_t> text(200, 'x');  // not a JPEG at all
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

    // The SOF0 marker's height and width raised past the side limit, and to a size within it
    // (2400 x 1600) that a file of a few hundred bytes cannot hold.
    file = EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 1), false);
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
