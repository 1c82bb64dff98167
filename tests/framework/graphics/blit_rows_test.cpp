#include "framework/graphics/blit_rows.h"

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Tuvo::BlitRows {
namespace {

using PixelBlend::Modulation;

// Random pixels weighted toward the cases the fast loops single out: alpha 0, alpha 255 and
// runs of them long enough to fill whole groups of four, eight and sixteen.
std::vector<uint32_t> RandomRow(std::mt19937& random, int count, bool opaqueBias) {
    std::vector<uint32_t> row(static_cast<size_t>(count));
    std::uniform_int_distribution<uint32_t> any;
    std::uniform_int_distribution<int> pick(0, 9);
    const int runLength = 4 << (any(random) % 3);
    uint32_t alpha = 255;
    for (int i = 0; i < count; ++i) {
        if (i % runLength == 0) {
            const int kind = pick(random);
            alpha = kind < (opaqueBias ? 6 : 3) ? 255 : kind < 7 ? 0 : any(random) & 0xFF;
        }
        const uint32_t pixelAlpha = pick(random) == 0 ? any(random) & 0xFF : alpha;
        row[i] = (any(random) & 0x00FFFFFF) | (pixelAlpha << 24);
    }
    return row;
}

// The row cut into random segments of 1 to 40 pixels, marked opaque where they are.
std::vector<RowSegment> Segments(std::vector<uint32_t>& dest, const std::vector<uint32_t>& source,
                                 std::mt19937& random) {
    std::vector<RowSegment> segments;
    for (int start = 0; start < static_cast<int>(source.size());) {
        const int end = std::min<int>(source.size(), start + 1 + random() % 40);
        const bool opaque = std::all_of(source.begin() + start, source.begin() + end,
                                        [](uint32_t pixel) { return pixel >> 24 == 255; });
        segments.push_back({dest.data() + start, source.data() + start, end - start, opaque});
        start = end;
    }
    return segments;
}

// Runs a test body once for each vector width the fast loops may use.
void ForEachVectorWidth(const std::function<void()>& body) {
    for (int bits : {512, 256, 128}) {
        SCOPED_TRACE(bits);
        LimitVectorWidth(bits);
        body();
    }
    LimitVectorWidth(512);
}

TEST(BlitRowsTest, BlendRowFastMatchesReferenceInEveryModeAndModulation) {
    ForEachVectorWidth([] {
        std::mt19937 random(2024);
        const Modulation modulations[] = {Modulation(), Modulation(Color(255, 208, 64, 255)),
                                          Modulation(Color(255, 255, 255, 128)),
                                          Modulation(Color(10, 200, 90, 77))};
        for (int round = 0; round < 300; ++round) {
            const int count = 1 + round % 67;
            const std::vector<uint32_t> source = RandomRow(random, count, false);
            const std::vector<uint32_t> dest = RandomRow(random, count, true);
            for (const Modulation& mod : modulations) {
                for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
                    for (bool hasAlpha : {true, false}) {
                        // Without an alpha channel the source is opaque, as the image guarantees.
                        std::vector<uint32_t> input = source;
                        if (!hasAlpha) {
                            for (uint32_t& pixel : input) {
                                pixel |= 0xFF000000u;
                            }
                        }
                        std::vector<uint32_t> fast = dest;
                        std::vector<uint32_t> reference = dest;
                        BlendRowFast(fast.data(), input.data(), count, hasAlpha, mod, mode);
                        BlendRowReference(reference.data(), input.data(), count, hasAlpha, mod,
                                          mode);
                        ASSERT_EQ(fast, reference) << "round " << round << " mode " << mode;
                        // The same row cut into segments, those wholly opaque marked so.
                        fast = dest;
                        const std::vector<RowSegment> segments = Segments(fast, input, random);
                        BlendSegmentsFast(segments.data(), segments.size(), hasAlpha, mod, mode);
                        ASSERT_EQ(fast, reference) << "round " << round << " in segments";
                    }
                }
            }
        }
    });
}

TEST(BlitRowsTest, FillRowFastMatchesReference) {
    ForEachVectorWidth([] {
        std::mt19937 random(77);
        std::uniform_int_distribution<uint32_t> any;
        for (int round = 0; round < 400; ++round) {
            const int count = 1 + round % 37;
            const std::vector<uint32_t> dest = RandomRow(random, count, true);
            uint32_t color = any(random);
            if (round % 5 == 0) {
                color |= 0xFF000000u;
            } else if (round % 5 == 1) {
                color &= 0x00FFFFFFu;
            }
            for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
                std::vector<uint32_t> fast = dest;
                std::vector<uint32_t> reference = dest;
                FillRowFast(fast.data(), count, color, mode);
                FillRowReference(reference.data(), count, color, mode);
                ASSERT_EQ(fast, reference) << "round " << round << " colour " << std::hex << color;
            }
        }
    });
}

// Column maps of nearest stretches (enlarged, reduced, mirrored, at the row's end) and random
// ones, gathered from a row that ends exactly where the image does (so a read past it shows
// under the address sanitizer).
TEST(BlitRowsTest, PlannedGatherFetchesTheColumnsGiven) {
    std::mt19937 random(21);
    for (int round = 0; round < 200; ++round) {
        const int rowWidth = 1 + round % 45;
        const int count = 1 + (round * 7) % 61;
        std::vector<int> columns(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const int scaled = static_cast<int>((2 * i + 1) * int64_t{rowWidth} / (2 * count));
            switch (round % 3) {
                case 0:
                    columns[i] = scaled;
                    break;
                case 1:
                    columns[i] = rowWidth - 1 - scaled;
                    break;
                default:
                    columns[i] = static_cast<int>(random() % rowWidth);
                    break;
            }
        }
        std::vector<uint32_t> row(static_cast<size_t>(rowWidth));
        for (uint32_t& pixel : row) {
            pixel = random();
        }
        const RowGather gather(columns, rowWidth);
        std::vector<uint32_t> gathered(static_cast<size_t>(count));
        gather.Gather(gathered.data(), row.data());
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(gathered[i], row[columns[i]]) << "round " << round << " pixel " << i;
        }
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

TEST(BlitRowsTest, EmptyAndNegativeCountsTouchNothing) {
    uint32_t dest = 0x12345678u;
    const uint32_t source = 0xFFFFFFFFu;
    BlendRowFast(&dest, &source, 0, false, Modulation(), kDrawModeNormal);
    FillRowFast(&dest, -3, 0xFFFFFFFFu, kDrawModeNormal);
    EXPECT_EQ(dest, 0x12345678u);
}

}  // namespace
}  // namespace Tuvo::BlitRows
