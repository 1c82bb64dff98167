// WAV reading (chunk rules, formats, the cache's "dep " and "xor " chunks) and writing.
#include "framework/sound/wav_file.h"

#include <gtest/gtest.h>

#include "framework/sound/tone_helpers.h"

namespace Tuvo {
namespace {

using SoundTest::Describe;

// `value` as `bytes` little-endian bytes.
std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    return out;
}

std::string Chunk(const char* id, const std::string& body, int sizeAdjust = 0) {
    return std::string(id, 4) + Le(static_cast<uint32_t>(body.size() + sizeAdjust), 4) + body;
}

std::string Fmt(int tag, int channels, uint32_t rate, int bits, size_t extra = 0) {
    return Chunk("fmt ", Le(tag, 2) + Le(channels, 2) + Le(rate, 4) +
                             Le(rate * channels * bits / 8, 4) + Le(channels * bits / 8, 2) +
                             Le(bits, 2) + std::string(extra, '\0'));
}

std::string Riff(const std::string& chunks) {
    return "RIFF" + Le(0, 4) + "WAVE" + chunks;
}

std::string Samples16(std::initializer_list<int> values, uint8_t scramble = 0) {
    std::string out;
    for (const int value : values) {
        for (const char byte : Le(static_cast<uint32_t>(value), 2)) {
            out.push_back(static_cast<char>(byte ^ scramble));
        }
    }
    return out;
}

bool Read(const std::string& file, SoundBuffer& out, const FileTimeQuery& times = nullptr) {
    std::string error;
    return ReadWav(reinterpret_cast<const uint8_t*>(file.data()), file.size(), times, out, error);
}

TEST(WavFile, ReadsEachLayoutAndRejectsWhatItCannotPlay) {
    const std::pair<std::string, std::string> good[] = {
        {Riff(Fmt(1, 2, 44100, 16) + Chunk("LIST", "INFOsomething") +
              Chunk("data", Samples16({1, -2, 300, -32768}))),
         "2 x 44100: 1 -2 300 -32768"},
        // Before any format chunk: mono at 22050 Hz.
        {Riff(Chunk("data", Samples16({5, 6, 7}))), "1 x 22050: 5 6 7"},
        // An 18-byte format chunk (with the extension size) is skipped by its own size.
        {Riff(Fmt(1, 1, 8000, 16, 2) + Chunk("data", Samples16({9}))), "1 x 8000: 9"},
        {Riff(Fmt(1, 1, 11025, 8) + Chunk("data", std::string("\x00\x80\xFF", 3))),
         "1 x 11025: -32768 0 32512"},
        // An "xor " chunk unscrambles the data after it.
        {Riff(Fmt(1, 1, 22050, 16) + Chunk("xor ", "\x5A") +
              Chunk("data", Samples16({0x1234, -2}, 0x5A))),
         "1 x 22050: 4660 -2"},
    };
    SoundBuffer sound;
    for (const auto& [file, expected] : good) {
        ASSERT_TRUE(Read(file, sound)) << expected;
        EXPECT_EQ(Describe(sound), expected);
    }

    const size_t limit = kMaxDecodedSoundBytes;
    const std::string bad[] = {
        Riff(Fmt(3, 1, 44100, 32) + Chunk("data", "abcd")),
        Riff(Fmt(1, 1, 44100, 24) + Chunk("data", "abc")),
        Riff(Fmt(1, 0, 44100, 16) + Chunk("data", "ab")),
        Riff(Fmt(1, 1, 0, 16) + Chunk("data", "ab")),
        Riff(Fmt(1, 2, 44100, 16) + Chunk("data", "ab")),  // no whole frame
        Riff(Fmt(1, 1, 44100, 16)),                        // no data chunk
        Riff(Fmt(1, 1, 44100, 16) + Chunk("LIST", "xx", 1000) + Chunk("data", "ab")),
        std::string("RIFF\0\0\0\0AVI data", 16),
        // Too long once decoded: 8-bit data within the limit whose widened samples are not.
        Riff(Fmt(1, 1, 44100, 8) + Chunk("data", std::string(limit / 2 + 1, '\x80'))),
        Riff(Fmt(1, 2, 44100, 16) + Chunk("data", std::string(limit + 4, '\0'))),
    };
    for (const std::string& file : bad) {
        EXPECT_FALSE(Read(file, sound)) << file.substr(0, 40);
        EXPECT_TRUE(sound.Empty());
    }
    EXPECT_TRUE(
        Read(Riff(Fmt(1, 1, 44100, 8) + Chunk("data", std::string(limit / 2, '\x80'))), sound));
    std::string error;
    EXPECT_FALSE(ReadWav(nullptr, 0, nullptr, sound, error));
    const std::string past = Riff(Fmt(1, 1, 44100, 16) + Chunk("data", "ab", 2));
    EXPECT_FALSE(
        ReadWav(reinterpret_cast<const uint8_t*>(past.data()), past.size(), nullptr, sound, error));
    EXPECT_EQ(error, "a chunk runs past the end of the file");
}

// The cache file's layout field by field; it reads back while its source keeps its time, and
// every cut and every damaged size field is refused.
TEST(WavFile, CacheFileLayoutRoundTripAndDamage) {
    const SoundBuffer sound{.channels = 2, .rate = 32000, .samples = {100, -100, 0x7FFF, -0x8000}};
    const std::string name = "Sound\\click.ogg";
    const std::string file = EncodeCacheWav(sound, name, 0x0123456789ABCDEFull);
    const size_t xorAt = 44 + 2 + name.size() + 8;
    const size_t dataAt = xorAt + 9;
    const std::string expected =
        "RIFF" + Le(8 + 36, 4) + "WAVE" + Fmt(1, 2, 32000, 16) + "dep " + Le(name.size() + 10, 4) +
        Le(name.size(), 2) + name + Le(0x89ABCDEF, 4) + Le(0x01234567, 4) + "xor " + Le(1, 4) +
        "\xA3" + "data" + Le(8, 4) + Samples16({100, -100, 0x7FFF, -0x8000}, 0xA3);
    ASSERT_EQ(file, expected);

    uint64_t sourceTime = 0x0123456789ABCDEFull;
    const FileTimeQuery query = [&](const char* file, uint64_t& time) {
        time = sourceTime;
        return file == name && sourceTime != 0;
    };
    SoundBuffer back;
    ASSERT_TRUE(Read(file, back, query));
    EXPECT_EQ(Describe(back), Describe(sound));
    for (size_t length = 0; length < file.size(); ++length) {
        ASSERT_FALSE(Read(file.substr(0, length), back, query)) << length;
    }
    // Each size field at 0 and at its largest; only the RIFF size is ignored.
    const size_t sizeFields[] = {16, 40, 44, xorAt + 4, dataAt + 4};
    for (const uint32_t value : {0u, 0xFFFFFFFFu}) {
        for (const size_t at : sizeFields) {
            std::string damaged = file;
            damaged.replace(at, at == 44 ? 2 : 4, Le(value, at == 44 ? 2 : 4));
            EXPECT_FALSE(Read(damaged, back, query)) << at << " " << value;
        }
        EXPECT_TRUE(Read(file.substr(0, 4) + Le(value, 4) + file.substr(8), back, query));
    }
    sourceTime = 1;  // the source changed: the cache entry is stale
    EXPECT_FALSE(Read(file, back, query));
    sourceTime = 0;  // the source is gone
    EXPECT_FALSE(Read(file, back, query));
    EXPECT_FALSE(Read(file, back, nullptr));
    // A "dep " chunk too short for its time is damaged, even when the bytes after it would match.
    const std::string noTime = Riff(Chunk("dep ", Le(2, 2) + "ab") + Chunk("data", Samples16({1})));
    const FileTimeQuery followingBytes = [](const char*, uint64_t& time) {
        time = 0x0000000261746164ull;  // "data", 2, 0, 0, 0
        return true;
    };
    EXPECT_FALSE(Read(noTime, back, followingBytes));

    // Dependency names are cut at 255 bytes; a plain file has no dependency to check.
    const SoundBuffer three{.channels = 3, .rate = 48000, .samples = {1, 2, 3, -4, -5, -6}};
    std::string seen;
    const FileTimeQuery any = [&](const char* name, uint64_t& time) {
        seen = name;
        time = 7;
        return true;
    };
    ASSERT_TRUE(Read(EncodeCacheWav(three, std::string(300, 'a'), 7), back, any));
    EXPECT_EQ(seen, std::string(255, 'a'));
    const std::string plain = EncodeWav(three);
    EXPECT_EQ(plain, "RIFF" + Le(12 + 36, 4) + "WAVE" + Fmt(1, 3, 48000, 16) + "data" + Le(12, 4) +
                         Samples16({1, 2, 3, -4, -5, -6}));
    ASSERT_TRUE(Read(plain, back));
    EXPECT_EQ(Describe(back), Describe(three));
}

}  // namespace
}  // namespace Tuvo
