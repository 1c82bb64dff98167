// The road from an image file to something the drawing interface can draw: the image readers'
// pixels handed to a software image. Also the sprite host that uses it, for programs that run
// the engine's drawing without the application (the menu renderer, tools).
#pragma once

#include <cstdint>
#include <memory>

#include "engine/sprite_manager.h"
#include "framework/graphics/memory_image.h"

namespace Quillory {

// Loads fileName (with its alpha file, if any) through the archive layer into a MemoryImage
// whose file path is the name; null when no reader could load it. commitBits is kept for
// accelerated back ends.
std::unique_ptr<Tuvo::MemoryImage> LoadDisplayImage(const char* fileName, bool commitBits);

// A sprite host with a fixed logical screen, the software renderer and the system clock.
class DisplaySpriteHost : public SpriteHost {
public:
    DisplaySpriteHost(int screenWidth = 800, int screenHeight = 600)
        : screenWidth_(screenWidth), screenHeight_(screenHeight) {}

    std::unique_ptr<Tuvo::Image> LoadDisplayImage(const char* fileName, bool commitBits) override;
    int ScreenWidth() const override { return screenWidth_; }
    int ScreenHeight() const override { return screenHeight_; }
    int ClientWidth() const override { return screenWidth_; }
    int ClientHeight() const override { return screenHeight_; }
    bool Is3D() const override { return false; }
    uint32_t Milliseconds() const override;

private:
    int screenWidth_;
    int screenHeight_;
};

}  // namespace Quillory
