// Copying the finished frame into the window's pixels at a whole-number scale, nearest pixel:
// each source pixel becomes a scale x scale block.
#pragma once

#include <cstdint>

namespace Platform {

// Copies width x height pixels from `source` (rows sourcePitch pixels apart) to `target` (rows
// targetPitch pixels apart), each pixel repeated scale times across and down. The caller
// guarantees the target holds width x scale by height x scale pixels; a scale below 1 copies
// nothing.
void CopyPictureScaled(const uint32_t* source, int sourcePitch, int width, int height,
                       uint32_t* target, int targetPitch, int scale);

}  // namespace Platform
