// The reference and fast row loops. The fast loops handle eight pixels at a time with AVX2 (when
// the processor has it) and four with SSE2 where the destination is opaque (the screen), skip
// fully transparent and copy fully opaque groups, and fall back to the reference formula per
// pixel for anything else.
#include "framework/graphics/blit_rows.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// AVX2 loops are compiled for the whole x86-64 family and chosen at run time.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QUILLORY_HAVE_AVX2_PATHS 1
#include <immintrin.h>
#else
#define QUILLORY_HAVE_AVX2_PATHS 0
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

#if QUILLORY_HAVE_AVX2_PATHS

// The widest vectors the fast loops may use, in bits (see LimitVectorWidth).
std::atomic<int> gVectorLimit{512};

bool HasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available && gVectorLimit.load(std::memory_order_relaxed) >= 256;
}

bool HasAvx512() {
    static const bool available =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return available && gVectorLimit.load(std::memory_order_relaxed) >= 512;
}

#define QUILLORY_AVX512 __attribute__((target("avx512f,avx512bw")))

QUILLORY_AVX512 inline __m512i MixLanesAvx512(__m512i x, __m512i y, __m512i a) {
    const __m512i inverse = _mm512_xor_si512(a, _mm512_set1_epi16(0x00FF));
    __m512i sum = _mm512_add_epi16(_mm512_mullo_epi16(x, a), _mm512_mullo_epi16(y, inverse));
    sum = _mm512_add_epi16(sum, _mm512_set1_epi16(0x0080));
    return _mm512_mulhi_epu16(sum, _mm512_set1_epi16(0x0101));
}

// Each pixel's alpha spread over the four 16-bit lanes that unpacking the low (pixels 0, 1) or
// high (pixels 2, 3) half of each 128-bit lane gives it; a byte index of 0xFF clears the byte.
QUILLORY_AVX512 inline __m512i AlphaLanesLow(__m512i pixels) {
    return _mm512_shuffle_epi8(
        pixels, _mm512_set4_epi32(static_cast<int>(0xFF07FF07u), static_cast<int>(0xFF07FF07u),
                                  static_cast<int>(0xFF03FF03u), static_cast<int>(0xFF03FF03u)));
}

QUILLORY_AVX512 inline __m512i AlphaLanesHigh(__m512i pixels) {
    return _mm512_shuffle_epi8(
        pixels, _mm512_set4_epi32(static_cast<int>(0xFF0FFF0Fu), static_cast<int>(0xFF0FFF0Fu),
                                  static_cast<int>(0xFF0BFF0Bu), static_cast<int>(0xFF0BFF0Bu)));
}

// The lanes of a row's sixteen-pixel group starting at i that lie before count.
QUILLORY_AVX512 inline __mmask16 GroupLanes(int i, int count) {
    const int left = count - i;
    return left >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << left) - 1);
}

// BlendRowUntinted in sixteen-pixel groups, the last group masked.
QUILLORY_AVX512 inline __attribute__((always_inline)) void BlendUntintedAvx512Body(
    uint32_t* dest, const uint32_t* source, int count) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i alphaBits = _mm512_set1_epi32(static_cast<int>(0xFF000000));
    for (int i = 0; i < count; i += 16) {
        const __mmask16 lanes = GroupLanes(i, count);
        const __m512i s = _mm512_maskz_loadu_epi32(lanes, source + i);
        // A pixel is visible where its alpha bits are not all clear, opaque where they are all
        // set (an unsigned pixel at least 0xFF000000).
        if (_mm512_mask_test_epi32_mask(lanes, s, alphaBits) == 0) {
            continue;
        }
        if (_mm512_mask_cmpge_epu32_mask(lanes, s, alphaBits) == lanes) {
            _mm512_mask_storeu_epi32(dest + i, lanes, s);
            continue;
        }
        const __m512i d = _mm512_maskz_loadu_epi32(lanes, dest + i);
        if (_mm512_mask_cmpge_epu32_mask(lanes, d, alphaBits) != lanes) {
            for (int k = i; k < std::min(count, i + 16); ++k) {
                dest[k] = BlendUntinted(dest[k], source[k]);
            }
            continue;
        }
        const __m512i low = MixLanesAvx512(_mm512_unpacklo_epi8(s, zero),
                                           _mm512_unpacklo_epi8(d, zero), AlphaLanesLow(s));
        const __m512i high = MixLanesAvx512(_mm512_unpackhi_epi8(s, zero),
                                            _mm512_unpackhi_epi8(d, zero), AlphaLanesHigh(s));
        _mm512_mask_storeu_epi32(dest + i, lanes,
                                 _mm512_or_si512(_mm512_packus_epi16(low, high), alphaBits));
    }
}

QUILLORY_AVX512 void BlendUntintedAvx512(uint32_t* dest, const uint32_t* source, int count) {
    BlendUntintedAvx512Body(dest, source, count);
}

