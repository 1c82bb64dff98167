// The image table and the sprite drawing of CSpriteManager.
#include "engine/sprite_manager.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "framework/archive/pak_file.h"
#include "framework/graphics/affine2d.h"

namespace Quillory {
namespace {

constexpr const char* kImagePatterns[] = {"*.png", "*.jpg", "*.tga", "*.bmp"};
constexpr int kDefaultScreenWidth = 800;
constexpr int kDefaultScreenHeight = 600;

// Calls visit(name) for every plain file that matches folder + pattern, in search order. A
// match with the directory attribute (a file in a subfolder, as the archive reports it) is left
// out: it belongs to another folder's scan.
template <typename Visit>
void ForEachImageFile(const char* folder, Visit visit) {
    for (const char* pattern : kImagePatterns) {
        const std::string search = std::string(folder) + pattern;
        Tuvo::PakFindData found;
        Tuvo::PakFindContext* context = Tuvo::PakFindFirstFile(search.c_str(), &found);
        if (context == Tuvo::kInvalidFindHandle) {
            continue;
        }
        do {
            if ((found.attributes & Tuvo::kFileAttributeDirectory) == 0) {
                visit(found.fileName);
            }
        } while (Tuvo::PakFindNextFile(context, &found));
        Tuvo::PakFindCloseFile(context);
    }
}

int Truncate(float value) {
    return static_cast<int>(value);
}

}  // namespace

CSpriteManager::CSpriteManager() = default;
CSpriteManager::~CSpriteManager() = default;

int CSpriteManager::ScreenWidth() const {
    return host_ != nullptr ? host_->ScreenWidth() : kDefaultScreenWidth;
}

int CSpriteManager::ScreenHeight() const {
    return host_ != nullptr ? host_->ScreenHeight() : kDefaultScreenHeight;
}

uint32_t CSpriteManager::Milliseconds() const {
    return host_ != nullptr ? host_->Milliseconds() : 0;
}

int CSpriteManager::FindLocked(const std::string& key) const {
    for (int i = 0; i < count_; ++i) {
        if (names_[i] == key) {
            return i;
        }
    }
    return -1;
}

void CSpriteManager::LoadTexture(const char* folder, const char* fileName) {
    if (folder == nullptr || fileName == nullptr) {
        return;
    }
    const std::string key = std::string(folder) + fileName;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        if (count_ >= kMaxTextures) {
            LogMessage("Overflow error: maximum textures count");
            return;
        }
        if (FindLocked(key) >= 0) {
            return;
        }
    }
    // Decoding happens outside the lock so that the main thread can keep drawing from the
    // table while the loading thread decodes a large image.
    std::unique_ptr<Tuvo::Image> image;
    if (host_ != nullptr) {
        image = host_->LoadDisplayImage(key.c_str(), true);
    }
    char line[512];
    if (image == nullptr) {
        // Draws ask again every frame; one line per missing name keeps the log readable.
        bool firstFailure = false;
        {
            std::lock_guard<std::mutex> lock(tableMutex_);
            firstFailure = failedNames_.insert(key).second;
        }
        if (firstFailure) {
            std::snprintf(line, sizeof(line), "Loading image: '%s' ... FAILED", key.c_str());
            LogMessage(line);
        }
        return;
    }
    int loaded = 0;
    const int64_t pixels = int64_t{image->GetWidth()} * image->GetHeight();
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        if (FindLocked(key) >= 0) {
            return;  // the other thread loaded it meanwhile
        }
        if (count_ >= kMaxTextures) {
            LogMessage("Overflow error: maximum textures count");
            return;
        }
        if (pixels > pixelBudget_ - storedPixels_) {
            std::snprintf(line, sizeof(line),
                          "Loading image: '%s' ... REFUSED (%lld pixels, over the budget of %lld "
                          "for all images)",
                          key.c_str(), static_cast<long long>(pixels),
                          static_cast<long long>(pixelBudget_));
            LogMessage(line);
            return;
        }
        storedPixels_ += pixels;
        images_[count_] = std::move(image);
        names_[count_] = key;
        loaded = ++count_;
    }
    std::snprintf(line, sizeof(line), "Loading image: '%s' ... OK (%d loaded) (%s)", key.c_str(),
                  loaded, "32 bit");
    LogMessage(line);
}

Tuvo::Image* CSpriteManager::GetTexture(const char* fileName) {
    if (fileName == nullptr) {
        return nullptr;
    }
    const std::string key = fileName;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        const int index = FindLocked(key);
        if (index >= 0) {
            return images_[index].get();
        }
    }
    LoadTexture("", fileName);
    std::lock_guard<std::mutex> lock(tableMutex_);
    const int index = FindLocked(key);
    return index >= 0 ? images_[index].get() : nullptr;
}

