// Size limits shared by the readers.
#include "imagefiles/image.h"

#include <atomic>

namespace ImageLib {

namespace {
std::atomic<uint64_t> gPixelLimit{uint64_t{kMaxImageSide} * kMaxImageSide};
}

void SetPixelLimit(uint64_t pixels) {
    gPixelLimit.store(pixels);
}

uint64_t PixelLimit() {
    return gPixelLimit.load();
}

bool SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= PixelLimit();
}

std::unique_ptr<Image> MakeImage(int32_t width, int32_t height) {
    if (!SizeAllowed(width, height)) {
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    image->width = width;
    image->height = height;
    image->bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return image;
}

}  // namespace ImageLib
