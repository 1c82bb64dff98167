// PNG writer on libpng, to memory; the file form writes the bytes out in one go.
#include "imagefiles/png_writer.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <png.h>

#include "imagefiles/image.h"

namespace ImageLib {

namespace {

struct PngEncode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t>* out = nullptr;
    std::vector<uint8_t> row;
};

void WriteBytes(png_structp png, png_bytep data, size_t count) {
    auto* encode = static_cast<PngEncode*>(png_get_io_ptr(png));
    encode->out->insert(encode->out->end(), data, data + count);
}

void FlushNothing(png_structp) {}

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

bool RunEncode(PngEncode& encode, const uint32_t* pixels, int width, int height) {
    if (setjmp(png_jmpbuf(encode.png)) != 0) {
        return false;
    }
    png_set_write_fn(encode.png, &encode, WriteBytes, FlushNothing);
    png_set_IHDR(encode.png, encode.info, static_cast<png_uint_32>(width),
                 static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(encode.png, encode.info);
    encode.row.resize(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = in[x];
            encode.row[x * 4 + 0] = static_cast<uint8_t>(pixel >> 16);
            encode.row[x * 4 + 1] = static_cast<uint8_t>(pixel >> 8);
            encode.row[x * 4 + 2] = static_cast<uint8_t>(pixel);
            encode.row[x * 4 + 3] = static_cast<uint8_t>(pixel >> 24);
        }
        png_write_row(encode.png, encode.row.data());
    }
    png_write_end(encode.png, nullptr);
    return true;
}

}  // namespace

bool EncodePng(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out) {
    out.clear();
    if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxImageSide ||
        height > kMaxImageSide) {
        return false;
    }
    auto encode = std::make_unique<PngEncode>();
    encode->out = &out;
    encode->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (encode->png == nullptr) {
        return false;
    }
    encode->info = png_create_info_struct(encode->png);
    const bool encoded = encode->info != nullptr && RunEncode(*encode, pixels, width, height);
    png_destroy_write_struct(&encode->png, &encode->info);
    if (!encoded) {
        out.clear();
    }
    return encoded;
}

bool WritePngFile(const std::string& path, const uint32_t* pixels, int width, int height) {
    std::vector<uint8_t> bytes;
    if (!EncodePng(pixels, width, height, bytes)) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace ImageLib