void CSpriteManager::DeleteAllTextures() {
    {
        std::lock_guard<std::recursive_mutex> fontLock(fontMutex_);
        std::lock_guard<std::mutex> lock(tableMutex_);
        for (int i = 0; i < count_; ++i) {
            images_[i].reset();
            names_[i].clear();
        }
        count_ = 0;
        storedPixels_ = 0;
        fontImage_ = nullptr;
        fontsAtHand_ = {};
    }
    LogMessage("CSpriteManager::DeleteAllTextures()");
}

void CSpriteManager::SetPixelBudget(int64_t pixels) {
    std::lock_guard<std::mutex> lock(tableMutex_);
    pixelBudget_ = pixels;
}

int64_t CSpriteManager::StoredPixels() const {
    std::lock_guard<std::mutex> lock(tableMutex_);
    return storedPixels_;
}

int CSpriteManager::TextureCount() const {
    std::lock_guard<std::mutex> lock(tableMutex_);
    return count_;
}

int CSpriteManager::CountImages(const char* folder) {
    if (folder == nullptr) {
        return 0;
    }
    int count = 0;
    ForEachImageFile(folder, [&count](const char*) { ++count; });
    return count;
}

bool CSpriteManager::PreloadFolder(const char* folder, int mode) {
    char value[kConfigValueSize];
    if (!ReadConfigString("VIDEO", "Brightness", value)) {
        char text[64];
        std::snprintf(text, sizeof(text), "%f", brightness_);
        WriteConfigString("VIDEO", "Brightness", text);
    }
    if (folder == nullptr) {
        return false;
    }
    if (mode & 1) {
        pendingFiles_.clear();
        ForEachImageFile(folder, [this](const char* name) { pendingFiles_.push_back(name); });
        nextPending_ = 0;
        if (pendingFiles_.empty()) {
            return false;
        }
        LoadTexture(folder, pendingFiles_[nextPending_++].c_str());
        return true;
    }
    if ((mode & 2) && nextPending_ < pendingFiles_.size()) {
        LoadTexture(folder, pendingFiles_[nextPending_++].c_str());
        return true;
    }
    return false;
}

TextureRect CSpriteManager::CellRect(int frame, int columns, int rows) {
    if (columns < 1 || rows < 1 || frame < 1 || frame > columns * rows) {
        return TextureRect{};
    }
    const int column = (frame - 1) % columns;
    const int row = (frame - 1) / columns;
    return TextureRect{static_cast<float>(column) / columns, static_cast<float>(row) / rows,
                       static_cast<float>(column + 1) / columns,
                       static_cast<float>(row + 1) / rows};
}

ScreenRect CSpriteManager::GetScreenRect() const {
    ScreenRect rect;
    rect.screenWidth = ScreenWidth();
    rect.screenHeight = ScreenHeight();
    rect.clientWidth = host_ != nullptr ? host_->ClientWidth() : rect.screenWidth;
    rect.clientHeight = host_ != nullptr ? host_->ClientHeight() : rect.screenHeight;
    return rect;
}

ImageSize CSpriteManager::GetImageSize(const Tuvo::Image* image) {
    if (image == nullptr) {
        return ImageSize{};
    }
    return ImageSize{image->GetWidth(), image->GetHeight()};
}

int32_t CSpriteManager::DrawSprite(Tuvo::Image* image, float x, float y, float width, float height,
                                   float sx0, float sy0, float sx1, float sy1, uint32_t colour,
                                   int flags, float angle) {
    const float screenWidth = static_cast<float>(ScreenWidth());
    const float screenHeight = static_cast<float>(ScreenHeight());
    const float centerX = x * screenWidth;
    const float centerY = y * screenHeight;
    float pixelWidth = width * screenWidth;
    float pixelHeight = height * screenHeight;
    const ImageSize size = GetImageSize(image);
    const float imageWidth = static_cast<float>(size.width);
    const float imageHeight = static_cast<float>(size.height);
    const bool naturalSize = (flags & kSpriteNaturalSize) != 0;
    if (naturalSize) {
        pixelWidth = (sx1 - sx0) * imageWidth;
        pixelHeight = (sy1 - sy0) * imageHeight;
    }
    const float left = centerX - pixelWidth / 2;
    const float top = centerY - pixelHeight / 2;
    if (graphics_ == nullptr || image == nullptr) {
        return kDrawFailed;
    }
    Tuvo::Graphics& g = *graphics_;
    if (flags & kSpriteNormalMode) {
        g.SetDrawMode(Tuvo::kDrawModeNormal);
    }
    if (flags & kSpriteAdditiveMode) {
        g.SetDrawMode(Tuvo::kDrawModeAdditive);
    }
    if (colour != kNoTint) {
        g.SetColor(Tuvo::Color(colour));
        g.SetTintImages(true);
    } else {
        g.SetTintImages(false);
    }
    const Tuvo::Rect source(Truncate(sx0 * imageWidth), Truncate(sy0 * imageHeight),
                            Truncate((sx1 - sx0) * imageWidth),
                            Truncate((sy1 - sy0) * imageHeight));
    const bool wholeImage = sx0 == 0 && sy0 == 0 && sx1 == 1 && sy1 == 1;
    const bool accelerated = host_ != nullptr && host_->Is3D();
    bool drawn = false;
    if (accelerated || naturalSize) {
        if (angle != 0) {
            if (naturalSize) {
                // The cell turns about its own centre.
                g.DrawImageRotated(image, Truncate(left), Truncate(top), angle, &source);
            } else {
                Tuvo::Affine2D transform;
                transform.RotateDeg(angle / 6.2831855f * 360.0f);
                transform.Scale(pixelWidth / imageWidth, pixelHeight / imageHeight);
                g.DrawImageWithTransform(image, transform, centerX, centerY);
            }
            drawn = true;
        } else if (naturalSize && wholeImage) {
            g.DrawImage(image, Truncate(left), Truncate(top));
            drawn = true;
        }
    }
    if (!drawn) {
        // The software route ignores the angle.
        if (!naturalSize) {
            const bool outside = left + pixelWidth <= 0 || top + pixelHeight <= 0 ||
                                 left >= screenWidth || top >= screenHeight;
            if (!outside) {
                g.DrawImage(image,
                            Tuvo::Rect(Truncate(left), Truncate(top), Truncate(pixelWidth),
                                       Truncate(pixelHeight)),
                            source);
            }
        } else {
            g.DrawImage(image, Truncate(left), Truncate(top), source);
        }
    }
    g.SetTintImages(false);
    g.SetDrawMode(Tuvo::kDrawModeNormal);
    return kDrawOk;
}

