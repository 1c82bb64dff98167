// WAV reading (chunk rules, formats, the cache's "dep " and "xor " chunks) and writing.
#include "framework/sound/wav_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace Tuvo {
namespace {

// Builds a WAV file chunk by chunk.
class WavBuilder {
public:
    WavBuilder() : bytes_("RIFF\0\0\0\0WAVE", 12) {}

    WavBuilder& Chunk(const char* id, const std::string& body, int sizeAdjust = 0) {
        bytes_.append(id, 4);
        Put32(static_cast<uint32_t>(static_cast<int>(body.size()) + sizeAdjust));
        bytes_ += body;
        return *this;
    }

    WavBuilder& Format(int tag, int channels, uint32_t rate, int bits, size_t extra = 0) {
        std::string body;
        Add16(body, tag);
        Add16(body, channels);
        Add32(body, rate);
        Add32(body, rate * channels * bits / 8);
        Add16(body, channels * bits / 8);
        Add16(body, bits);
        body.append(extra, '\0');
        return Chunk("fmt ", body);
    }

    bool Read(SoundBuffer& out, std::string& error, const FileTimeQuery& times = nullptr) const {
        return ReadWav(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size(), times, out,
                       error);
    }

    static void Add16(std::string& out, int value) {
        out.push_back(static_cast<char>(value & 0xFF));
        out.push_back(static_cast<char>((value >> 8) & 0xFF));
    }
    static void Add32(std::string& out, uint32_t value) {
        Add16(out, static_cast<int>(value & 0xFFFF));
        Add16(out, static_cast<int>(value >> 16));
    }

private:
    void Put32(uint32_t value) { Add32(bytes_, value); }
    std::string bytes_;
};

bool ReadFile(const std::string& file, const FileTimeQuery& times, SoundBuffer& out) {
    std::string error;
    return ReadWav(reinterpret_cast<const uint8_t*>(file.data()), file.size(), times, out, error);
}

std::string Samples16(std::initializer_list<int> values) {
    std::string out;
    for (const int value : values) {
        WavBuilder::Add16(out, value);
    }
    return out;
}

TEST(WavFile, ReadsPcmWithItsFormatDefaultsAndScrambling) {
    SoundBuffer sound;
    std::string error;
    ASSERT_TRUE(WavBuilder()
                    .Format(1, 2, 44100, 16)
                    .Chunk("LIST", "INFOsomething")
                    .Chunk("data", Samples16({1, -2, 300, -32768}))
                    .Read(sound, error))
        << error;
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.rate, 44100u);
    EXPECT_EQ(sound.Frames(), 2u);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, -2, 300, -32768}));

    // Before any format chunk: mono at 22050 Hz.
    ASSERT_TRUE(WavBuilder().Chunk("data", Samples16({5, 6, 7})).Read(sound, error));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.rate, 22050u);
    EXPECT_EQ(sound.Frames(), 3u);

    // An 18-byte format chunk (with the extension size) is skipped by its own size.
    ASSERT_TRUE(
        WavBuilder().Format(1, 1, 8000, 16, 2).Chunk("data", Samples16({9})).Read(sound, error))
        << error;
    EXPECT_EQ(sound.rate, 8000u);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{9}));

    // Eight-bit samples are widened.
    ASSERT_TRUE(WavBuilder()
                    .Format(1, 1, 11025, 8)
                    .Chunk("data", std::string("\x00\x80\xFF", 3))
                    .Read(sound, error));
    EXPECT_EQ(sound.sourceBits, 8);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{-32768, 0, 127 * 256}));

    // An "xor " chunk unscrambles the data after it.
    std::string data = Samples16({0x1234, -2});
    for (char& byte : data) {
        byte = static_cast<char>(byte ^ 0x5A);
    }
    ASSERT_TRUE(WavBuilder()
                    .Format(1, 1, 22050, 16)
                    .Chunk("xor ", "\x5A")
                    .Chunk("data", data)
                    .Read(sound, error));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{0x1234, -2}));
}

TEST(WavFile, RejectsWhatItCannotPlay) {
    SoundBuffer sound;
    std::string error;
    EXPECT_FALSE(WavBuilder().Format(3, 1, 44100, 32).Chunk("data", "abcd").Read(sound, error));
    EXPECT_FALSE(WavBuilder().Format(1, 1, 44100, 24).Chunk("data", "abc").Read(sound, error));
    EXPECT_FALSE(WavBuilder().Format(1, 0, 44100, 16).Chunk("data", "ab").Read(sound, error));
    EXPECT_FALSE(WavBuilder().Format(1, 1, 0, 16).Chunk("data", "ab").Read(sound, error));
    EXPECT_FALSE(WavBuilder().Format(1, 2, 44100, 16).Chunk("data", "ab").Read(sound, error));
    EXPECT_FALSE(WavBuilder().Format(1, 1, 44100, 16).Read(sound, error));  // no data chunk
    EXPECT_TRUE(sound.Empty());

    EXPECT_FALSE(ReadFile(std::string("RIFF\0\0\0\0AVI data", 16), nullptr, sound));
    EXPECT_FALSE(ReadWav(nullptr, 0, nullptr, sound, error));

    // Too long once decoded: 16-bit data over the limit, and 8-bit data whose file bytes are
    // within it but whose widened samples are not.
    const size_t limit = kMaxDecodedSoundBytes;
    EXPECT_TRUE(WavBuilder()
                    .Format(1, 1, 44100, 8)
                    .Chunk("data", std::string(limit / 2, '\x80'))
                    .Read(sound, error));
    EXPECT_FALSE(WavBuilder()
                     .Format(1, 1, 44100, 8)
                     .Chunk("data", std::string(limit / 2 + 1, '\x80'))
                     .Read(sound, error));
    EXPECT_FALSE(WavBuilder()
                     .Format(1, 2, 44100, 16)
                     .Chunk("data", std::string(limit + 4, '\0'))
                     .Read(sound, error));
}