// Many segments in one call, so that the blend is chosen and set up once per image drawn.
QUILLORY_AVX512 void BlendSegmentsUntintedAvx512(const RowSegment* segments, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        const RowSegment& segment = segments[k];
        if (segment.opaque) {
            std::memcpy(segment.dest, segment.source,
                        static_cast<size_t>(segment.count) * sizeof(uint32_t));
        } else {
            BlendUntintedAvx512Body(segment.dest, segment.source, segment.count);
        }
    }
}

// Destination lanes plus the additive amounts of the source lanes (see AdditiveAvx512).
QUILLORY_AVX512 inline __m512i AdditiveLanesAvx512(__m512i destLanes, __m512i sourceLanes,
                                                   __m512i alphaLanes, __m512i weights, bool white,
                                                   bool sourceHasAlpha) {
    __m512i amount = sourceLanes;
    if (white) {
        if (sourceHasAlpha) {
            amount = _mm512_srli_epi16(_mm512_mullo_epi16(sourceLanes, alphaLanes), 8);
        }
    } else {
        const __m512i weighted = sourceHasAlpha ? _mm512_mullo_epi16(sourceLanes, alphaLanes)
                                                : _mm512_slli_epi16(sourceLanes, 8);
        const __m512i scaled = _mm512_mulhi_epu16(weighted, weights);
        // floor(t / 255) = t * 0x8081 >> 23 for t below 65536.
        amount = _mm512_srli_epi16(
            _mm512_mulhi_epu16(scaled, _mm512_set1_epi16(static_cast<short>(0x8081))), 7);
    }
    // Blue, green and red lanes of each pixel; its alpha lane adds nothing.
    return _mm512_add_epi16(destLanes,
                            _mm512_and_si512(amount, _mm512_set1_epi64(0x0000FFFFFFFFFFFFll)));
}

// The additive blend in sixteen-pixel groups, the last group masked, each channel a 16-bit
// lane. The amounts are the reference's, exactly: with a modulation weight w = m.c * m.a,
// channel * alpha * w / (255 * 65536) is floor(floor(x * w / 65536) / 255) with x = channel *
// alpha (or channel * 256 without an alpha channel), both quotients by high-half products.
QUILLORY_AVX512 void AdditiveAvx512(uint32_t* dest, const uint32_t* source, int count,
                                    bool sourceHasAlpha, const Modulation& mod) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i alphaBits = _mm512_set1_epi32(static_cast<int>(0xFF000000));
    const __m512i weights = _mm512_set1_epi64(static_cast<long long>(
        uint64_t{mod.blue * mod.alpha} | uint64_t{mod.green * mod.alpha} << 16 |
        uint64_t{mod.red * mod.alpha} << 32));
    for (int i = 0; i < count; i += 16) {
        const __mmask16 lanes = GroupLanes(i, count);
        const __m512i s = _mm512_maskz_loadu_epi32(lanes, source + i);
        if (sourceHasAlpha && _mm512_mask_test_epi32_mask(lanes, s, alphaBits) == 0) {
            continue;
        }
        const __m512i d = _mm512_maskz_loadu_epi32(lanes, dest + i);
        const __m512i low =
            AdditiveLanesAvx512(_mm512_unpacklo_epi8(d, zero), _mm512_unpacklo_epi8(s, zero),
                                AlphaLanesLow(s), weights, mod.isWhite, sourceHasAlpha);
        const __m512i high =
            AdditiveLanesAvx512(_mm512_unpackhi_epi8(d, zero), _mm512_unpackhi_epi8(s, zero),
                                AlphaLanesHigh(s), weights, mod.isWhite, sourceHasAlpha);
        // The pack saturates each sum at 255.
        _mm512_mask_storeu_epi32(dest + i, lanes, _mm512_packus_epi16(low, high));
    }
}

// Every lane. The zero-masking forms of the conversions, shifts and gathers are used
// throughout, as GCC 12 warns about the undefined vectors its plain forms start from.
constexpr __mmask16 kAllLanes = 0xFFFF;

// floor(numerator / divisor) for 32-bit lanes with numerator below 2^32 and divisor from 1 to
// 2^24: the float quotient is within 2^-15 of the exact one, so it truncates to the exact
// floor or one off, which the remainder mends.
QUILLORY_AVX512 inline __m512i QuotientAvx512(__m512i numerator, __m512i divisor,
                                              __m512 reciprocal) {
    const __m512i estimate = _mm512_maskz_cvttps_epu32(
        kAllLanes, _mm512_mul_ps(_mm512_maskz_cvtepu32_ps(kAllLanes, numerator), reciprocal));
    // numerator - estimate * divisor lies within (-divisor, 2 divisor): exact as 32-bit lanes.
    const __m512i remainder = _mm512_sub_epi32(numerator, _mm512_mullo_epi32(estimate, divisor));
    const __m512i one = _mm512_set1_epi32(1);
    __m512i quotient = _mm512_mask_sub_epi32(
        estimate, _mm512_cmplt_epi32_mask(remainder, _mm512_setzero_si512()), estimate, one);
    quotient =
        _mm512_mask_add_epi32(quotient, _mm512_cmpge_epi32_mask(remainder, divisor), quotient, one);
    return quotient;
}