int32_t CSpriteManager::DrawAnimFrame(Tuvo::Image* image, float x, float y, float width,
                                      float height, int flags, int columns, int rows, float speed,
                                      uint32_t colour) {
    if (columns < 1 || rows < 1) {
        return kDrawFailed;
    }
    const int frames = columns * rows;
    float cycles = 0;
    if (flags & kSpritePhase) {
        cycles = frames * speed;
    } else {
        const float seconds = static_cast<float>(Milliseconds()) * 0.001f;
        cycles = seconds * speed * frames;
    }
    int index = static_cast<int>(std::fmod(std::trunc(cycles), static_cast<float>(frames)));
    if (index < 0) {
        index += frames;  // a negative speed runs the sheet backwards
    }
    if (flags & kSpriteNaturalSize) {
        const ImageSize size = GetImageSize(image);
        width = (static_cast<float>(size.width) / columns) / ScreenWidth();
        height = (static_cast<float>(size.height) / rows) / ScreenHeight();
    }
    const TextureRect cell = CellRect(index + 1, columns, rows);
    return DrawSprite(image, x, y, width, height, cell.sx0, cell.sy0, cell.sx1, cell.sy1, colour,
                      flags, 0);
}

int32_t CSpriteManager::DrawGauge(Tuvo::Image* backImage, Tuvo::Image* fillImage, float x, float y,
                                  float width, float height, float percent, int flags) {
    float p = percent / 100.0f;
    p = p < 0 ? 0 : (p > 1 ? 1 : p);
    int drawFlags = 0;
    if (flags & kGaugeNaturalSize) {
        const ImageSize size = GetImageSize(fillImage);
        width = static_cast<float>(size.width) / ScreenWidth();
        height = static_cast<float>(size.height) / ScreenHeight();
        drawFlags = kSpriteNaturalSize;
    }
    int32_t result = DrawSprite(backImage, x, y, width, height, 0, 0, 1, 1, kNoTint, drawFlags, 0);
    if (flags & kGaugeVertical) {
        result = DrawSprite(fillImage, x, y + height / 2 - height * p / 2, width, height * p, 0,
                            1 - p, 1, 1, kNoTint, drawFlags, 0);
    }
    if (flags & kGaugeHorizontal) {
        result = DrawSprite(fillImage, x - width / 2 + width * p / 2, y, width * p, height, 0, 0, p,
                            1, kNoTint, drawFlags, 0);
    }
    return result;
}

void CSpriteManager::DrawDigits(Tuvo::Image* image, float x, float y, float spacing,
                                uint32_t colour, const char* text, float scale) {
    if (text == nullptr) {
        return;
    }
    const ImageSize size = GetImageSize(image);
    const float cellWidth = (static_cast<float>(size.width) / 10) / ScreenWidth() * scale;
    const float cellHeight = static_cast<float>(size.height) / ScreenHeight() * scale;
    const size_t length = std::strlen(text);
    if (length == 0) {
        return;
    }
    float center = x - cellWidth * static_cast<float>(length - 1) / 2;
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            const int digit = c - '0';
            DrawSprite(image, center, y, cellWidth, cellHeight, digit / 10.0f, 0,
                       (digit + 1) / 10.0f, 1, colour, kSpriteNormalMode, 0);
        }
        center += cellWidth * spacing;
    }
}

}  // namespace Quillory
