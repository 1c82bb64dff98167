// Size limits shared by the readers.
#include "imagefiles/image.h"

#include <atomic>
#include <cinttypes>

#include "platform/debug_output.h"

namespace ImageLib {

namespace {
std::atomic<uint64_t> gPixelLimit{kDefaultPixelLimit};
}

void SetPixelLimit(uint64_t pixels) {
    gPixelLimit.store(pixels);
}

uint64_t PixelLimit() {
    return gPixelLimit.load();
}

bool SizeAllowed(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    if (width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > PixelLimit()) {
        Platform::DebugOutput("Image refused: %" PRId64 " x %" PRId64
                              " is over the limit of %d a side or %" PRIu64 " pixels\n",
                              width, height, kMaxImageSide, PixelLimit());
        return false;
    }
    return true;
}

bool DecodedSizePlausible(uint64_t fileBytes, uint64_t pixels, uint64_t maxRatio) {
    if (pixels <= kScreenPixels || pixels * 4 / maxRatio <= fileBytes) {
        return true;
    }
    Platform::DebugOutput("Image refused: %" PRIu64 " bytes cannot hold %" PRIu64 " pixels\n",
                          fileBytes, pixels);
    return false;
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
