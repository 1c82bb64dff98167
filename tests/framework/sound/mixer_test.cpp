// The mixer on plain buffers: volume, pan, summing, clipping, resampling, looping, streams, and
// the fast path against the general one.
#include "framework/sound/mixer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "framework/sound/tone_helpers.h"
#include "platform/random.h"

namespace Tuvo {
namespace {

using SoundTest::ToneAmplitude;

MixerVoice VoiceFor(const SoundBuffer& sound, float left = 1.0f, float right = 1.0f) {
    return {.samples = sound.samples.data(),
            .frames = static_cast<uint32_t>(sound.Frames()),
            .channels = sound.channels,
            .step = Mixer::StepFor(sound.rate),
            .gainLeft = left,
            .gainRight = right,
            .playing = true};
}

std::vector<int16_t> Render(Mixer& mixer, int frames) {
    std::vector<int16_t> out(2 * frames, 1234);
    mixer.Render(out.data(), frames);
    return out;
}

TEST(Mixer, PlaysMonoOnBothSidesStereoOnItsOwnSumsWithClippingAndLoops) {
    const SoundBuffer sound{.channels = 1, .rate = 44100, .samples = {1000, -2000, 30000, -32768}};
    Mixer mixer;
    MixerVoice voice = VoiceFor(sound, 1.0f, 0.5f);
    ASSERT_TRUE(mixer.AddVoice(&voice));
    EXPECT_EQ(Render(mixer, 6), (std::vector<int16_t>{1000, 500, -2000, -1000, 30000, 15000, -32768,
                                                      -16384, 0, 0, 0, 0}));
    EXPECT_FALSE(voice.playing);
    EXPECT_EQ(voice.position, 0u);

    // Stereo sources keep their sides and sum with mono ones, clipping at both ends.
    const SoundBuffer a{.channels = 2, .rate = 44100, .samples = {20000, -30000, 100, 200}};
    const SoundBuffer b{.channels = 1, .rate = 44100, .samples = {20000, 50}};
    const SoundBuffer c{.channels = 2, .rate = 44100, .samples = {0, -30000}};
    MixerVoice first = VoiceFor(a);
    MixerVoice second = VoiceFor(b);
    MixerVoice third = VoiceFor(c);
    ASSERT_TRUE(mixer.AddVoice(&first));
    ASSERT_TRUE(mixer.AddVoice(&second));
    ASSERT_TRUE(mixer.AddVoice(&third));
    EXPECT_FALSE(mixer.AddVoice(&second));  // already there
    EXPECT_EQ(Render(mixer, 2), (std::vector<int16_t>{32767, -32768, 150, 250}));

    // Looping voices wrap around.
    const SoundBuffer cycle{.channels = 1, .rate = 44100, .samples = {1, 2, 3}};
    MixerVoice looping = VoiceFor(cycle);
    looping.looping = true;
    ASSERT_TRUE(mixer.AddVoice(&looping));
    EXPECT_EQ(Render(mixer, 7), (std::vector<int16_t>{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 1, 1}));
    EXPECT_TRUE(looping.playing);
    // A looping resampled voice interpolates into its first frame at the seam: halfway from 3
    // back to 1.
    looping.step = Mixer::StepFor(22050);
    looping.position = uint64_t{2} << 32;
    EXPECT_EQ(Render(mixer, 2), (std::vector<int16_t>{3, 3, 2, 2}));
}

TEST(Mixer, ResamplesAKnownSine) {
    // 1000 Hz at 22050 Hz played at the mixer's 44100 Hz: still 1000 Hz, twice as many frames.
    SoundBuffer sound{.channels = 1, .rate = 22050, .samples = std::vector<int16_t>(4410)};
    for (size_t i = 0; i < sound.samples.size(); ++i) {
        sound.samples[i] =
            static_cast<int16_t>(std::lround(16000.0 * std::sin(2 * M_PI * 1000 * i / 22050.0)));
    }
    Mixer mixer;
    MixerVoice voice = VoiceFor(sound);
    ASSERT_TRUE(mixer.AddVoice(&voice));
    const std::vector<int16_t> out = Render(mixer, 8820);
    EXPECT_FALSE(voice.playing);
    EXPECT_NEAR(ToneAmplitude(out.data(), 8800, 2, 44100, 1000.0), 16000.0, 300.0);
    EXPECT_LT(ToneAmplitude(out.data(), 8800, 2, 44100, 2000.0), 300.0);
    EXPECT_NEAR(ToneAmplitude(out.data() + 1, 8800, 2, 44100, 1000.0), 16000.0, 300.0);
}

TEST(Mixer, FastPathMatchesTheGeneralPath) {
    Platform::RandomGenerator random(1234);
    std::vector<SoundBuffer> sounds;
    for (int i = 0; i < 12; ++i) {
        SoundBuffer sound{.channels = 1 + i % 2, .rate = 44100};
        sound.samples.resize(sound.channels * (200 + random.Next() % 2000));
        for (int16_t& sample : sound.samples) {
            sample = static_cast<int16_t>(random.Next() * 2 - 32768);
        }
        sounds.push_back(std::move(sound));
    }
    auto mixAll = [&](bool fast) {
        Mixer mixer;
        mixer.SetFastPaths(fast);
        std::vector<MixerVoice> voices;
        for (size_t i = 0; i < sounds.size(); ++i) {
            voices.push_back(VoiceFor(sounds[i], 0.1f * (i % 10), 1.0f - 0.07f * i));
            voices.back().looping = i % 3 == 0;
        }
        for (MixerVoice& voice : voices) {
            mixer.AddVoice(&voice);
        }
        return Render(mixer, 3000);
    };
    EXPECT_EQ(mixAll(true), mixAll(false));
}

TEST(Mixer, OutputGainAndStreams) {
    class ConstantStream : public MixerStream {
    public:
        void MixInto(int32_t* accumulator, int frames) override {
            for (int i = 0; i < frames; ++i) {
                accumulator[2 * i] += 4000;
                accumulator[2 * i + 1] -= 4000;
            }
        }
    } stream;
    Mixer mixer;
    ASSERT_TRUE(mixer.AddStream(&stream));
    mixer.SetOutputGain(0.5f);
    const std::vector<int16_t> out = Render(mixer, 700);  // more than one internal chunk
    EXPECT_EQ(out[0], 2000);
    EXPECT_EQ(out[1], -2000);
    EXPECT_EQ(out[1399], -2000);
    EXPECT_TRUE(mixer.RemoveStream(&stream));
    EXPECT_EQ(Render(mixer, 600), std::vector<int16_t>(1200, 0));  // nothing left: silence
}

TEST(Mixer, HoldsAtMostThirtyTwoVoices) {
    std::vector<MixerVoice> voices(kMixerVoices + 1);
    Mixer mixer;
    for (int i = 0; i < kMixerVoices; ++i) {
        ASSERT_TRUE(mixer.AddVoice(&voices[i]));
    }
    EXPECT_FALSE(mixer.AddVoice(&voices[kMixerVoices]));
    EXPECT_EQ(mixer.VoiceCount(), kMixerVoices);
    EXPECT_TRUE(mixer.RemoveVoice(&voices[3]));
    EXPECT_FALSE(mixer.RemoveVoice(&voices[3]));
    EXPECT_TRUE(mixer.AddVoice(&voices[kMixerVoices]));
}

}  // namespace
}  // namespace Tuvo
