// Fuzzes one image reader (chosen at build time): any bytes either decode to a picture whose
// pixel count matches its size or give null, without reading outside the input. It runs with
// the game's own size limits; ./dev fuzz caps memory, so a reader that allocates more than its
// input can fill shows up as a failure.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagefiles/readers.h"

#if defined(FUZZ_READER_PNG)
#include <zlib.h>
#endif

namespace {

#if defined(FUZZ_READER_PNG)
// libpng refuses a chunk whose CRC is wrong, so nearly every mutation would stop at the first
// chunk; the checksums are written anew so the mutations reach the decoder behind them.
std::vector<uint8_t> WithChunkChecksums(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    size_t at = 8;  // after the signature
    while (at + 12 <= bytes.size()) {
        const uint32_t length = (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
                                (uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
        if (length > bytes.size() - at - 12) {
            break;
        }
        const size_t crcAt = at + 8 + length;
        const uLong crc = crc32(0L, bytes.data() + at + 4, static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i) {
            bytes[crcAt + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        at = crcAt + 4;
    }
    return bytes;
}
#endif

std::unique_ptr<ImageLib::Image> Decode(const uint8_t* data, size_t size) {
#if defined(FUZZ_READER_TGA)
    return ImageLib::DecodeTga(data, size);
#elif defined(FUZZ_READER_JPEG)
    return ImageLib::DecodeJpeg(data, size);
#elif defined(FUZZ_READER_PNG)
    const std::vector<uint8_t> bytes = WithChunkChecksums(data, size);
    return ImageLib::DecodePng(bytes.data(), bytes.size());
#else
    return ImageLib::DecodeGif(data, size);
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto image = Decode(data, size);
    if (image != nullptr &&
        (image->width <= 0 || image->height <= 0 ||
         image->bits.size() != static_cast<size_t>(image->width) * image->height)) {
        __builtin_trap();
    }
    return 0;
}
