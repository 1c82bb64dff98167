// Row loops of the software back end: each operation once as the plain per-pixel reference and
// once as the fast loop used for real frames. Both give identical pixels.
#pragma once

#include <cstdint>

#include "framework/graphics/draw_mode.h"
#include "framework/graphics/pixel_blend.h"

namespace Tuvo::BlitRows {

// Draws count source pixels onto count destination pixels.
void BlendRowReference(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                       const PixelBlend::Modulation& mod, DrawMode mode);
void BlendRowFast(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                  const PixelBlend::Modulation& mod, DrawMode mode);

// Fills count destination pixels with a colour (0xAARRGGBB, alpha taken as given).
void FillRowReference(uint32_t* dest, int count, uint32_t color, DrawMode mode);
void FillRowFast(uint32_t* dest, int count, uint32_t color, DrawMode mode);

}  // namespace Tuvo::BlitRows
