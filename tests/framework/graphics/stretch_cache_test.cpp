#include "framework/graphics/stretch_cache.h"

#include <memory>

#include <gtest/gtest.h>

#include "framework/graphics/memory_image.h"

namespace Tuvo {
namespace {

StretchCache::Key KeyOfSize(int width, int height) {
    return StretchCache::Key{Rect(0, 0, 10, 10), width, height, false, false};
}

// Kept from the second request, never beyond the budget (the least recently used going
// first), never too big, and all gone with a new generation of the pixels.
TEST(StretchCacheTest, KeepsRepeatedStretchesWithinItsBudget) {
    StretchCache cache;
    const StretchCache::Key first = KeyOfSize(100, 100);
    EXPECT_EQ(cache.Find(first, 1), nullptr);
    EXPECT_FALSE(cache.WorthKeeping(first));
    EXPECT_TRUE(cache.WorthKeeping(first));
    ASSERT_NE(cache.Keep(first, std::make_unique<MemoryImage>(100, 100)), nullptr);
    EXPECT_NE(cache.Find(first, 1), nullptr);

    for (int i = 0; i < 40; ++i) {
        const StretchCache::Key key = KeyOfSize(100, 101 + i);
        cache.Keep(key, std::make_unique<MemoryImage>(key.width, key.height));
        cache.Find(first, 1);  // the first one stays in use
        EXPECT_LE(cache.Pixels(), StretchCache::kMaxPixels);
    }
    EXPECT_NE(cache.Find(first, 1), nullptr);
    EXPECT_EQ(cache.Find(KeyOfSize(100, 101), 1), nullptr);
    EXPECT_NE(cache.Find(KeyOfSize(100, 140), 1), nullptr);

    const StretchCache::Key huge = KeyOfSize(129, 128);
    EXPECT_FALSE(cache.WorthKeeping(huge));
    EXPECT_FALSE(cache.WorthKeeping(huge));
    EXPECT_EQ(cache.Find(first, 2), nullptr);
    EXPECT_EQ(cache.Pixels(), 0);
}

}  // namespace
}  // namespace Tuvo
