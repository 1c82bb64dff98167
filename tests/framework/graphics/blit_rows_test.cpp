#include "framework/graphics/blit_rows.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Tuvo::BlitRows {
namespace {

using PixelBlend::Modulation;

// The row loops against the reference loops are checked through every drawing operation, at
// every vector width, by the memory image's fast-path tests; here, what only the rows show.

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
