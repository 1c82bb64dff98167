// The game's random generator: state = state x 214013 + 2531011 (mod 2^32), output
// (state >> 16) & 0x7FFF. The rules, the effects and the sound events draw from one shared
// instance; the framework keeps a second one. Tests make instances of their own.
#pragma once

#include <cstdint>

namespace Platform {

class RandomGenerator {
public:
    static constexpr int kMaxOutput = 0x7FFF;

    explicit RandomGenerator(uint32_t seed = 1) : state_(seed) {}

    void Seed(uint32_t seed) { state_ = seed; }
    uint32_t State() const { return state_; }

    // 0 to 32767.
    int Next();
    // Next() / 32767.0: 0 to 1, both ends included.
    double R01();
    // floor(Next() / 32767.0 x (hi + 1)) + lo, drawn again while outside lo..hi.
    // Returns lo when hi < lo.
    int RandInt(int lo, int hi);

private:
    uint32_t state_;
};

// The process-wide "standard-library" generator shared by the rules, effects and sound events.
RandomGenerator& StandardRandom();
// The framework's own generator, seeded by the application's base initialisation.
RandomGenerator& FrameworkRandom();

}  // namespace Platform
