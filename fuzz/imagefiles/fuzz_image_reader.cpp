// Fuzzes one image reader (chosen at build time): any bytes either decode to a picture whose
// pixel count matches its size or give null, without reading outside the input. It runs with
// the game's own size limits; ./dev fuzz caps memory, so a reader that allocates more than its
// input can fill shows up as a failure.
#include <cstddef>
#include <cstdint>

#include "imagefiles/readers.h"

namespace {

std::unique_ptr<ImageLib::Image> Decode(const uint8_t* data, size_t size) {
#if defined(FUZZ_READER_TGA)
    return ImageLib::DecodeTga(data, size);
#elif defined(FUZZ_READER_JPEG)
    return ImageLib::DecodeJpeg(data, size);
#elif defined(FUZZ_READER_PNG)
    return ImageLib::DecodePng(data, size);
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
