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

// The game shows an 800 x 600 screen. No picture it draws needs more than 16 screens of pixels
// (a long strip of animation frames, a font sheet), so by default no reader decodes more: a
// damaged or hostile file costs at most about 31 MB instead of the gigabyte the side limit
// alone would allow.
constexpr uint64_t kScreenPixels = 800 * 600;
constexpr uint64_t kDefaultPixelLimit = 16 * kScreenPixels;

// Largest number of pixels a reader allocates (kDefaultPixelLimit unless changed).
void SetPixelLimit(uint64_t pixels);
uint64_t PixelLimit();

// Whether a width and height from a file are acceptable (positive, within both limits). A
// refusal is reported on the framework's diagnostic output.
bool SizeAllowed(int64_t width, int64_t height);

// Whether a file of fileBytes can hold a picture of that many pixels when one byte of it
// unpacks to at most maxRatio bytes of decoded 32-bit pixels. Pictures up to one screen are
// always plausible, so small, very regular pictures stay readable.
bool DecodedSizePlausible(uint64_t fileBytes, uint64_t pixels, uint64_t maxRatio);

// An image of the given size, pixels 0; null when the size is not allowed.
std::unique_ptr<Image> MakeImage(int32_t width, int32_t height);

}  // namespace ImageLib
