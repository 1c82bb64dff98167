// Fuzzes the Ogg Vorbis loader: whole decoding and streaming with a seek, over memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/sound/ogg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Tuvo::SoundBuffer sound;
    std::string error;
    Tuvo::DecodeOgg(std::make_unique<Tuvo::MemoryByteSource>(data, size), sound, error);

    Tuvo::OggDecoder decoder;
    if (decoder.Open(std::make_unique<Tuvo::MemoryByteSource>(data, size), error)) {
        std::vector<int16_t> chunk(512 * static_cast<size_t>(decoder.Channels()));
        for (int i = 0; i < 64 && decoder.Read(chunk.data(), 512) > 0; ++i) {
        }
        decoder.SeekFrame(0);
        decoder.Read(chunk.data(), 512);
    }
    return 0;
}
