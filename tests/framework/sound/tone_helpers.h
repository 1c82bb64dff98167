// Helpers shared by the sound tests: measuring a frequency's strength, describing a whole sound
// for one comparison, reading the test data folder.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/sound/sound_buffer.h"

namespace SoundTest {

// The amplitude of `frequency` in one channel of interleaved samples (Goertzel).
inline double ToneAmplitude(const int16_t* samples, size_t frames, int stride, uint32_t rate,
                            double frequency) {
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * frequency / rate);
    double previous = 0.0;
    double beforePrevious = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        const double current = samples[i * stride] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(frames);
}

// "channels x rate: samples...", so that one assertion compares a whole sound and shows it.
inline std::string Describe(const Tuvo::SoundBuffer& sound) {
    std::string text = std::to_string(sound.channels) + " x " + std::to_string(sound.rate) + ":";
    for (const int16_t sample : sound.samples) {
        text += " " + std::to_string(sample);
    }
    return text;
}

inline std::string ReadDataFile(const std::string& name) {
    const char* source = std::getenv("QUILLORY_SOURCE_DIR");
    std::ifstream in(
        std::string(source != nullptr ? source : ".") + "/tests/framework/sound/data/" + name,
        std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace SoundTest