QUILLORY_AVX512 int SampleBilinearAvx512(uint32_t* out, const uint32_t* top, const uint32_t* bottom,
                                         const int32_t* first, const int32_t* second,
                                         const int32_t* columnWeight, int count,
                                         uint32_t rowWeight) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i full = _mm512_set1_epi32(256);
    const __m512i byteMask = _mm512_set1_epi32(0xFF);
    const __m512i below = _mm512_set1_epi32(static_cast<int>(rowWeight));
    const __m512i above = _mm512_set1_epi32(static_cast<int>(256 - rowWeight));
    for (int i = 0; i < count; i += 16) {
        // The last group's lanes past the end gather nothing and are not stored.
        const __mmask16 lanes = GroupLanes(i, count);
        const __m512i left = _mm512_maskz_loadu_epi32(lanes, first + i);
        const __m512i right = _mm512_maskz_loadu_epi32(lanes, second + i);
        const __m512i fx = _mm512_maskz_loadu_epi32(lanes, columnWeight + i);
        const __m512i pixels[4] = {_mm512_mask_i32gather_epi32(zero, lanes, left, top, 4),
                                   _mm512_mask_i32gather_epi32(zero, lanes, right, top, 4),
                                   _mm512_mask_i32gather_epi32(zero, lanes, left, bottom, 4),
                                   _mm512_mask_i32gather_epi32(zero, lanes, right, bottom, 4)};
        const __m512i gx = _mm512_sub_epi32(full, fx);
        const __m512i weights[4] = {_mm512_mullo_epi32(gx, above), _mm512_mullo_epi32(fx, above),
                                    _mm512_mullo_epi32(gx, below), _mm512_mullo_epi32(fx, below)};
        __m512i alphaWeights[4];
        __m512i alphaSum = _mm512_setzero_si512();
        for (int k = 0; k < 4; ++k) {
            alphaWeights[k] =
                _mm512_mullo_epi32(weights[k], _mm512_maskz_srli_epi32(kAllLanes, pixels[k], 24));
            alphaSum = _mm512_add_epi32(alphaSum, alphaWeights[k]);
        }
        // Every product below 2^24 and every channel sum below 2^32, as in the reference.
        const __m512 reciprocal =
            _mm512_div_ps(_mm512_set1_ps(1.0f), _mm512_maskz_cvtepu32_ps(kAllLanes, alphaSum));
        const __m512i half = _mm512_maskz_srli_epi32(kAllLanes, alphaSum, 1);
        __m512i packed = _mm512_maskz_slli_epi32(
            kAllLanes,
            _mm512_maskz_srli_epi32(kAllLanes, _mm512_add_epi32(alphaSum, _mm512_set1_epi32(32768)),
                                    16),
            24);
        for (int shift = 0; shift <= 16; shift += 8) {
            __m512i sum = half;
            for (int k = 0; k < 4; ++k) {
                const __m512i channel = _mm512_and_si512(
                    _mm512_maskz_srli_epi32(kAllLanes, pixels[k], static_cast<unsigned>(shift)),
                    byteMask);
                sum = _mm512_add_epi32(sum, _mm512_mullo_epi32(alphaWeights[k], channel));
            }
            const __m512i value = QuotientAvx512(sum, alphaSum, reciprocal);
            packed = _mm512_or_si512(
                packed, _mm512_maskz_slli_epi32(kAllLanes, value, static_cast<unsigned>(shift)));
        }
        // Where no alpha reaches the sample it is transparent black.
        _mm512_mask_storeu_epi32(
            out + i, lanes,
            _mm512_maskz_mov_epi32(_mm512_test_epi32_mask(alphaSum, alphaSum), packed));
    }
    return count;
}

// A blended fill (alpha 1..254) in sixteen-pixel groups, the last group masked.
QUILLORY_AVX512 void FillBlendAvx512(uint32_t* dest, int count, uint32_t color, DrawMode mode) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i alphaBits = _mm512_set1_epi32(static_cast<int>(0xFF000000));
    const uint32_t a = color >> 24;
    const __m512i inverse = _mm512_set1_epi16(static_cast<short>(255 - a));
    // colour * a + 128 per channel lane, the same sum MixLanes forms.
    const __m512i colorPart = _mm512_add_epi16(
        _mm512_mullo_epi16(_mm512_unpacklo_epi8(_mm512_set1_epi32(static_cast<int>(color)), zero),
                           _mm512_set1_epi16(static_cast<short>(a))),
        _mm512_set1_epi16(0x0080));
    const __m512i magic = _mm512_set1_epi16(0x0101);
    for (int i = 0; i < count; i += 16) {
        const __mmask16 lanes = GroupLanes(i, count);
        const __m512i d = _mm512_maskz_loadu_epi32(lanes, dest + i);
        // Opaque pixels are those at least 0xFF000000.
        if (_mm512_mask_cmpge_epu32_mask(lanes, d, alphaBits) != lanes) {
            for (int k = i; k < std::min(count, i + 16); ++k) {
                dest[k] = FillPixel(dest[k], color, mode);
            }
            continue;
        }
        const __m512i low = _mm512_mulhi_epu16(
            _mm512_add_epi16(_mm512_mullo_epi16(_mm512_unpacklo_epi8(d, zero), inverse), colorPart),
            magic);
        const __m512i high = _mm512_mulhi_epu16(
            _mm512_add_epi16(_mm512_mullo_epi16(_mm512_unpackhi_epi8(d, zero), inverse), colorPart),
            magic);
        _mm512_mask_storeu_epi32(dest + i, lanes,
                                 _mm512_or_si512(_mm512_packus_epi16(low, high), alphaBits));
    }
}

