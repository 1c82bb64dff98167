// Helpers shared by the sound tests: making tones, measuring a frequency's strength, describing a
// whole sound for one comparison, reading the test data folder.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/sound/sound_buffer.h"

namespace SoundTest {

// A tone of `amplitude` at `frequency`, on every channel.
inline Tuvo::SoundBuffer MakeTone(int channels, uint32_t rate, size_t frames, double frequency,
                                  double amplitude = 16000.0) {
    Tuvo::SoundBuffer sound;
    sound.channels = channels;
    sound.rate = rate;
    sound.samples.resize(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2.0 * M_PI * frequency * i / rate);
        for (int c = 0; c < channels; ++c) {
            sound.samples[i * channels + c] = static_cast<int16_t>(std::lround(value));
        }
    }
    return sound;
}

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

inline std::string DataPath(const std::string& name) {
    const char* source = std::getenv("QUILLORY_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/tests/framework/sound/data/" + name;
}

inline std::vector<uint8_t> ReadDataFile(const std::string& name) {
    std::ifstream in(DataPath(name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

inline std::string AsString(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace SoundTest
