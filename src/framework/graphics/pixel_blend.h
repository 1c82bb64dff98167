// The integer pixel formulas of the software back end, shared by the plain reference path and
// the fast row loops (which must give identical pixels). Pixels are 0xAARRGGBB and not
// premultiplied. Every formula stays within 1 of the real-valued result per channel on an
// opaque destination.
//
// Div255(x) = round(x / 255) for 0 <= x <= 65535, computed as t = x + 128; (t + (t >> 8)) >> 8.
//
// Normal (source-over) of source S with modulation M over destination D:
//   a    = Div255(S.a * M.a)                       combined alpha; a == 0 leaves D as it is
//   outA = a + Div255(D.a * (255 - a))
//   outC = min(255, (S.c * M.c * a + D.c * D.a * (255 - a) + 255 * outA / 2) / (255 * outA))
//   (outA is rounded, so over a nearly transparent source it can fall just short of the colour
//   weights above it; unclamped, a channel would reach 256 and carry into the next one)
// On an opaque destination this is outA = 255 and, without modulation,
// outC = Div255(S.c * a + D.c * (255 - a)); with a == 255 it is a plain copy.
//
// Additive of source S with modulation M onto D (destination alpha kept):
//   add = S.c                                      source without alpha channel, no modulation
//   add = S.c * S.a / 256                          source with alpha channel
//   and with a modulation other than opaque white, add is further multiplied by
//   (M.c * M.a / 255) / 256, all in one product and one truncation:
//   add = S.c * [S.a] * M.c * M.a / (255 * 256 * [256])
//   outC = min(255, D.c + add), outA = D.a
//
// Fills use the fill colour as an opaque-modulated source: Normal as above with S = colour and
// M = white; Additive adds Div255(colour.c * colour.a) to each channel.
#pragma once

#include <cstdint>

#include "framework/graphics/color.h"
#include "framework/graphics/draw_mode.h"

namespace Tuvo::PixelBlend {

inline uint32_t Div255(uint32_t x) {
    const uint32_t t = x + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t Alpha(uint32_t pixel) {
    return pixel >> 24;
}
inline uint32_t Red(uint32_t pixel) {
    return (pixel >> 16) & 0xFF;
}
inline uint32_t Green(uint32_t pixel) {
    return (pixel >> 8) & 0xFF;
}
inline uint32_t Blue(uint32_t pixel) {
    return pixel & 0xFF;
}
inline uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Colour components outside 0..255 are clamped.
inline uint32_t Clamp255(int32_t value) {
    return value < 0 ? 0u : (value > 255 ? 255u : static_cast<uint32_t>(value));
}

// A modulation colour in the form the formulas use.
struct Modulation {
    uint32_t red = 255;
    uint32_t green = 255;
    uint32_t blue = 255;
    uint32_t alpha = 255;
    bool isWhite = true;

    Modulation() = default;
    explicit Modulation(const Color& color);
};

inline Modulation::Modulation(const Color& color)
    : red(Clamp255(color.red)),
      green(Clamp255(color.green)),
      blue(Clamp255(color.blue)),
      alpha(Clamp255(color.alpha)),
      isWhite(red == 255 && green == 255 && blue == 255 && alpha == 255) {}

// Normal blend of one channel with everything precomputed: sourceTimesMod = S.c * M.c.
inline uint32_t NormalChannel(uint32_t sourceTimesMod, uint32_t a, uint32_t dest, uint32_t destA,
                              uint32_t outA) {
    const uint32_t denominator = 255 * outA;
    const uint32_t channel =
        (sourceTimesMod * a + dest * destA * (255 - a) + denominator / 2) / denominator;
    return channel > 255 ? 255 : channel;
}

// Source-over of one pixel (the reference formula).
inline uint32_t BlendNormal(uint32_t dest, uint32_t source, const Modulation& mod) {
    const uint32_t a = Div255(Alpha(source) * mod.alpha);
    if (a == 0) {
        return dest;
    }
    const uint32_t destA = Alpha(dest);
    const uint32_t outA = a + Div255(destA * (255 - a));
    return Pack(outA, NormalChannel(Red(source) * mod.red, a, Red(dest), destA, outA),
                NormalChannel(Green(source) * mod.green, a, Green(dest), destA, outA),
                NormalChannel(Blue(source) * mod.blue, a, Blue(dest), destA, outA));
}

inline uint32_t AddClamped(uint32_t dest, uint32_t add) {
    const uint32_t sum = dest + add;
    return sum > 255 ? 255 : sum;
}

// The amount one source channel adds in Additive mode.
inline uint32_t AdditiveAmount(uint32_t channel, uint32_t sourceA, bool sourceHasAlpha,
                               uint32_t modChannel, const Modulation& mod) {
    if (mod.isWhite) {
        return sourceHasAlpha ? (channel * sourceA) >> 8 : channel;
    }
    const uint32_t weight = modChannel * mod.alpha;
    if (sourceHasAlpha) {
        return static_cast<uint32_t>(uint64_t{channel} * sourceA * weight / (255u * 256u * 256u));
    }
    return channel * weight / (255u * 256u);
}

inline uint32_t BlendAdditive(uint32_t dest, uint32_t source, bool sourceHasAlpha,
                              const Modulation& mod) {
    const uint32_t sourceA = Alpha(source);
    return Pack(
        Alpha(dest),
        AddClamped(Red(dest), AdditiveAmount(Red(source), sourceA, sourceHasAlpha, mod.red, mod)),
        AddClamped(Green(dest),
                   AdditiveAmount(Green(source), sourceA, sourceHasAlpha, mod.green, mod)),
        AddClamped(Blue(dest),
                   AdditiveAmount(Blue(source), sourceA, sourceHasAlpha, mod.blue, mod)));
}

inline uint32_t BlendPixel(uint32_t dest, uint32_t source, bool sourceHasAlpha,
                           const Modulation& mod, DrawMode mode) {
    if (mode == kDrawModeAdditive) {
        return BlendAdditive(dest, source, sourceHasAlpha, mod);
    }
    return BlendNormal(dest, source, mod);
}

// One pixel of a fill with the colour given as 0xAARRGGBB (alpha as given, 0 allowed).
inline uint32_t FillPixel(uint32_t dest, uint32_t color, DrawMode mode) {
    if (mode == kDrawModeAdditive) {
        const uint32_t a = Alpha(color);
        return Pack(Alpha(dest), AddClamped(Red(dest), Div255(Red(color) * a)),
                    AddClamped(Green(dest), Div255(Green(color) * a)),
                    AddClamped(Blue(dest), Div255(Blue(color) * a)));
    }
    return BlendNormal(dest, color, Modulation());
}

// The packed fill colour of a Color, keeping an alpha of 0 as 0.
inline uint32_t PackColor(const Color& color) {
    return Pack(Clamp255(color.alpha), Clamp255(color.red), Clamp255(color.green),
                Clamp255(color.blue));
}

}  // namespace Tuvo::PixelBlend