__attribute__((target("avx2"))) inline __m256i MixLanesAvx2(__m256i x, __m256i y, __m256i a) {
    const __m256i inverse = _mm256_xor_si256(a, _mm256_set1_epi16(0x00FF));
    __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(x, a), _mm256_mullo_epi16(y, inverse));
    sum = _mm256_add_epi16(sum, _mm256_set1_epi16(0x0080));
    return _mm256_mulhi_epu16(sum, _mm256_set1_epi16(0x0101));
}

__attribute__((target("avx2"))) inline __m256i BroadcastAlphaLanesAvx2(__m256i pixels16) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels16, 0xFF), 0xFF);
}

// Eight-pixel groups of BlendRowUntinted; returns how many pixels it handled.
__attribute__((target("avx2"))) int BlendUntintedAvx2(uint32_t* dest, const uint32_t* source,
                                                      int count) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(255);
    const __m256i alphaBits = _mm256_set1_epi32(static_cast<int>(0xFF000000));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i sourceAlpha = _mm256_srli_epi32(s, 24);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sourceAlpha, zero)) == -1) {
            continue;
        }
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sourceAlpha, opaque)) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), s);
            continue;
        }
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_srli_epi32(d, 24), opaque)) != -1) {
            for (int k = i; k < i + 8; ++k) {
                dest[k] = BlendUntinted(dest[k], source[k]);
            }
            continue;
        }
        const __m256i sourceLow = _mm256_unpacklo_epi8(s, zero);
        const __m256i sourceHigh = _mm256_unpackhi_epi8(s, zero);
        const __m256i low = MixLanesAvx2(sourceLow, _mm256_unpacklo_epi8(d, zero),
                                         BroadcastAlphaLanesAvx2(sourceLow));
        const __m256i high = MixLanesAvx2(sourceHigh, _mm256_unpackhi_epi8(d, zero),
                                          BroadcastAlphaLanesAvx2(sourceHigh));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                            _mm256_or_si256(_mm256_packus_epi16(low, high), alphaBits));
    }
    return i;
}

// The last one to seven pixels of BlendRowUntinted with masked loads and stores, where every
// destination pixel is opaque; returns how many pixels it handled (all or none). Masked-off
// lanes read as transparent and are not stored.
__attribute__((target("avx2"))) int BlendUntintedTailAvx2(uint32_t* dest, const uint32_t* source,
                                                          int count) {
    if (count <= 0 || count >= 8) {
        return 0;
    }
    for (int k = 0; k < count; ++k) {
        if (Alpha(dest[k]) != 255) {
            return 0;
        }
    }
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), lanes);
    const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(source), mask);
    const __m256i d = _mm256_maskload_epi32(reinterpret_cast<const int*>(dest), mask);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sourceLow = _mm256_unpacklo_epi8(s, zero);
    const __m256i sourceHigh = _mm256_unpackhi_epi8(s, zero);
    const __m256i low =
        MixLanesAvx2(sourceLow, _mm256_unpacklo_epi8(d, zero), BroadcastAlphaLanesAvx2(sourceLow));
    const __m256i high = MixLanesAvx2(sourceHigh, _mm256_unpackhi_epi8(d, zero),
                                      BroadcastAlphaLanesAvx2(sourceHigh));
    _mm256_maskstore_epi32(reinterpret_cast<int*>(dest), mask,
                           _mm256_or_si256(_mm256_packus_epi16(low, high),
                                           _mm256_set1_epi32(static_cast<int>(0xFF000000))));
    return count;
}

// Eight-pixel groups of a blended fill (alpha 1..254) over opaque pixels; returns how many
// pixels it handled.
__attribute__((target("avx2"))) int FillBlendAvx2(uint32_t* dest, int count, uint32_t color,
                                                  DrawMode mode) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(255);
    const __m256i alphaBits = _mm256_set1_epi32(static_cast<int>(0xFF000000));
    const uint32_t a = color >> 24;
    const __m256i inverse = _mm256_set1_epi16(static_cast<short>(255 - a));
    // colour * a + 128 per channel lane, the same sum MixLanes forms.
    const __m256i colorPart = _mm256_add_epi16(
        _mm256_mullo_epi16(_mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(color)), zero),
                           _mm256_set1_epi16(static_cast<short>(a))),
        _mm256_set1_epi16(0x0080));
    const __m256i magic = _mm256_set1_epi16(0x0101);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_srli_epi32(d, 24), opaque)) != -1) {
            for (int k = i; k < i + 8; ++k) {
                dest[k] = FillPixel(dest[k], color, mode);
            }
            continue;
        }
        const __m256i low = _mm256_mulhi_epu16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), inverse), colorPart),
            magic);
        const __m256i high = _mm256_mulhi_epu16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), inverse), colorPart),
            magic);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                            _mm256_or_si256(_mm256_packus_epi16(low, high), alphaBits));
    }
    return i;
}

