// Decoding the AU files of au_file.h.
#include "framework/sound/au_file.h"

#include <cstring>

namespace Tuvo {
namespace {

constexpr size_t kAuHeaderSize = 24;
constexpr uint32_t kUnknownDataSize = 0xFFFFFFFFu;

enum AuEncoding : uint32_t {
    kMuLaw8 = 1,
    kLinear8 = 2,
    kLinear16 = 3,
    kALaw8 = 27,
};

uint32_t ReadBig32(const uint8_t* bytes) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

bool Fail(std::string& error, const char* why) {
    error = why;
    return false;
}

int16_t DecodeSample(const uint8_t* bytes, uint32_t encoding) {
    switch (encoding) {
        case kMuLaw8:
            return MuLawToLinear(bytes[0]);
        case kALaw8:
            return ALawToLinear(bytes[0]);
        case kLinear8:
            return static_cast<int16_t>(static_cast<int8_t>(bytes[0]) * 256);
        default:
            return static_cast<int16_t>(static_cast<uint16_t>((bytes[0] << 8) | bytes[1]));
    }
}

}  // namespace

int16_t MuLawToLinear(uint8_t value) {
    value = static_cast<uint8_t>(~value);
    const int exponent = (value >> 4) & 0x07;
    const int mantissa = value & 0x0F;
    const int magnitude = (((mantissa << 3) + 0x84) << exponent) - 0x84;
    return static_cast<int16_t>((value & 0x80) ? -magnitude : magnitude);
}

int16_t ALawToLinear(uint8_t value) {
    value ^= 0x55;
    const int exponent = (value >> 4) & 0x07;
    const int mantissa = value & 0x0F;
    int magnitude = (mantissa << 4) + 8;
    if (exponent != 0) {
        magnitude = (magnitude + 0x100) << (exponent - 1);
    }
    return static_cast<int16_t>((value & 0x80) ? magnitude : -magnitude);
}

bool IsAuFile(const uint8_t* data, size_t size) {
    return data != nullptr && size >= 4 && std::memcmp(data, ".snd", 4) == 0;
}

bool ReadAu(const uint8_t* data, size_t size, SoundBuffer& out, std::string& error) {
    out = SoundBuffer();
    if (!IsAuFile(data, size) || size < kAuHeaderSize) {
        return Fail(error, "not an AU file");
    }
    const uint32_t offset = ReadBig32(data + 4);
    uint32_t dataSize = ReadBig32(data + 8);
    const uint32_t encoding = ReadBig32(data + 12);
    const uint32_t rate = ReadBig32(data + 16);
    const uint32_t channels = ReadBig32(data + 20);
    if (offset < kAuHeaderSize || offset > size) {
        return Fail(error, "damaged AU header");
    }
    if (encoding != kMuLaw8 && encoding != kLinear8 && encoding != kLinear16 &&
        encoding != kALaw8) {
        return Fail(error, "unsupported AU encoding");
    }
    if (channels > kMaxSoundChannels || !ValidSoundFormat(static_cast<int>(channels), rate)) {
        return Fail(error, "unsupported channel count or sample rate");
    }
    // The size may be unknown (streamed writers) or larger than what was written: use what is
    // there.
    const size_t available = size - offset;
    if (dataSize == kUnknownDataSize || dataSize > available) {
        dataSize = static_cast<uint32_t>(available);
    }
    const size_t bytesPerSample = encoding == kLinear16 ? 2 : 1;
    const size_t blockAlign = bytesPerSample * channels;
    const size_t frames = dataSize / blockAlign;
    if (frames == 0) {
        return Fail(error, "the AU file holds no samples");
    }
    if (frames * channels * sizeof(int16_t) > kMaxDecodedSoundBytes) {
        return Fail(error, "the sound is too large");
    }
    const size_t count = frames * channels;
    out.samples.resize(count);
    const uint8_t* samples = data + offset;
    for (size_t i = 0; i < count; ++i) {
        out.samples[i] = DecodeSample(samples + i * bytesPerSample, encoding);
    }
    out.channels = static_cast<int>(channels);
    out.rate = rate;
    out.sourceBits = 16;
    return true;
}

}  // namespace Tuvo
