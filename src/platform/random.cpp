// The game's linear congruential generator and its two process-wide instances.
#include "platform/random.h"

#include <cmath>

namespace Platform {

int RandomGenerator::Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
}

double RandomGenerator::R01() {
    return Next() / static_cast<double>(kMaxOutput);
}

int RandomGenerator::RandInt(int lo, int hi) {
    // An empty range would draw forever.
    if (hi < lo) {
        return lo;
    }
    for (;;) {
        const double scaled =
            Next() / static_cast<double>(kMaxOutput) * (static_cast<double>(hi) + 1);
        const double value = std::floor(scaled) + lo;
        if (value >= lo && value <= hi) {
            return static_cast<int>(value);
        }
    }
}

RandomGenerator& StandardRandom() {
    static RandomGenerator generator;
    return generator;
}

RandomGenerator& FrameworkRandom() {
    static RandomGenerator generator;
    return generator;
}

}  // namespace Platform