#endif

void BlendRowUntinted(uint32_t* dest, const uint32_t* source, int count) {
    int i = 0;
#if QUILLORY_HAVE_AVX2_PATHS
    if (HasAvx512()) {
        BlendUntintedAvx512(dest, source, count);
        return;
    }
    if (HasAvx2()) {
        i = BlendUntintedAvx2(dest, source, count);
        i += BlendUntintedTailAvx2(dest + i, source + i, count - i);
    }
#endif
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

void BlendRowTintedScalar(uint32_t* dest, const uint32_t* source, int count,
                          const Modulation& mod) {
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

#if QUILLORY_HAVE_AVX2_PATHS

// One channel of TintedAvx2: (S.c * M.c * a + D.c * 255 * (255 - a) + 32512) / 65025. The sum
// stays below 2^24, so floats hold it exactly and one correction step makes the quotient exact.
__attribute__((target("avx2"))) inline __m256i TintChannelAvx2(__m256i sourceChannel,
                                                               __m256i destChannel,
                                                               __m256i modChannel, __m256i a,
                                                               __m256i inverse255) {
    const __m256i numerator = _mm256_add_epi32(
        _mm256_add_epi32(_mm256_mullo_epi32(_mm256_mullo_epi32(sourceChannel, modChannel), a),
                         _mm256_mullo_epi32(destChannel, inverse255)),
        _mm256_set1_epi32(32512));
    __m256i quotient = _mm256_cvttps_epi32(
        _mm256_mul_ps(_mm256_cvtepi32_ps(numerator), _mm256_set1_ps(1.0f / 65025.0f)));
    const __m256i remainder =
        _mm256_sub_epi32(numerator, _mm256_mullo_epi32(quotient, _mm256_set1_epi32(65025)));
    quotient = _mm256_sub_epi32(quotient, _mm256_cmpgt_epi32(remainder, _mm256_set1_epi32(65024)));
    return _mm256_add_epi32(quotient, _mm256_cmpgt_epi32(_mm256_setzero_si256(), remainder));
}

// Channel `shift` (16, 8 or 0) of eight pixels as 32-bit lanes.
__attribute__((target("avx2"))) inline __m256i ChannelAvx2(__m256i pixels, int shift) {
    return _mm256_and_si256(_mm256_srl_epi32(pixels, _mm_cvtsi32_si128(shift)),
                            _mm256_set1_epi32(0xFF));
}

// The lanes of a row's eight-pixel group starting at i that lie before count: all of them,
// or the first count - i of the last group.
__attribute__((target("avx2"))) inline __m256i GroupMaskAvx2(int i, int count) {
    const int left = count - i;
    return left >= 8 ? _mm256_set1_epi32(-1)
                     : _mm256_cmpgt_epi32(_mm256_set1_epi32(left),
                                          _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Loads the masked lanes (the others read as 0) and stores only them, so the last group of a
// row never touches the pixels past its end.
__attribute__((target("avx2"))) inline __m256i LoadGroupAvx2(const uint32_t* pixels, __m256i mask,
                                                             bool whole) {
    return whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels))
                 : _mm256_maskload_epi32(reinterpret_cast<const int*>(pixels), mask);
}

__attribute__((target("avx2"))) inline void StoreGroupAvx2(uint32_t* pixels, __m256i mask,
                                                           bool whole, __m256i value) {
    if (whole) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), value);
    } else {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(pixels), mask, value);
    }
}

// Eight-pixel groups of a tinted source-over onto opaque pixels, the last group masked.
__attribute__((target("avx2"))) void TintedAvx2(uint32_t* dest, const uint32_t* source, int count,
                                                const Modulation& mod) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(255);
    const __m256i modAlpha = _mm256_set1_epi32(static_cast<int>(mod.alpha));
    const __m256i modChannels[3] = {_mm256_set1_epi32(static_cast<int>(mod.red)),
                                    _mm256_set1_epi32(static_cast<int>(mod.green)),
                                    _mm256_set1_epi32(static_cast<int>(mod.blue))};
    for (int i = 0; i < count; i += 8) {
        const bool whole = i + 8 <= count;
        const __m256i lanes = GroupMaskAvx2(i, count);
        const __m256i s = LoadGroupAvx2(source + i, lanes, whole);
        // a = Div255(source alpha * modulation alpha)
        __m256i a = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(s, 24), modAlpha),
                                     _mm256_set1_epi32(128));
        a = _mm256_srli_epi32(_mm256_add_epi32(a, _mm256_srli_epi32(a, 8)), 8);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, zero)) == -1) {
            continue;
        }
        const __m256i d = LoadGroupAvx2(dest + i, lanes, whole);
        // Lanes past the end count as opaque.
        const __m256i destOpaque =
            _mm256_or_si256(_mm256_cmpeq_epi32(_mm256_srli_epi32(d, 24), opaque),
                            _mm256_xor_si256(lanes, _mm256_set1_epi32(-1)));
        if (_mm256_movemask_epi8(destOpaque) != -1) {
            BlendRowTintedScalar(dest + i, source + i, std::min(8, count - i), mod);
            continue;
        }
        const __m256i inverse255 = _mm256_mullo_epi32(_mm256_sub_epi32(opaque, a), opaque);
        __m256i packed = _mm256_set1_epi32(static_cast<int>(0xFF000000));
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            const __m256i value = TintChannelAvx2(ChannelAvx2(s, shift), ChannelAvx2(d, shift),
                                                  modChannels[c], a, inverse255);
            packed = _mm256_or_si256(packed, _mm256_sll_epi32(value, _mm_cvtsi32_si128(shift)));
        }
        StoreGroupAvx2(dest + i, lanes, whole, packed);
    }
}

