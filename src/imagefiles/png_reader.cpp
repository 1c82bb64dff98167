// PNG reader on libpng: transforms turn every colour type and bit depth into 8-bit B, G, R, A
// (0xAARRGGBB words), with a filler alpha of 255 where the file has none. No gamma correction.
#include <bit>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

#include "imagefiles/file_bytes.h"
#include "imagefiles/readers.h"

namespace ImageLib {

namespace {

// Deflate packs at most about 1032 bytes into one, so a file much smaller than its raw pixel
// rows over that ratio cannot hold them. The decoded 32-bit pixels can be 32 times the raw rows
// (1 bit a pixel), so they are held to the same ratio: a tiny 1-bit file must not unpack to
// a huge picture.
constexpr uint64_t kMaxDeflateRatio = 1100;

struct PngDecode {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<Image> image;
    std::vector<png_bytep> rows;
};

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    auto* decode = static_cast<PngDecode*>(png_get_io_ptr(png));
    if (decode->size - decode->position < count) {
        png_error(png, "unexpected end of data");
    }
    std::memcpy(out, decode->data + decode->position, count);
    decode->position += count;
}

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

bool RunDecode(PngDecode& decode) {
    if (setjmp(png_jmpbuf(decode.png)) != 0) {
        return false;
    }
    png_set_read_fn(decode.png, &decode, ReadBytes);
    png_set_user_limits(decode.png, kMaxImageSide, kMaxImageSide);
    png_read_info(decode.png, decode.info);

    const png_uint_32 width = png_get_image_width(decode.png, decode.info);
    const png_uint_32 height = png_get_image_height(decode.png, decode.info);
    const uint64_t rawBytes = (uint64_t{png_get_rowbytes(decode.png, decode.info)} + 1) * height;
    if (!SizeAllowed(width, height) || rawBytes > uint64_t{decode.size} * kMaxDeflateRatio ||
        !DecodedSizePlausible(decode.size, uint64_t{width} * height, kMaxDeflateRatio)) {
        return false;
    }
    png_set_expand(decode.png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_strip_16(decode.png);
    png_set_gray_to_rgb(decode.png);
    png_set_bgr(decode.png);
    png_set_filler(decode.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(decode.png);
    png_read_update_info(decode.png, decode.info);
    if (png_get_rowbytes(decode.png, decode.info) != size_t{width} * 4) {
        return false;
    }
    decode.image = MakeImage(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (decode.image == nullptr) {
        return false;
    }
    decode.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        decode.rows[y] = reinterpret_cast<png_bytep>(&decode.image->bits[size_t{y} * width]);
    }
    png_read_image(decode.png, decode.rows.data());
    png_read_end(decode.png, nullptr);
    return true;
}

}  // namespace

std::unique_ptr<Image> DecodePng(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        return nullptr;
    }
    auto decode = std::make_unique<PngDecode>();
    decode->data = data;
    decode->size = size;
    decode->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (decode->png == nullptr) {
        return nullptr;
    }
    decode->info = png_create_info_struct(decode->png);
    const bool decoded = decode->info != nullptr && RunDecode(*decode);
    png_destroy_read_struct(&decode->png, &decode->info, nullptr);
    if (!decoded) {
        return nullptr;
    }
    if constexpr (std::endian::native == std::endian::big) {
        for (uint32_t& pixel : decode->image->bits) {
            pixel = __builtin_bswap32(pixel);
        }
    }
    return std::move(decode->image);
}

std::unique_ptr<Image> LoadPngImage(const std::string& fileName) {
    std::vector<uint8_t> contents;
    if (!ReadFileBytes(fileName, contents)) {
        return nullptr;
    }
    return DecodePng(contents.data(), contents.size());
}

}  // namespace ImageLib
