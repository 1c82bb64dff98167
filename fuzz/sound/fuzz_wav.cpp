// Fuzzes the WAV reader (plain files and cache files with "dep " and "xor " chunks).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/sound/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes, so that any read past the end is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const Tuvo::FileTimeQuery anyTime = [](const char* name, uint64_t& time) {
        time = name[0] == '\0' ? 0 : 1;
        return true;
    };
    Tuvo::SoundBuffer sound;
    std::string error;
    if (Tuvo::ReadWav(bytes.data(), bytes.size(), anyTime, sound, error)) {
        if (sound.samples.empty() || sound.samples.size() % sound.channels != 0) {
            __builtin_trap();
        }
        // What was read must survive the cache writer and read back the same.
        const std::string cache = Tuvo::EncodeCacheWav(sound, "x", 1);
        Tuvo::SoundBuffer back;
        if (!Tuvo::ReadWav(reinterpret_cast<const uint8_t*>(cache.data()), cache.size(), anyTime,
                           back, error) ||
            back.samples != sound.samples) {
            __builtin_trap();
        }
    }
    return 0;
}