// The amount one channel adds in AdditiveAvx2, as the reference computes it.
__attribute__((target("avx2"))) inline __m256i AdditiveAmountAvx2(__m256i channel, __m256i weight,
                                                                  __m256i modWeight, bool white,
                                                                  bool sourceHasAlpha) {
    if (white) {
        return sourceHasAlpha ? _mm256_srli_epi32(_mm256_mullo_epi32(channel, weight), 8) : channel;
    }
    // channel * weight * modWeight / (256 * 256 * 255) as floor(floor(x / 65536) / 255), with
    // floor(t / 255) = t * 0x8081 >> 23 for t below 65536; the products fit in 32 bits.
    const __m256i product = _mm256_mullo_epi32(_mm256_mullo_epi32(channel, weight), modWeight);
    return _mm256_srli_epi32(
        _mm256_mullo_epi32(_mm256_srli_epi32(product, 16), _mm256_set1_epi32(0x8081)), 23);
}

// Eight-pixel groups of the additive blend, the last group masked.
__attribute__((target("avx2"))) void AdditiveAvx2(uint32_t* dest, const uint32_t* source, int count,
                                                  bool sourceHasAlpha, const Modulation& mod) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i top = _mm256_set1_epi32(255);
    const __m256i modWeights[3] = {_mm256_set1_epi32(static_cast<int>(mod.red * mod.alpha)),
                                   _mm256_set1_epi32(static_cast<int>(mod.green * mod.alpha)),
                                   _mm256_set1_epi32(static_cast<int>(mod.blue * mod.alpha))};
    for (int i = 0; i < count; i += 8) {
        const bool whole = i + 8 <= count;
        const __m256i lanes = GroupMaskAvx2(i, count);
        const __m256i s = LoadGroupAvx2(source + i, lanes, whole);
        const __m256i sourceAlpha = _mm256_srli_epi32(s, 24);
        if (sourceHasAlpha && _mm256_movemask_epi8(_mm256_cmpeq_epi32(sourceAlpha, zero)) == -1) {
            continue;
        }
        // Without an alpha channel the weight is 256, which the shifts turn into a factor of 1.
        const __m256i weight = sourceHasAlpha ? sourceAlpha : _mm256_set1_epi32(256);
        const __m256i d = LoadGroupAvx2(dest + i, lanes, whole);
        __m256i packed = _mm256_and_si256(d, _mm256_set1_epi32(static_cast<int>(0xFF000000)));
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            const __m256i add = AdditiveAmountAvx2(ChannelAvx2(s, shift), weight, modWeights[c],
                                                   mod.isWhite, sourceHasAlpha);
            const __m256i sum = _mm256_min_epu32(_mm256_add_epi32(ChannelAvx2(d, shift), add), top);
            packed = _mm256_or_si256(packed, _mm256_sll_epi32(sum, _mm_cvtsi32_si128(shift)));
        }
        StoreGroupAvx2(dest + i, lanes, whole, packed);
    }
}
#endif

#if QUILLORY_HAVE_AVX2_PATHS
QUILLORY_AVX512 void TintedAvx512(uint32_t* dest, const uint32_t* source, int count,
                                  const Modulation& mod);
#endif

void BlendRowTinted(uint32_t* dest, const uint32_t* source, int count, const Modulation& mod) {
#if QUILLORY_HAVE_AVX2_PATHS
    if (HasAvx512()) {
        TintedAvx512(dest, source, count, mod);
        return;
    }
    if (HasAvx2()) {
        TintedAvx2(dest, source, count, mod);
        return;
    }
#endif
    BlendRowTintedScalar(dest, source, count, mod);
}

void AdditiveRowFast(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                     const Modulation& mod) {
#if QUILLORY_HAVE_AVX2_PATHS
    if (HasAvx512()) {
        AdditiveAvx512(dest, source, count, sourceHasAlpha, mod);
        return;
    }
    if (HasAvx2()) {
        AdditiveAvx2(dest, source, count, sourceHasAlpha, mod);
        return;
    }
#endif
    AdditiveRow(dest, source, count, sourceHasAlpha, mod);
}

