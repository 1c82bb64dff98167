// Whole rows go by the C library's copy; a scaled row is widened once and then copied down.
#include "platform/picture_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Platform {
namespace {

// Copies one row. Nothing reads the window's pixels back, so on x86 they are written past the
// caches: the copy then neither reads the target first nor pushes the frame out of the cache.
void CopyRow(uint32_t* target, const uint32_t* source, size_t count) {
#if defined(__SSE2__)
    size_t done = 0;
    while (done < count && reinterpret_cast<uintptr_t>(target + done) % 16 != 0) {
        target[done] = source[done];
        ++done;
    }
    for (; done + 4 <= count; done += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + done));
        _mm_stream_si128(reinterpret_cast<__m128i*>(target + done), pixels);
    }
    for (; done < count; ++done) {
        target[done] = source[done];
    }
#else
    std::memcpy(target, source, count * sizeof(uint32_t));
#endif
}

}  // namespace

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
            CopyRow(first, in, static_cast<size_t>(width));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            std::fill_n(first + static_cast<size_t>(x) * scale, scale, in[x]);
        }
        for (int copy = 1; copy < scale; ++copy) {
            std::memcpy(first + static_cast<size_t>(copy) * targetPitch, first, rowBytes);
        }
    }
#if defined(__SSE2__)
    _mm_sfence();  // the streamed pixels are in memory before SDL hands them on
#endif
}

}  // namespace Platform
