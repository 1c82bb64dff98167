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

TEST(BlitRowsTest, EmptyAndNegativeCountsTouchNothing) {
    uint32_t dest = 0x12345678u;
    const uint32_t source = 0xFFFFFFFFu;
    BlendRowFast(&dest, &source, 0, false, Modulation(), kDrawModeNormal);
    FillRowFast(&dest, -3, 0xFFFFFFFFu, kDrawModeNormal);
    EXPECT_EQ(dest, 0x12345678u);
}

}  // namespace
}  // namespace Tuvo::BlitRows
