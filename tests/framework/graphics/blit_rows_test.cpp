#include "framework/graphics/blit_rows.h"

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Tuvo::BlitRows {
namespace {

using PixelBlend::Modulation;

// What only the rows show (the memory image tests check the rest against the reference paths).

// Nearest-stretch and random column maps, from a row ending where its memory does (for ASan).
TEST(BlitRowsTest, PlannedGatherFetchesTheColumnsGiven) {
    std::mt19937 random(21);
    for (int round = 0; round < 200; ++round) {
        const int rowWidth = 1 + round % 45;
        const int count = 1 + (round * 7) % 61;
        std::vector<uint32_t> row(static_cast<size_t>(rowWidth));
        for (uint32_t& pixel : row) {
            pixel = random();
        }
        std::vector<int> columns(static_cast<size_t>(count));
        std::vector<uint32_t> expected;
        for (int i = 0; i < count; ++i) {
            const int scaled = static_cast<int>((2 * i + 1) * int64_t{rowWidth} / (2 * count));
            const int mirrored = rowWidth - 1 - scaled;
            columns[i] = round % 3 == 0   ? scaled
                         : round % 3 == 1 ? mirrored
                                          : static_cast<int>(random() % rowWidth);
            expected.push_back(row[columns[i]]);
        }
        const RowGather gather(columns, rowWidth);
        std::vector<uint32_t> gathered(static_cast<size_t>(count));
        gather.Gather(gathered.data(), row.data());
        ASSERT_EQ(gathered, expected) << "round " << round;
    }
}

// The reference mix of four pixels (top left, top right, bottom left, bottom right) with the
// weights of the right column and the bottom row: colours weighted by alpha.
uint32_t ReferenceMix(const uint32_t (&pixels)[4], uint64_t fx, uint64_t fy) {
    const uint64_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy,
                                 fx * fy};
    uint64_t alphaSum = 0;
    uint64_t sums[3] = {};
    for (int k = 0; k < 4; ++k) {
        const uint64_t weighted = weights[k] * (pixels[k] >> 24);
        alphaSum += weighted;
        for (int c = 0; c < 3; ++c) {
            sums[c] += weighted * ((pixels[k] >> (16 - 8 * c)) & 0xFF);
        }
    }
    if (alphaSum == 0) {
        return 0;
    }
    uint32_t mix = static_cast<uint32_t>((alphaSum + 32768) >> 16) << 24;
    for (int c = 0; c < 3; ++c) {
        mix |= static_cast<uint32_t>((sums[c] + alphaSum / 2) / alphaSum) << (16 - 8 * c);
    }
    return mix;
}

// Many samples, most of them opaque (where the quotients come nearest to whole numbers) and
// with the extreme weights, against the reference mix.
TEST(BlitRowsTest, BilinearSamplesMatchTheReferenceMix) {
    std::mt19937 random(5150);
    std::uniform_int_distribution<uint32_t> any;
    const uint32_t extremes[] = {0, 1, 2, 127, 128, 253, 254, 255};
    auto weight = [&] {
        return any(random) % 2 == 0 ? extremes[any(random) % 8] : any(random) % 256;
    };
    std::vector<uint32_t> top(64), bottom(64), out(40);
    std::vector<int32_t> first(40), second(40), columnWeight(40);
    for (int round = 0; round < 20000; ++round) {
        const bool opaque = round % 4 != 0;
        for (uint32_t* row : {top.data(), bottom.data()}) {
            for (int i = 0; i < 64; ++i) {
                const uint32_t alpha = opaque ? 255 : any(random) % 3 == 0 ? 0 : any(random) & 0xFF;
                row[i] = (alpha << 24) | (any(random) & 0x00FFFFFFu);
            }
        }
        const int count = 1 + round % 40;
        for (int i = 0; i < count; ++i) {
            first[i] = static_cast<int32_t>(any(random) % 64);
            second[i] = std::min(63, first[i] + 1);
            columnWeight[i] = static_cast<int32_t>(weight());
        }
        const uint32_t rowWeight = weight();
        const int done =
            SampleBilinearRowFast(out.data(), top.data(), bottom.data(), first.data(),
                                  second.data(), columnWeight.data(), count, rowWeight);
        for (int i = 0; i < done; ++i) {
            const uint32_t pixels[4] = {top[first[i]], top[second[i]], bottom[first[i]],
                                        bottom[second[i]]};
            ASSERT_EQ(out[i], ReferenceMix(pixels, columnWeight[i], rowWeight))
                << "round " << round << " sample " << i;
        }
    }
}

// A tinted draw onto opaque pixels divides by 65025 with rounding: the values whose rounded sum
// lies next to a multiple of 65025, where a quotient one off shows, at every vector width.
TEST(BlitRowsTest, TintedRowsRoundAsTheReferenceAtEveryWidth) {
    const uint32_t tint[3] = {128, 37, 1};  // 255 and 200 never reach such an edge
    const Modulation mod(Color(tint[0], tint[1], tint[2]));
    std::vector<uint32_t> source;
    std::vector<uint32_t> dest;
    for (uint32_t a = 1; a < 256; ++a) {
        for (uint32_t s = 0; s < 256; ++s) {
            for (uint32_t d = 0; d < 256; ++d) {
                bool edge = false;
                for (uint32_t m : tint) {
                    const uint32_t rest = (s * m * a + d * 255 * (255 - a) + 32512) % 65025;
                    edge = edge || rest == 0 || rest == 65024;
                }
                if (edge) {
                    source.push_back(a << 24 | s << 16 | s << 8 | s);
                    dest.push_back(0xFF000000u | d << 16 | d << 8 | d);
                }
            }
        }
    }
    ASSERT_GT(source.size(), 500u);
    const int count = static_cast<int>(source.size());
    std::vector<uint32_t> reference = dest;
    BlendRowReference(reference.data(), source.data(), count, true, mod, kDrawModeNormal);
    for (int bits : {512, 256, 128}) {
        LimitVectorWidth(bits);
        std::vector<uint32_t> fast = dest;
        BlendRowFast(fast.data(), source.data(), count, true, mod, kDrawModeNormal);
        EXPECT_EQ(fast, reference) << bits << " bits";
    }
    LimitVectorWidth(512);
}

TEST(BlitRowsTest, EmptyAndNegativeCountsTouchNothing) {
    uint32_t dest = 0x12345678u;
    const uint32_t source = 0xFFFFFFFFu;
    BlendRowFast(&dest, &source, 0, false, Modulation(), kDrawModeNormal);
    FillRowFast(&dest, -3, 0xFFFFFFFFu, kDrawModeNormal);
    EXPECT_EQ(dest, 0x12345678u);
}

}  // namespace
}  // namespace Tuvo::BlitRows
