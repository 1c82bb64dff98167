// The stretched copies one image keeps of itself.
#include "framework/graphics/stretch_cache.h"

#include <algorithm>

#include "framework/graphics/memory_image.h"

namespace Tuvo {

namespace {

int64_t PixelsOf(const StretchCache::Key& key) {
    return int64_t{key.width} * key.height;
}

}  // namespace

StretchCache::StretchCache() = default;
StretchCache::~StretchCache() = default;

size_t StretchCache::KeyHash::operator()(const Key& key) const {
    uint64_t hash = 1469598103934665603ull;
    const int32_t fields[7] = {key.sourceRect.x,
                               key.sourceRect.y,
                               key.sourceRect.width,
                               key.sourceRect.height,
                               key.width,
                               key.height,
                               (key.nearest ? 1 : 0) | (key.mirror ? 2 : 0)};
    for (int32_t field : fields) {
        hash = (hash ^ static_cast<uint32_t>(field)) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

MemoryImage* StretchCache::Find(const Key& key, uint64_t generation) {
    if (generation != generation_) {
        entries_.clear();
        pixels_ = 0;
        generation_ = generation;
    }
    const auto found = entries_.find(key);
    if (found == entries_.end()) {
        return nullptr;
    }
    found->second.lastUse = ++uses_;
    return found->second.copy.get();
}

bool StretchCache::WorthKeeping(const Key& key) {
    if (key.width <= 0 || key.height <= 0 || PixelsOf(key) > kMaxCopyPixels) {
        return false;
    }
    if (std::find(recent_, recent_ + kRecentKeys, key) != recent_ + kRecentKeys) {
        return true;
    }
    recent_[recentNext_] = key;
    recentNext_ = (recentNext_ + 1) % kRecentKeys;
    return false;
}

MemoryImage* StretchCache::Keep(const Key& key, std::unique_ptr<MemoryImage> copy) {
    if (copy == nullptr || PixelsOf(key) > kMaxCopyPixels) {
        return nullptr;
    }
    while (!entries_.empty() && pixels_ + PixelsOf(key) > kMaxPixels) {
        DropLeastRecent();
    }
    Entry& entry = entries_[key];
    if (entry.copy != nullptr) {
        pixels_ -= PixelsOf(key);
    }
    entry.copy = std::move(copy);
    entry.lastUse = ++uses_;
    pixels_ += PixelsOf(key);
    return entry.copy.get();
}

void StretchCache::DropLeastRecent() {
    const auto oldest = std::min_element(
        entries_.begin(), entries_.end(),
        [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
    pixels_ -= PixelsOf(oldest->first);
    entries_.erase(oldest);
}

}  // namespace Tuvo
