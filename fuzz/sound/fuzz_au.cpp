// Fuzzes the AU reader.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/sound/au_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    Tuvo::SoundBuffer sound;
    std::string error;
    if (Tuvo::ReadAu(bytes.data(), bytes.size(), sound, error) &&
        sound.samples.size() % sound.channels != 0) {
        __builtin_trap();
    }
    return 0;
}
