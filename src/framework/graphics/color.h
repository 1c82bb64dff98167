// Colour value of the drawing interface: four 0..255 channels, built from and packed to
// 0xAARRGGBB. A packed alpha byte of 0 reads as opaque, so 0x00RRGGBB means an opaque colour.
#pragma once

#include <cstdint>

namespace Tuvo {

struct Color {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    int32_t alpha = 255;

    constexpr Color() = default;
    constexpr Color(int32_t r, int32_t g, int32_t b) : red(r), green(g), blue(b), alpha(255) {}
    constexpr Color(int32_t r, int32_t g, int32_t b, int32_t a)
        : red(r), green(g), blue(b), alpha(a) {}
    // From 0xAARRGGBB; an alpha byte of 0 is taken as 255.
    constexpr explicit Color(uint32_t packed)
        : red(static_cast<int32_t>((packed >> 16) & 0xFF)),
          green(static_cast<int32_t>((packed >> 8) & 0xFF)),
          blue(static_cast<int32_t>(packed & 0xFF)),
          alpha((packed >> 24) == 0 ? 255 : static_cast<int32_t>(packed >> 24)) {}

    // (alpha << 24) | (red << 16) | (green << 8) | blue.
    constexpr uint32_t ToInt() const {
        return (static_cast<uint32_t>(alpha) << 24) | (static_cast<uint32_t>(red) << 16) |
               (static_cast<uint32_t>(green) << 8) | static_cast<uint32_t>(blue);
    }

    constexpr bool operator==(const Color& other) const = default;
};

// Opaque white: the modulation colour of an image drawn without tint.
inline constexpr Color kColorWhite{255, 255, 255, 255};
inline constexpr Color kColorBlack{0, 0, 0, 255};

}  // namespace Tuvo
