// A sprite host for tests: images come from a table of generated pictures, the screen size, the
// 3-D flag and the timer are set by the test, and every load is counted.
#pragma once

#include <algorithm>
#include <barrier>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "engine/sprite_manager.h"
#include "framework/graphics/memory_image.h"

namespace TestSupport {

// A width x height image of one colour.
inline std::unique_ptr<Tuvo::MemoryImage> SolidImage(int width, int height, uint32_t colour) {
    auto image = std::make_unique<Tuvo::MemoryImage>(width, height);
    std::fill_n(image->GetBits(), width * height, colour);
    image->BitsChanged();
    return image;
}

// A sheet of columns x rows cells of cellWidth x cellHeight pixels; cell i (row by row) is filled
// with the opaque colour 0xFF000000 + i + 1.
inline std::unique_ptr<Tuvo::MemoryImage> CellSheet(int columns, int rows, int cellWidth,
                                                    int cellHeight) {
    auto image = std::make_unique<Tuvo::MemoryImage>(columns * cellWidth, rows * cellHeight);
    for (int y = 0; y < rows * cellHeight; ++y) {
        for (int x = 0; x < columns * cellWidth; ++x) {
            const int cell = (y / cellHeight) * columns + x / cellWidth;
            image->GetBits()[y * columns * cellWidth + x] = 0xFF000000u + cell + 1;
        }
    }
    image->BitsChanged();
    return image;
}

// The bounding box of the pixels that are not transparent black; empty when there are none.
inline Tuvo::Rect DrawnBox(const Tuvo::MemoryImage& image) {
    int left = image.GetWidth(), top = image.GetHeight(), right = -1, bottom = -1;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetPixel(x, y) != 0) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = y;
            }
        }
    }
    return right < 0 ? Tuvo::Rect() : Tuvo::Rect(left, top, right - left + 1, bottom - top + 1);
}

class FakeSpriteHost : public Quillory::SpriteHost {
public:
    // Every load of `name` gets a copy of `image`.
    void Provide(const std::string& name, std::unique_ptr<Tuvo::MemoryImage> image) {
        images_[name] = std::move(image);
    }
    // Names without a picture of their own load as a 4x4 white image when this is on.
    void ProvideAnyName(bool any) { anyName_ = any; }

    std::unique_ptr<Tuvo::Image> LoadDisplayImage(const char* fileName, bool) override {
        if (meeting != nullptr) {
            meeting->arrive_and_wait();
        }
        std::lock_guard<std::mutex> lock(mutex_);  // the loading thread loads too
        ++loads[fileName];
        ++totalLoads;
        auto found = images_.find(fileName);
        if (found != images_.end()) {
            auto copy = std::make_unique<Tuvo::MemoryImage>(*found->second);
            copy->SetFilePath(fileName);
            return copy;
        }
        if (anyName_) {
            return SolidImage(4, 4, 0xFFFFFFFF);
        }
        return nullptr;
    }
    int ScreenWidth() const override { return screenWidth; }
    int ScreenHeight() const override { return screenHeight; }
    int ClientWidth() const override { return screenWidth; }
    int ClientHeight() const override { return screenHeight; }
    bool Is3D() const override { return is3D; }
    uint32_t Milliseconds() const override { return milliseconds; }

    int screenWidth = 800;
    int screenHeight = 600;
    bool is3D = false;
    uint32_t milliseconds = 0;
    std::map<std::string, int> loads;
    int totalLoads = 0;
    // When set, every load waits there for another thread's load, so two threads loading the
    // same names always decode each name at the same time.
    std::barrier<>* meeting = nullptr;

private:
    std::map<std::string, std::unique_ptr<Tuvo::MemoryImage>> images_;
    bool anyName_ = false;
    std::mutex mutex_;
};

// A width x height screen that a sprite manager draws on, with the fake host behind it.
struct SpriteStage {
    SpriteStage(int width, int height) : target(width, height), graphics(&target) {
        host.screenWidth = width;
        host.screenHeight = height;
        sprites.SetHost(&host);
        sprites.SetTarget(&graphics);
    }
    // Clears the screen to transparent black.
    void Clear() { target.ClearRect(Tuvo::Rect(0, 0, target.GetWidth(), target.GetHeight())); }

    FakeSpriteHost host;
    Tuvo::MemoryImage target;
    Tuvo::Graphics graphics;
    Quillory::CSpriteManager sprites;
};

}  // namespace TestSupport