#if QUILLORY_HAVE_AVX2_PATHS
__attribute__((target("avx2"))) void GatherGroupsAvx2(uint32_t* out, const uint32_t* in,
                                                      const int* columns, const int* bases,
                                                      const int32_t* offsets, int groups) {
    for (int g = 0; g < groups; ++g) {
        uint32_t* target = out + 8 * g;
        if (bases[g] < 0) {
            for (int k = 0; k < 8; ++k) {
                target[k] = in[columns[8 * g + k]];
            }
            continue;
        }
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + bases[g]));
        const __m256i order = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(offsets + 8 * g));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target),
                            _mm256_permutevar8x32_epi32(pixels, order));
    }
}

// One channel of TintedAvx512, as TintChannelAvx2 computes it.
QUILLORY_AVX512 inline __m512i TintChannelAvx512(__m512i sourceChannel, __m512i destChannel,
                                                 __m512i modChannel, __m512i a,
                                                 __m512i inverse255) {
    const __m512i numerator = _mm512_add_epi32(
        _mm512_add_epi32(_mm512_mullo_epi32(_mm512_mullo_epi32(sourceChannel, modChannel), a),
                         _mm512_mullo_epi32(destChannel, inverse255)),
        _mm512_set1_epi32(32512));
    const __m512i quotient = _mm512_maskz_cvttps_epi32(
        kAllLanes, _mm512_mul_ps(_mm512_maskz_cvtepi32_ps(kAllLanes, numerator),
                                 _mm512_set1_ps(1.0f / 65025.0f)));
    const __m512i remainder =
        _mm512_sub_epi32(numerator, _mm512_mullo_epi32(quotient, _mm512_set1_epi32(65025)));
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i raised = _mm512_mask_add_epi32(
        quotient, _mm512_cmpgt_epi32_mask(remainder, _mm512_set1_epi32(65024)), quotient, one);
    return _mm512_mask_sub_epi32(raised, _mm512_cmplt_epi32_mask(remainder, _mm512_setzero_si512()),
                                 raised, one);
}

// Sixteen-pixel groups of a tinted source-over onto opaque pixels, the last group masked.
QUILLORY_AVX512 void TintedAvx512(uint32_t* dest, const uint32_t* source, int count,
                                  const Modulation& mod) {
    const __m512i opaque = _mm512_set1_epi32(255);
    const __m512i alphaBits = _mm512_set1_epi32(static_cast<int>(0xFF000000));
    const __m512i modAlpha = _mm512_set1_epi32(static_cast<int>(mod.alpha));
    const __m512i modChannels[3] = {_mm512_set1_epi32(static_cast<int>(mod.red)),
                                    _mm512_set1_epi32(static_cast<int>(mod.green)),
                                    _mm512_set1_epi32(static_cast<int>(mod.blue))};
    for (int i = 0; i < count; i += 16) {
        const __mmask16 lanes = GroupLanes(i, count);
        const __m512i s = _mm512_maskz_loadu_epi32(lanes, source + i);
        // a = Div255(source alpha * modulation alpha)
        __m512i a = _mm512_add_epi32(
            _mm512_mullo_epi32(_mm512_maskz_srli_epi32(kAllLanes, s, 24), modAlpha),
            _mm512_set1_epi32(128));
        a = _mm512_maskz_srli_epi32(
            kAllLanes, _mm512_add_epi32(a, _mm512_maskz_srli_epi32(kAllLanes, a, 8)), 8);
        if (_mm512_mask_test_epi32_mask(lanes, a, a) == 0) {
            continue;
        }
        const __m512i d = _mm512_maskz_loadu_epi32(lanes, dest + i);
        if (_mm512_mask_cmpge_epu32_mask(lanes, d, alphaBits) != lanes) {
            BlendRowTintedScalar(dest + i, source + i, std::min(16, count - i), mod);
            continue;
        }
        const __m512i inverse255 = _mm512_mullo_epi32(_mm512_sub_epi32(opaque, a), opaque);
        __m512i packed = alphaBits;
        for (int c = 0; c < 3; ++c) {
            const unsigned shift = static_cast<unsigned>(16 - 8 * c);
            const __m512i value = TintChannelAvx512(
                _mm512_and_si512(_mm512_maskz_srli_epi32(kAllLanes, s, shift), opaque),
                _mm512_and_si512(_mm512_maskz_srli_epi32(kAllLanes, d, shift), opaque),
                modChannels[c], a, inverse255);
            packed = _mm512_or_si512(packed, _mm512_maskz_slli_epi32(kAllLanes, value, shift));
        }
        _mm512_mask_storeu_epi32(dest + i, lanes, packed);
    }
}

QUILLORY_AVX512 void GatherGroupsAvx512(uint32_t* out, const uint32_t* in, const int* columns,
                                        const int* bases, const int32_t* offsets, int groups) {
    for (int g = 0; g < groups; ++g) {
        uint32_t* target = out + 16 * g;
        if (bases[g] < 0) {
            for (int k = 0; k < 16; ++k) {
                target[k] = in[columns[16 * g + k]];
            }
            continue;
        }
        const __m512i pixels = _mm512_loadu_si512(in + bases[g]);
        const __m512i order = _mm512_loadu_si512(offsets + 16 * g);
        _mm512_storeu_si512(target, _mm512_maskz_permutexvar_epi32(kAllLanes, order, pixels));
    }
}
#endif

}  // namespace

