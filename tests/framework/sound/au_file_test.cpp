// AU files: the header, the encodings and damaged sizes.
#include "framework/sound/au_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/sound/tone_helpers.h"

namespace Tuvo {
namespace {

using SoundTest::Describe;

std::string AuFile(uint32_t offset, uint32_t size, uint32_t encoding, uint32_t rate,
                   uint32_t channels, const std::string& data) {
    std::string out = ".snd";
    for (const uint32_t value : {offset, size, encoding, rate, channels}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
    }
    out.resize(std::max<size_t>(offset, out.size()), '\0');  // room for an annotation
    return out + data;
}

bool Read(const std::string& file, SoundBuffer& out) {
    std::string error;
    return ReadAu(reinterpret_cast<const uint8_t*>(file.data()), file.size(), out, error);
}

TEST(AuFile, ReadsEachEncodingMuLawAndALawFollowingG711AndRejectsDamagedHeaders) {
    const std::pair<std::string, std::string> good[] = {
        {AuFile(24, 4, 1, 8000, 1, std::string("\xFF\x80\x7F\x00", 4)),
         "1 x 8000: 0 32124 0 -32124"},
        // Linear 16-bit samples are big-endian.
        {AuFile(32, 4, 3, 22050, 2, std::string("\x12\x34\xFF\xFE", 4)), "2 x 22050: 4660 -2"},
        {AuFile(24, 2, 2, 8000, 1, "\x7F\x80"), "1 x 8000: 32512 -32768"},
        {AuFile(24, 3, 27, 8000, 1, "\xD5\x55\xAA"), "1 x 8000: 8 -8 32256"},
        // An unknown or oversized data size uses what is there, in whole frames.
        {AuFile(24, 0xFFFFFFFFu, 1, 8000, 1, "\xFF\xFF\xFF"), "1 x 8000: 0 0 0"},
        {AuFile(24, 1000, 3, 8000, 1, std::string("\x00\x01\x00", 3)), "1 x 8000: 1"},
    };
    SoundBuffer sound;
    for (const auto& [file, expected] : good) {
        ASSERT_TRUE(Read(file, sound)) << expected;
        EXPECT_EQ(Describe(sound), expected);
    }

    EXPECT_FALSE(Read(AuFile(24, 2, 5, 8000, 1, "ab"), sound));    // 32-bit float: not read
    EXPECT_FALSE(Read(AuFile(16, 2, 1, 8000, 1, "ab"), sound));    // offset inside the header
    EXPECT_FALSE(Read(AuFile(24, 2, 1, 8000, 1, ""), sound));      // no samples
    EXPECT_FALSE(Read(AuFile(24, 2, 1, 8000, 0, "ab"), sound));    // no channels
    EXPECT_FALSE(Read(AuFile(24, 2, 1, 8000, 100, "ab"), sound));  // too many channels
    EXPECT_FALSE(Read(AuFile(24, 2, 1, 0, 1, "ab"), sound));       // no rate
    std::string shortOffset = AuFile(24, 2, 1, 8000, 1, "ab");
    shortOffset[7] = 100;  // the data would start past the end
    EXPECT_FALSE(Read(shortOffset, sound));
    EXPECT_FALSE(Read("RIFF1234", sound));
    EXPECT_TRUE(sound.Empty());
}

}  // namespace
}  // namespace Tuvo
