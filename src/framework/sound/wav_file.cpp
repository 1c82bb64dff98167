// Reading and writing the WAV files of wav_file.h.
#include "framework/sound/wav_file.h"

#include <cstring>

namespace Tuvo {
namespace {

uint16_t Read16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t Read32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint64_t Read64(const uint8_t* bytes) {
    return static_cast<uint64_t>(Read32(bytes)) | (static_cast<uint64_t>(Read32(bytes + 4)) << 32);
}

bool HasId(const uint8_t* bytes, const char* id) {
    return std::memcmp(bytes, id, 4) == 0;
}

struct WavFormat {
    int channels = 1;
    uint32_t rate = 22050;
    int bits = 16;
};

bool Fail(std::string& error, const char* why) {
    error = why;
    return false;
}

// Converts the "data" chunk into 16-bit samples, unscrambling each byte.
bool ReadData(const uint8_t* data, size_t size, const WavFormat& format, uint8_t scramble,
              SoundBuffer& out, std::string& error) {
    if (format.bits != 8 && format.bits != 16) {
        return Fail(error, "only 8-bit and 16-bit PCM is supported");
    }
    if (!ValidSoundFormat(format.channels, format.rate)) {
        return Fail(error, "unsupported channel count or sample rate");
    }
    const size_t bytesPerSample = static_cast<size_t>(format.bits / 8);
    const size_t blockAlign = bytesPerSample * static_cast<size_t>(format.channels);
    const size_t frames = size / blockAlign;
    if (frames == 0) {
        return Fail(error, "the data chunk holds no complete frame");
    }
    // Decoded bytes: 8-bit samples are widened to 16 bits.
    if (frames * format.channels * sizeof(int16_t) > kMaxDecodedSoundBytes) {
        return Fail(error, "the sound is too large");
    }
    const size_t count = frames * static_cast<size_t>(format.channels);
    out.samples.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (bytesPerSample == 1) {
            const int value = static_cast<uint8_t>(data[i] ^ scramble) - 128;
            out.samples[i] = static_cast<int16_t>(value * 256);
        } else {
            const uint8_t low = data[2 * i] ^ scramble;
            const uint8_t high = data[2 * i + 1] ^ scramble;
            out.samples[i] = static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
        }
    }
    out.channels = format.channels;
    out.rate = format.rate;
    out.sourceBits = format.bits;
    return true;
}

// Checks a "dep " chunk: the named source must still have the stored last-write time.
bool DependencyCurrent(const uint8_t* chunk, size_t size, const FileTimeQuery& fileTime,
                       std::string& error) {
    if (size < 2) {
        return Fail(error, "damaged dep chunk");
    }
    size_t nameLength = Read16(chunk);
    if (nameLength > kMaxDependencyName) {
        nameLength = kMaxDependencyName;
    }
    if (2 + nameLength + 8 > size) {
        return Fail(error, "damaged dep chunk");
    }
    const std::string name(reinterpret_cast<const char*>(chunk + 2), nameLength);
    const uint64_t storedTime = Read64(chunk + 2 + nameLength);
    uint64_t currentTime = 0;
    if (!fileTime || !fileTime(name.c_str(), currentTime) || currentTime != storedTime) {
        return Fail(error, "stale: the source file changed");
    }
    return true;
}

}  // namespace

bool ReadWav(const uint8_t* data, size_t size, const FileTimeQuery& fileTime, SoundBuffer& out,
             std::string& error) {
    out = SoundBuffer();
    if (data == nullptr || size < 12 || !HasId(data, "RIFF") || !HasId(data + 8, "WAVE")) {
        return Fail(error, "not a RIFF WAVE file");
    }
    WavFormat format;
    uint8_t scramble = 0;
    size_t position = 12;
    while (size - position >= 8) {
        const uint8_t* header = data + position;
        const size_t chunkSize = Read32(header + 4);
        position += 8;
        if (chunkSize > size - position) {
            return Fail(error, "a chunk runs past the end of the file");
        }
        const uint8_t* chunk = data + position;
        if (HasId(header, "fmt ")) {
            if (chunkSize < 16) {
                return Fail(error, "damaged fmt chunk");
            }
            if (Read16(chunk) != 1) {
                return Fail(error, "not PCM");
            }
            format.channels = Read16(chunk + 2);
            format.rate = Read32(chunk + 4);
            format.bits = Read16(chunk + 14);
        } else if (HasId(header, "dep ")) {
            if (!DependencyCurrent(chunk, chunkSize, fileTime, error)) {
                return false;
            }
        } else if (HasId(header, "xor ")) {
            if (chunkSize < 1) {
                return Fail(error, "damaged xor chunk");
            }
            scramble = chunk[0];
        } else if (HasId(header, "data")) {
            if (!ReadData(chunk, chunkSize, format, scramble, out, error)) {
                out = SoundBuffer();
                return false;
            }
            return true;
        }
        position += chunkSize;
    }
    return Fail(error, "no data chunk");
}

namespace {

void Put16(std::string& out, uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, static_cast<uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

void Put64(std::string& out, uint64_t value) {
    Put32(out, static_cast<uint32_t>(value & 0xFFFFFFFFu));
    Put32(out, static_cast<uint32_t>(value >> 32));
}

void PutFormatChunk(std::string& out, const SoundBuffer& sound) {
    const uint16_t blockAlign = static_cast<uint16_t>(sound.channels * 2);
    out += "fmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(sound.channels));
    Put32(out, sound.rate);
    Put32(out, blockAlign * sound.rate);
    Put16(out, blockAlign);
    Put16(out, 16);
}

void PutDataChunk(std::string& out, const SoundBuffer& sound, uint8_t scramble) {
    out += "data";
    Put32(out, static_cast<uint32_t>(sound.DataBytes()));
    for (const int16_t sample : sound.samples) {
        const uint16_t bits = static_cast<uint16_t>(sample);
        out.push_back(static_cast<char>((bits & 0xFF) ^ scramble));
        out.push_back(static_cast<char>((bits >> 8) ^ scramble));
    }
}

}  // namespace

std::string EncodeWav(const SoundBuffer& sound) {
    std::string out;
    out.reserve(44 + sound.DataBytes());
    out += "RIFF";
    Put32(out, static_cast<uint32_t>(sound.DataBytes() + 36));
    out += "WAVE";
    PutFormatChunk(out, sound);
    PutDataChunk(out, sound, 0);
    return out;
}

std::string EncodeCacheWav(const SoundBuffer& sound, const std::string& sourceName,
                           uint64_t sourceTime) {
    const std::string name = sourceName.substr(0, kMaxDependencyName);
    std::string out;
    out.reserve(64 + name.size() + sound.DataBytes());
    out += "RIFF";
    // The size field counts only the format and data chunks, as the game's cache always did;
    // readers ignore it.
    Put32(out, static_cast<uint32_t>(sound.DataBytes() + 36));
    out += "WAVE";
    PutFormatChunk(out, sound);
    out += "dep ";
    Put32(out, static_cast<uint32_t>(name.size() + 10));
    Put16(out, static_cast<uint16_t>(name.size()));
    out += name;
    Put64(out, sourceTime);
    out += "xor ";
    Put32(out, 1);
    out.push_back(static_cast<char>(kCacheScramble));
    PutDataChunk(out, sound, kCacheScramble);
    return out;
}

}  // namespace Tuvo
