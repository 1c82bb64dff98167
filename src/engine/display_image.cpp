// Image files into drawable software images.
#include "engine/display_image.h"

#include "imagefiles/image_loader.h"
#include "platform/clock.h"

namespace Quillory {

std::unique_ptr<Tuvo::MemoryImage> LoadDisplayImage(const char* fileName, bool commitBits) {
    if (fileName == nullptr || fileName[0] == '\0') {
        return nullptr;
    }
    std::unique_ptr<ImageLib::Image> pixels = ImageLib::LoadImageFile(fileName, true);
    if (pixels == nullptr) {
        return nullptr;
    }
    auto image = std::make_unique<Tuvo::MemoryImage>();
    if (!image->SetBits(pixels->bits.data(), pixels->width, pixels->height, commitBits)) {
        return nullptr;
    }
    image->SetFilePath(fileName);
    return image;
}

std::unique_ptr<Tuvo::Image> DisplaySpriteHost::LoadDisplayImage(const char* fileName,
                                                                 bool commitBits) {
    return Quillory::LoadDisplayImage(fileName, commitBits);
}

uint32_t DisplaySpriteHost::Milliseconds() const {
    return Platform::SystemClock().Milliseconds();
}

}  // namespace Quillory
