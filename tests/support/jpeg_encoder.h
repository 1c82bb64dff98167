// A JPEG writer for tests, on libjpeg: pixels in, file bytes out.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

// Compresses width x height samples (3 bytes a pixel, R G B, or 1 for grey) at quality 90,
// baseline or progressive.
std::vector<uint8_t> EncodeJpeg(int width, int height, int components,
                                const std::vector<uint8_t>& samples, bool progressive = false);

}  // namespace TestSupport
