// The reference and fast row loops. The fast loops handle four pixels at a time with SSE2 where
// the destination is opaque (the screen), skip fully transparent and copy fully opaque groups,
// and fall back to the reference formula per pixel for anything else.
#include "framework/graphics/blit_rows.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Tuvo::BlitRows {

using namespace PixelBlend;

void BlendRowReference(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                       const Modulation& mod, DrawMode mode) {
    for (int i = 0; i < count; ++i) {
        dest[i] = BlendPixel(dest[i], source[i], sourceHasAlpha, mod, mode);
    }
}

void FillRowReference(uint32_t* dest, int count, uint32_t color, DrawMode mode) {
    for (int i = 0; i < count; ++i) {
        dest[i] = FillPixel(dest[i], color, mode);
    }
}

namespace {

// Source-over without modulation for one pixel, opaque destination taken quickly.
inline uint32_t BlendUntinted(uint32_t dest, uint32_t source) {
    const uint32_t a = Alpha(source);
    if (a == 0) {
        return dest;
    }
    if (a == 255) {
        return source;
    }
    if (Alpha(dest) != 255) {
        return BlendNormal(dest, source, Modulation());
    }
    const uint32_t inverse = 255 - a;
    return Pack(255, Div255(Red(source) * a + Red(dest) * inverse),
                Div255(Green(source) * a + Green(dest) * inverse),
                Div255(Blue(source) * a + Blue(dest) * inverse));
}

#if defined(__SSE2__)

// x * a + y * (255 - a) rounded by 255 for the 16-bit lanes of two pixels; alpha lanes are
// garbage and replaced by the caller.
inline __m128i MixLanes(__m128i x, __m128i y, __m128i a) {
    const __m128i mask255 = _mm_set1_epi16(0x00FF);
    const __m128i inverse = _mm_xor_si128(a, mask255);
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(x, a), _mm_mullo_epi16(y, inverse));
    sum = _mm_add_epi16(sum, _mm_set1_epi16(0x0080));
    return _mm_mulhi_epu16(sum, _mm_set1_epi16(0x0101));
}

inline __m128i BroadcastAlphaLanes(__m128i pixels16) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels16, 0xFF), 0xFF);
}

// Four source-over pixels onto four opaque destination pixels.
inline __m128i BlendFourOpaque(__m128i source, __m128i dest) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i sourceLow = _mm_unpacklo_epi8(source, zero);
    const __m128i sourceHigh = _mm_unpackhi_epi8(source, zero);
    const __m128i low =
        MixLanes(sourceLow, _mm_unpacklo_epi8(dest, zero), BroadcastAlphaLanes(sourceLow));
    const __m128i high =
        MixLanes(sourceHigh, _mm_unpackhi_epi8(dest, zero), BroadcastAlphaLanes(sourceHigh));
    return _mm_or_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(static_cast<int>(0xFF000000)));
}

#endif

void BlendRowUntinted(uint32_t* dest, const uint32_t* source, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(255);
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i sourceAlpha = _mm_srli_epi32(s, 24);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sourceAlpha, zero)) == 0xFFFF) {
            continue;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sourceAlpha, opaque)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(d, 24), opaque)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), BlendFourOpaque(s, d));
            continue;
        }
        for (int k = i; k < i + 4; ++k) {
            dest[k] = BlendUntinted(dest[k], source[k]);
        }
    }
#endif
    for (; i < count; ++i) {
        dest[i] = BlendUntinted(dest[i], source[i]);
    }
}

void BlendRowTinted(uint32_t* dest, const uint32_t* source, int count, const Modulation& mod) {
    for (int i = 0; i < count; ++i) {
        const uint32_t s = source[i];
        const uint32_t a = Div255(Alpha(s) * mod.alpha);
        if (a == 0) {
            continue;
        }
        const uint32_t d = dest[i];
        if (Alpha(d) != 255) {
            dest[i] = BlendNormal(d, s, mod);
            continue;
        }
        const uint32_t inverse255 = 255 * (255 - a);
        dest[i] = Pack(255, (Red(s) * mod.red * a + Red(d) * inverse255 + 32512) / 65025,
                       (Green(s) * mod.green * a + Green(d) * inverse255 + 32512) / 65025,
                       (Blue(s) * mod.blue * a + Blue(d) * inverse255 + 32512) / 65025);
    }
}

