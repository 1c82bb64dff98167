// The per-format readers. Each takes a file name (read through the archive layer, so it may
// come from "main.pak" or the disk) or bytes in memory, and returns the picture or null for a
// missing file, a wrong signature or data it cannot decode. None of them ever reads past its
// input or allocates more than the size limits of image.h allow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "imagefiles/image.h"

namespace ImageLib {

// TGA: only uncompressed 32-bit images with 8 alpha bits and a top-left origin (descriptor
// 0x28); the pixels are taken as stored (B, G, R, A).
std::unique_ptr<Image> DecodeTga(const uint8_t* data, size_t size);
std::unique_ptr<Image> LoadTgaImage(const std::string& fileName);

// JPEG (libjpeg-turbo): grey becomes 0xFFgggggg, colour 0xFFRRGGBB; progressive too.
std::unique_ptr<Image> DecodeJpeg(const uint8_t* data, size_t size);
std::unique_ptr<Image> LoadJpegImage(const std::string& fileName);

// PNG (libpng): every colour type and bit depth, with tRNS and interlacing; 16-bit channels
// keep their high byte; no gamma correction.
std::unique_ptr<Image> DecodePng(const uint8_t* data, size_t size);
std::unique_ptr<Image> LoadPngImage(const std::string& fileName);

// GIF 87a/89a: the first image, placed on the logical screen (pixels it does not cover are
// transparent black); the transparent colour index becomes 0.
std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size);
std::unique_ptr<Image> LoadGifImage(const std::string& fileName);

// JPEG 2000 (".j2k", ".jp2"): no decoder on this platform; always null.
std::unique_ptr<Image> LoadJpeg2000Image(const std::string& fileName);

}  // namespace ImageLib
