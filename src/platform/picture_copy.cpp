// Whole rows go by the C library's copy; a scaled row is widened once and then copied down.
#include "platform/picture_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace Platform {

void CopyPictureScaled(const uint32_t* source, int sourcePitch, int width, int height,
                       uint32_t* target, int targetPitch, int scale) {
    if (source == nullptr || target == nullptr || width <= 0 || height <= 0 || scale < 1) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(width) * scale * sizeof(uint32_t);
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = source + static_cast<size_t>(y) * sourcePitch;
        uint32_t* first = target + static_cast<size_t>(y) * scale * targetPitch;
        if (scale == 1) {
            std::memcpy(first, in, rowBytes);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            std::fill_n(first + static_cast<size_t>(x) * scale, scale, in[x]);
        }
        for (int copy = 1; copy < scale; ++copy) {
            std::memcpy(first + static_cast<size_t>(copy) * targetPitch, first, rowBytes);
        }
    }
}

}  // namespace Platform
