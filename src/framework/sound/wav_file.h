// RIFF WAVE files: reading PCM sounds (also the decoded-sound cache, with its "dep " source check
// and "xor " scrambling) and writing plain or cache files.
//
// Chunks are read as a 4-byte id and a 4-byte little-endian size. "fmt " gives the format tag
// (only 1, PCM), channels, rate and bits (8 or 16); before it the format is mono, 22050 Hz,
// 16 bits. "dep " names a source file and its last-write time, "xor " gives the byte every data
// byte is XORed with, and "data" ends the reading. Other chunks are skipped; a chunk whose size
// runs past the end of the file rejects the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "framework/sound/sound_buffer.h"

namespace Tuvo {

// The current last-write time (Windows file time) of a named file; false when it is missing.
using FileTimeQuery = std::function<bool(const char* name, uint64_t& fileTime)>;

constexpr uint8_t kCacheScramble = 0xA3;
constexpr size_t kMaxDependencyName = 255;

// Decodes a WAV file held in memory. `fileTime` checks a "dep " chunk (nullptr: any "dep " chunk
// makes the file stale). On failure `out` is left empty and `error` says why.
bool ReadWav(const uint8_t* data, size_t size, const FileTimeQuery& fileTime, SoundBuffer& out,
             std::string& error);

// A plain 16-bit PCM WAV file of the sound.
std::string EncodeWav(const SoundBuffer& sound);

// A cache file: the sound's PCM scrambled with 0xA3, with a "dep " chunk naming the source file
// (its name cut to 255 characters) and the source's last-write time.
std::string EncodeCacheWav(const SoundBuffer& sound, const std::string& sourceName,
                           uint64_t sourceTime);

}  // namespace Tuvo
