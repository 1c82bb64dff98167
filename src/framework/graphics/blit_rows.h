// Row loops of the software back end: each operation once as the plain per-pixel reference and
// once as the fast loop used for real frames. Both give identical pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/graphics/draw_mode.h"
#include "framework/graphics/pixel_blend.h"

namespace Tuvo::BlitRows {

// Draws count source pixels onto count destination pixels.
void BlendRowReference(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                       const PixelBlend::Modulation& mod, DrawMode mode);
void BlendRowFast(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                  const PixelBlend::Modulation& mod, DrawMode mode);

// A stretch of one row: count source pixels drawn onto count destination pixels. `opaque` says
// every source pixel is opaque, so that a plain draw copies them without looking.
struct RowSegment {
    uint32_t* dest = nullptr;
    const uint32_t* source = nullptr;
    int count = 0;
    bool opaque = false;
};

// BlendRowFast over many segments drawn the same way, the loop chosen once for all of them.
void BlendSegmentsFast(const RowSegment* segments, size_t count, bool sourceHasAlpha,
                       const PixelBlend::Modulation& mod, DrawMode mode);

// Fills count destination pixels with a colour (0xAARRGGBB, alpha taken as given).
void FillRowReference(uint32_t* dest, int count, uint32_t color, DrawMode mode);
void FillRowFast(uint32_t* dest, int count, uint32_t color, DrawMode mode);

// Bilinear samples of a row pair for a smooth stretch, as the reference mixes them: sample i
// mixes top and bottom at columns first[i] and second[i] with column weight columnWeight[i] and
// row weight rowWeight (0..255 each), colours weighted by alpha. Returns how many samples it
// wrote, from the start (none without AVX-512); the caller does the rest.
int SampleBilinearRowFast(uint32_t* out, const uint32_t* top, const uint32_t* bottom,
                          const int32_t* first, const int32_t* second, const int32_t* columnWeight,
                          int count, uint32_t rowWeight);

// Caps the vectors the fast loops may use at 512, 256 or 128 bits (default: the widest the
// processor has), so that tests reach every loop on a processor that has the wider ones.
void LimitVectorWidth(int bits);

// Gathers out[i] = in[columns[i]] for many rows with the same columns (a nearest stretch),
// planned once: where eight (or sixteen) neighbouring columns lie within as many source pixels
// (any enlargement) one load and one shuffle fetch them all.
class RowGather {
public:
    // `columns` index a row of `rowWidth` pixels.
    RowGather(std::vector<int> columns, int rowWidth);
    void Gather(uint32_t* out, const uint32_t* in) const;

private:
    // Groups of eight (AVX2) or sixteen (AVX-512) columns: per group the first source pixel
    // loaded, or -1 to gather one by one, and each column's offset from it.
    struct GroupPlan {
        std::vector<int> base;
        std::vector<int32_t> offsets;
    };
    GroupPlan Plan(int groupSize, int rowWidth) const;

    std::vector<int> columns_;
    GroupPlan eights_;
    GroupPlan sixteens_;
};

}  // namespace Tuvo::BlitRows