void AdditiveRow(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                 const Modulation& mod) {
    if (mod.isWhite && sourceHasAlpha) {
        for (int i = 0; i < count; ++i) {
            const uint32_t s = source[i];
            const uint32_t a = Alpha(s);
            if (a == 0) {
                continue;
            }
            const uint32_t d = dest[i];
            dest[i] = Pack(Alpha(d), AddClamped(Red(d), (Red(s) * a) >> 8),
                           AddClamped(Green(d), (Green(s) * a) >> 8),
                           AddClamped(Blue(d), (Blue(s) * a) >> 8));
        }
        return;
    }
    if (!mod.isWhite && sourceHasAlpha) {
        // One 64-bit-free product: channel * alpha * (mod.c * mod.a) fits in 32 bits.
        const uint32_t weightRed = mod.red * mod.alpha;
        const uint32_t weightGreen = mod.green * mod.alpha;
        const uint32_t weightBlue = mod.blue * mod.alpha;
        constexpr uint32_t kDivisor = 255u * 256u * 256u;
        for (int i = 0; i < count; ++i) {
            const uint32_t s = source[i];
            const uint32_t a = Alpha(s);
            if (a == 0) {
                continue;
            }
            const uint32_t d = dest[i];
            dest[i] = Pack(Alpha(d), AddClamped(Red(d), Red(s) * a * weightRed / kDivisor),
                           AddClamped(Green(d), Green(s) * a * weightGreen / kDivisor),
                           AddClamped(Blue(d), Blue(s) * a * weightBlue / kDivisor));
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        dest[i] = BlendAdditive(dest[i], source[i], sourceHasAlpha, mod);
    }
}

}  // namespace

void BlendRowFast(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                  const Modulation& mod, DrawMode mode) {
    if (count <= 0) {
        return;
    }
    if (mode == kDrawModeAdditive) {
        AdditiveRow(dest, source, count, sourceHasAlpha, mod);
    } else if (!mod.isWhite) {
        BlendRowTinted(dest, source, count, mod);
    } else if (!sourceHasAlpha) {
        std::memcpy(dest, source, static_cast<size_t>(count) * sizeof(uint32_t));
    } else {
        BlendRowUntinted(dest, source, count);
    }
}

void FillRowFast(uint32_t* dest, int count, uint32_t color, DrawMode mode) {
    if (count <= 0) {
        return;
    }
    const uint32_t a = Alpha(color);
    if (mode == kDrawModeAdditive) {
        FillRowReference(dest, count, color, mode);
        return;
    }
    if (a == 0) {
        return;
    }
    if (a == 255) {
        std::fill(dest, dest + count, color);
        return;
    }
    const uint32_t inverse = 255 - a;
    const uint32_t redPart = Red(color) * a;
    const uint32_t greenPart = Green(color) * a;
    const uint32_t bluePart = Blue(color) * a;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(255);
    const __m128i colorLanes = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
    const __m128i alphaLanes = _mm_set1_epi16(static_cast<short>(a));
    for (; i + 4 <= count; i += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(d, 24), opaque)) != 0xFFFF) {
            for (int k = i; k < i + 4; ++k) {
                dest[k] = FillPixel(dest[k], color, mode);
            }
            continue;
        }
        const __m128i low = MixLanes(colorLanes, _mm_unpacklo_epi8(d, zero), alphaLanes);
        const __m128i high = MixLanes(colorLanes, _mm_unpackhi_epi8(d, zero), alphaLanes);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                         _mm_or_si128(_mm_packus_epi16(low, high),
                                      _mm_set1_epi32(static_cast<int>(0xFF000000))));
    }
#endif
    for (; i < count; ++i) {
        const uint32_t d = dest[i];
        if (Alpha(d) != 255) {
            dest[i] = FillPixel(d, color, mode);
            continue;
        }
        dest[i] =
            Pack(255, Div255(redPart + Red(d) * inverse), Div255(greenPart + Green(d) * inverse),
                 Div255(bluePart + Blue(d) * inverse));
    }
}

}  // namespace Tuvo::BlitRows
