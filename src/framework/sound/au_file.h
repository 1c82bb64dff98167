// Sun/NeXT audio (".au") files: a big-endian header starting with ".snd" (data offset, data size,
// encoding, rate, channels), then the samples. Encodings read: 1 (8-bit mu-law), 2 (8-bit linear),
// 3 (16-bit linear, big-endian) and 27 (8-bit A-law).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/sound/sound_buffer.h"

namespace Tuvo {

// True when the bytes start with the ".snd" magic.
bool IsAuFile(const uint8_t* data, size_t size);

// Decodes an AU file held in memory into 16-bit samples; on failure `out` is empty and `error`
// says why.
bool ReadAu(const uint8_t* data, size_t size, SoundBuffer& out, std::string& error);

// The 16-bit values of single mu-law and A-law bytes (G.711).
int16_t MuLawToLinear(uint8_t value);
int16_t ALawToLinear(uint8_t value);

}  // namespace Tuvo
