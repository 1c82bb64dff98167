// Ogg Vorbis decoding of the generated tone files: length, format and pitch, streamed and whole.
#include "framework/sound/ogg_decoder.h"

#include <gtest/gtest.h>

#include "framework/sound/tone_helpers.h"

namespace Tuvo {
namespace {

using SoundTest::ReadDataFile;
using SoundTest::ToneAmplitude;

std::unique_ptr<ByteSource> Source(const std::string& bytes) {
    return std::make_unique<MemoryByteSource>(reinterpret_cast<const uint8_t*>(bytes.data()),
                                              bytes.size());
}

// Each file holds half a second of a tone on the left (and another tone on the right).
TEST(OggDecoder, DecodesTonesToTheirLengthPitchAndChannels) {
    struct Case {
        const char* file;
        int channels;
        uint32_t rate;
        double left;   // the tone on the left
        double other;  // absent on the left; the tone on the right of a stereo file
    };
    for (const Case& c : {Case{"tone440_mono_22050.ogg", 1, 22050, 440.0, 660.0},
                          Case{"tone1000_stereo_44100.ogg", 2, 44100, 1000.0, 500.0}}) {
        SCOPED_TRACE(c.file);
        SoundBuffer sound;
        std::string error;
        ASSERT_TRUE(DecodeOgg(Source(ReadDataFile(c.file)), sound, error)) << error;
        EXPECT_EQ(sound.channels, c.channels);
        EXPECT_EQ(sound.rate, c.rate);
        EXPECT_EQ(sound.Frames(), c.rate / 2);
        const int16_t* middle = sound.samples.data() + c.channels * (c.rate / 10);
        const size_t frames = c.rate / 5;
        EXPECT_NEAR(ToneAmplitude(middle, frames, c.channels, c.rate, c.left), 16000.0, 1600.0);
        EXPECT_LT(ToneAmplitude(middle, frames, c.channels, c.rate, c.other), 500.0);
        if (c.channels == 2) {
            EXPECT_NEAR(ToneAmplitude(middle + 1, frames, 2, c.rate, c.other), 16000.0, 1600.0);
        }
    }
}

TEST(OggDecoder, StreamsInChunksAndSeeks) {
    OggDecoder decoder;
    std::vector<int16_t> chunk(1000);
    EXPECT_EQ(decoder.Read(chunk.data(), 1), -1);  // not open
    std::string error;
    ASSERT_TRUE(decoder.Open(Source(ReadDataFile("tone440_mono_22050.ogg")), error)) << error;
    EXPECT_EQ(decoder.TotalFrames(), 11025);
    long total = 0;
    long count = 0;
    while ((count = decoder.Read(chunk.data(), 1000)) > 0) {
        EXPECT_LE(count, 1000);
        total += count;
    }
    EXPECT_EQ(count, 0);
    EXPECT_EQ(total, 11025);

    ASSERT_TRUE(decoder.SeekFrame(11000));
    EXPECT_EQ(decoder.Read(chunk.data(), 1000), 25);
    EXPECT_FALSE(decoder.SeekFrame(-1));
}

TEST(OggDecoder, RejectsDamagedStreams) {
    SoundBuffer sound;
    std::string error;
    EXPECT_FALSE(DecodeOgg(Source("OggS but not really a vorbis stream at all"), sound, error));
    EXPECT_FALSE(DecodeOgg(nullptr, sound, error));

    // A damaged page in the middle: the announced length cannot be filled, so the load fails.
    std::string bytes = ReadDataFile("tone440_mono_22050.ogg");
    ASSERT_GT(bytes.size(), 3000u);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 400; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    }
    EXPECT_FALSE(DecodeOgg(Source(bytes), sound, error));
    EXPECT_TRUE(sound.Empty());
}

}  // namespace
}  // namespace Tuvo
