// Integer rectangles and one-pixel-high spans of the drawing interface.
#pragma once

#include <algorithm>
#include <cstdint>

namespace Tuvo {

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    constexpr Rect() = default;
    constexpr Rect(int32_t rx, int32_t ry, int32_t w, int32_t h)
        : x(rx), y(ry), width(w), height(h) {}

    // The common part of two rectangles; (0, 0, 0, 0) when they do not overlap. A width or
    // height of 0 (rectangles that only touch) is a valid, empty result. Computed in 64 bits so
    // that huge rectangles cannot overflow.
    constexpr Rect Intersection(const Rect& other) const {
        const int64_t left = std::max<int64_t>(x, other.x);
        const int64_t top = std::max<int64_t>(y, other.y);
        const int64_t right = std::min<int64_t>(int64_t{x} + width, int64_t{other.x} + other.width);
        const int64_t bottom =
            std::min<int64_t>(int64_t{y} + height, int64_t{other.y} + other.height);
        if (right - left < 0 || bottom - top < 0) {
            return Rect();
        }
        return Rect(static_cast<int32_t>(left), static_cast<int32_t>(top),
                    static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top));
    }

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool Contains(int32_t px, int32_t py) const {
        return px >= x && py >= y && int64_t{px} < int64_t{x} + width &&
               int64_t{py} < int64_t{y} + height;
    }
    // Whether other lies wholly inside this rectangle.
    constexpr bool ContainsRect(const Rect& other) const {
        return other.x >= x && other.y >= y &&
               int64_t{other.x} + other.width <= int64_t{x} + width &&
               int64_t{other.y} + other.height <= int64_t{y} + height;
    }

    constexpr bool operator==(const Rect& other) const = default;
};

// One horizontal run one pixel high.
struct Span {
    int32_t y = 0;
    int32_t x = 0;
    int32_t width = 0;
};

}  // namespace Tuvo
