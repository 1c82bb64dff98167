// libpng itself, for the PNG tests: files of any PNG layout written from raw rows, and the
// library's own decode of a file, as 0xAARRGGBB pixels, to compare with ours.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace PngReference {

// Writes a PNG from raw rows in the file's own layout.
inline std::vector<uint8_t> WritePng(int width, int height, int bitDepth, int colorType,
                                     const std::vector<std::vector<uint8_t>>& rows,
                                     const std::vector<png_color>& palette = {}) {
    std::vector<uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write the test file";
        return {};
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, size_t count) {
            auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + count);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows) {
        pointers.push_back(const_cast<png_bytep>(row.data()));
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bits;
};

// libpng's high-level read with its own transforms; false when libpng refuses the file.
inline bool Decode(const std::vector<uint8_t>& bytes, Decoded& out) {
    struct Source {
        const std::vector<uint8_t>* bytes;
        size_t position;
    } source{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &source, [](png_structp p, png_bytep data, size_t count) {
        auto* in = static_cast<Source*>(png_get_io_ptr(p));
        if (in->bytes->size() - in->position < count) {
            png_error(p, "short");
        }
        std::memcpy(data, in->bytes->data() + in->position, count);
        in->position += count;
    });
    png_read_png(png, info,
                 PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_GRAY_TO_RGB,
                 nullptr);
    out.width = static_cast<int>(png_get_image_width(png, info));
    out.height = static_cast<int>(png_get_image_height(png, info));
    const int channels = png_get_channels(png, info);
    png_bytepp rows = png_get_rows(png, info);
    out.bits.clear();
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const png_bytep p = rows[y] + x * channels;
            const uint32_t alpha = channels == 4 ? p[3] : 0xFF;
            out.bits.push_back((alpha << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) |
                               p[2]);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace PngReference
