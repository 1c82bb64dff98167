// A decoded picture: width x height pixels of 0xAARRGGBB, rows top to bottom, the form every
// reader produces and the drawing side takes without conversion. Also the size limits every
// reader enforces before it allocates anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ImageLib {

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> bits;

    uint32_t& At(int x, int y) { return bits[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x]; }
};

// Largest width or height any reader accepts.
constexpr int32_t kMaxImageSide = 16384;

// Largest number of pixels a reader allocates. Defaults to kMaxImageSide squared; the fuzz
// targets lower it so that they spend their time on parsing rather than on huge blank images.
void SetPixelLimit(uint64_t pixels);
uint64_t PixelLimit();

// Whether a width and height from a file are acceptable (positive, within both limits).
bool SizeAllowed(int64_t width, int64_t height);

// An image of the given size, pixels 0; null when the size is not allowed.
std::unique_ptr<Image> MakeImage(int32_t width, int32_t height);

}  // namespace ImageLib
