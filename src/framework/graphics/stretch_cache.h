// Stretched copies of parts of one image at the sizes it is drawn at again and again (the
// letters of a text at one size), so that such a draw becomes a plain blit of the copy. A
// stretch is kept from its second request on; the copies of one image stay within kMaxPixels,
// the least recently used going first, and all of them go when the image changes.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "framework/graphics/rect.h"

namespace Tuvo {

class MemoryImage;

class StretchCache {
public:
    // Largest copy kept (a 128 x 128 picture) and all copies of one image together (1 MiB).
    static constexpr int64_t kMaxCopyPixels = 128 * 128;
    static constexpr int64_t kMaxPixels = 1 << 18;
    // Requests remembered to spot the second one.
    static constexpr int kRecentKeys = 64;

    struct Key {
        Rect sourceRect;
        int32_t width = 0;
        int32_t height = 0;
        bool nearest = false;
        bool mirror = false;
        bool operator==(const Key& other) const = default;
    };

    StretchCache();
    ~StretchCache();

    // The copy kept for the key, or null. Copies of another generation of the image's pixels
    // are all dropped first.
    MemoryImage* Find(const Key& key, uint64_t generation);
    // After Find missed: true when the key was asked for before and its copy fits, so that
    // the caller makes the copy and hands it to Keep.
    bool WorthKeeping(const Key& key);
    MemoryImage* Keep(const Key& key, std::unique_ptr<MemoryImage> copy);
    int64_t Pixels() const { return pixels_; }

private:
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Entry {
        std::unique_ptr<MemoryImage> copy;
        uint64_t lastUse = 0;
    };
    void DropLeastRecent();

    std::unordered_map<Key, Entry, KeyHash> entries_;
    Key recent_[kRecentKeys];
    int recentNext_ = 0;
    uint64_t generation_ = 0;
    uint64_t uses_ = 0;
    int64_t pixels_ = 0;
};

}  // namespace Tuvo
