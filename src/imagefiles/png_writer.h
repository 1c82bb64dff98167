// PNG writer for screenshots and test output: 0xAARRGGBB pixels as an 8-bit RGBA PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ImageLib {

// Encodes width x height pixels (rows top to bottom); false for a bad size or null pixels.
bool EncodePng(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out);

// Writes the PNG to a disk file (not through the archive layer); false when it cannot.
bool WritePngFile(const std::string& path, const uint32_t* pixels, int width, int height);

}  // namespace ImageLib