TEST(WavFile, ChunksRunningPastTheFileAreRejected) {
    SoundBuffer sound;
    std::string error;
    EXPECT_FALSE(WavBuilder()
                     .Format(1, 1, 44100, 16)
                     .Chunk("data", Samples16({1, 2}), 2)
                     .Read(sound, error));
    EXPECT_EQ(error, "a chunk runs past the end of the file");
    EXPECT_FALSE(WavBuilder()
                     .Format(1, 1, 44100, 16)
                     .Chunk("LIST", "xx", 1000)
                     .Chunk("data", Samples16({1, 2}))
                     .Read(sound, error));
    EXPECT_TRUE(sound.Empty());
}

TEST(WavFile, CacheFileLayoutAndRoundTrip) {
    const SoundBuffer sound{.channels = 2, .rate = 32000, .samples = {100, -100, 0x7FFF, -0x8000}};
    const std::string name = "Sound\\click.ogg";
    const std::string file = EncodeCacheWav(sound, name, 0x0123456789ABCDEFull);

    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    auto read32 = [&](size_t at) {
        return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (bytes[at + 3] << 24);
    };
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(read32(4), 8 + 36);
    EXPECT_EQ(file.substr(12, 4), "fmt ");
    EXPECT_EQ(read32(16), 16);
    EXPECT_EQ(read32(28), 32000 * 4);  // average bytes per second
    EXPECT_EQ(file.substr(36, 4), "dep ");
    EXPECT_EQ(read32(40), static_cast<int>(name.size()) + 10);
    const size_t xorAt = 44 + 2 + name.size() + 8;
    EXPECT_EQ(file.substr(xorAt, 4), "xor ");
    EXPECT_EQ(bytes[xorAt + 8], 0xA3);
    const size_t dataAt = xorAt + 9;
    EXPECT_EQ(file.substr(dataAt, 4), "data");
    EXPECT_EQ(read32(dataAt + 4), 8);
    EXPECT_EQ(bytes[dataAt + 8], 100 ^ 0xA3);  // the PCM is stored scrambled
    EXPECT_EQ(file.size(), dataAt + 8 + 8);

    // The "dep " chunk names the source; the entry holds while the source has the same time.
    uint64_t sourceTime = 0x0123456789ABCDEFull;
    const FileTimeQuery query = [&](const char* file, uint64_t& time) {
        time = sourceTime;
        return file == name && sourceTime != 0;
    };
    SoundBuffer back;
    ASSERT_TRUE(ReadFile(file, query, back));
    EXPECT_EQ(back.samples, sound.samples);
    EXPECT_EQ(back.channels, 2);
    EXPECT_EQ(back.rate, 32000u);

    sourceTime = 1;  // the source changed: the cache entry is stale
    EXPECT_FALSE(ReadFile(file, query, back));
    sourceTime = 0;  // the source is gone
    EXPECT_FALSE(ReadFile(file, query, back));
    EXPECT_FALSE(ReadFile(file, nullptr, back));
}

// Dependency names are cut at 255 bytes; a plain file has no dependency to check.
TEST(WavFile, LongDependencyNamesAreCutAndPlainFilesReadBack) {
    const SoundBuffer sound{.channels = 3, .rate = 48000, .samples = {1, 2, 3, -4, -5, -6}};
    std::string seen;
    const FileTimeQuery query = [&](const char* name, uint64_t& time) {
        seen = name;
        time = 7;
        return true;
    };
    SoundBuffer back;
    ASSERT_TRUE(ReadFile(EncodeCacheWav(sound, std::string(300, 'a'), 7), query, back));
    EXPECT_EQ(seen, std::string(255, 'a'));

    const std::string file = EncodeWav(sound);
    EXPECT_EQ(file.size(), 44u + 12u);
    ASSERT_TRUE(ReadFile(file, nullptr, back));
    EXPECT_EQ(back.samples, sound.samples);
    EXPECT_EQ(back.channels, 3);
}

TEST(WavFile, DamagedDependencyChunkIsRejected) {
    SoundBuffer sound;
    std::string error;
    std::string dep;
    WavBuilder::Add16(dep, 40);  // claims 40 name bytes, holds 3
    dep += "abc";
    EXPECT_FALSE(WavBuilder()
                     .Format(1, 1, 22050, 16)
                     .Chunk("dep ", dep)
                     .Chunk("data", Samples16({1}))
                     .Read(sound, error, [](const char*, uint64_t& t) {
                         t = 0;
                         return true;
                     }));
}

}  // namespace
}  // namespace Tuvo