int SampleBilinearRowFast(uint32_t* out, const uint32_t* top, const uint32_t* bottom,
                          const int32_t* first, const int32_t* second, const int32_t* columnWeight,
                          int count, uint32_t rowWeight) {
#if QUILLORY_HAVE_AVX2_PATHS
    if (HasAvx512()) {
        return SampleBilinearAvx512(out, top, bottom, first, second, columnWeight, count,
                                    rowWeight);
    }
#else
    (void)out, (void)top, (void)bottom, (void)first, (void)second, (void)columnWeight, (void)count,
        (void)rowWeight;
#endif
    return 0;
}

void LimitVectorWidth(int bits) {
#if QUILLORY_HAVE_AVX2_PATHS
    gVectorLimit.store(bits);
#else
    (void)bits;
#endif
}

RowGather::RowGather(std::vector<int> columns, int rowWidth) : columns_(std::move(columns)) {
    eights_ = Plan(8, rowWidth);
    sixteens_ = Plan(16, rowWidth);
}

RowGather::GroupPlan RowGather::Plan(int groupSize, int rowWidth) const {
    GroupPlan plan;
    // A reduction spreads the columns of a group over more pixels than it has: nothing to plan.
    const size_t count = columns_.size();
    if (count < static_cast<size_t>(groupSize) ||
        std::abs(columns_.back() - columns_.front()) >= static_cast<int>(count)) {
        return plan;
    }
    const size_t groups = count / groupSize;
    plan.base.assign(groups, -1);
    plan.offsets.assign(groups * groupSize, 0);
    for (size_t g = 0; g < groups; ++g) {
        const int* group = columns_.data() + groupSize * g;
        const int low = *std::min_element(group, group + groupSize);
        const int high = *std::max_element(group, group + groupSize);
        // The loaded pixels must all lie inside the row.
        if (high - low >= groupSize || low < 0 || low + groupSize > rowWidth) {
            continue;
        }
        plan.base[g] = low;
        for (int k = 0; k < groupSize; ++k) {
            plan.offsets[groupSize * g + k] = group[k] - low;
        }
    }
    return plan;
}

void RowGather::Gather(uint32_t* out, const uint32_t* in) const {
    size_t i = 0;
#if QUILLORY_HAVE_AVX2_PATHS
    if (HasAvx512() && !sixteens_.base.empty()) {
        GatherGroupsAvx512(out, in, columns_.data(), sixteens_.base.data(),
                           sixteens_.offsets.data(), static_cast<int>(sixteens_.base.size()));
        i = sixteens_.base.size() * 16;
    } else if (HasAvx2() && !eights_.base.empty()) {
        GatherGroupsAvx2(out, in, columns_.data(), eights_.base.data(), eights_.offsets.data(),
                         static_cast<int>(eights_.base.size()));
        i = eights_.base.size() * 8;
    }
#endif
    for (; i < columns_.size(); ++i) {
        out[i] = in[columns_[i]];
    }
}

void BlendRowFast(uint32_t* dest, const uint32_t* source, int count, bool sourceHasAlpha,
                  const Modulation& mod, DrawMode mode) {
    if (count <= 0) {
        return;
    }
    if (mode == kDrawModeAdditive) {
        AdditiveRowFast(dest, source, count, sourceHasAlpha, mod);
    } else if (!mod.isWhite) {
        BlendRowTinted(dest, source, count, mod);
    } else if (!sourceHasAlpha) {
        std::memcpy(dest, source, static_cast<size_t>(count) * sizeof(uint32_t));
    } else {
        BlendRowUntinted(dest, source, count);
    }
}

void BlendSegmentsFast(const RowSegment* segments, size_t count, bool sourceHasAlpha,
                       const Modulation& mod, DrawMode mode) {
    const bool plain = mode == kDrawModeNormal && mod.isWhite;
#if QUILLORY_HAVE_AVX2_PATHS
    if (plain && sourceHasAlpha && HasAvx512()) {
        BlendSegmentsUntintedAvx512(segments, count);
        return;
    }
#endif
    for (size_t k = 0; k < count; ++k) {
        const RowSegment& segment = segments[k];
        if (plain && segment.opaque) {
            std::memcpy(segment.dest, segment.source,
                        static_cast<size_t>(segment.count) * sizeof(uint32_t));
        } else {
            BlendRowFast(segment.dest, segment.source, segment.count, sourceHasAlpha, mod, mode);
        }
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
#if QUILLORY_HAVE_AVX2_PATHS
    if (HasAvx512()) {
        FillBlendAvx512(dest, count, color, mode);
        return;
    }
    if (HasAvx2()) {
        i = FillBlendAvx2(dest, count, color, mode);
    }
#endif
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
