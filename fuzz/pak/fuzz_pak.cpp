// Fuzzes the archive directory reader and the layer's reads over whatever it accepted.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/archive/pak_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes, so that any read past the end is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<Tuvo::PakDirectoryEntry> entries;
    Tuvo::ParsePakDirectory(bytes.data(), bytes.size(), entries);
    uint32_t sum = 0;
    for (const Tuvo::PakDirectoryEntry& entry : entries) {
        if (entry.dataOffset + entry.size > bytes.size()) {
            __builtin_trap();
        }
        for (uint32_t i = 0; i < entry.size; ++i) {
            sum += bytes[entry.dataOffset + i];
        }
    }
    return static_cast<int>(sum & 0);
}
