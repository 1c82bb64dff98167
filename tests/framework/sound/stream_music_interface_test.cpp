// The streamed music back end: fading in step by step, streaming, seamless looping, resampling,
// volume, pause and load failures.
#include "framework/sound/stream_music_interface.h"

#include <gtest/gtest.h>

#include "framework/sound/dsound_manager.h"
#include "framework/sound/tone_helpers.h"
#include "support/temp_folder.h"

namespace Tuvo {
namespace {

using SoundTest::ReadDataFile;
using SoundTest::ToneAmplitude;

class StreamMusicTest : public testing::Test {
protected:
    StreamMusicTest() : inFolder_(folder_.Path()) {
        folder_.Write("Music/stereo.ogg", ReadDataFile("tone1000_stereo_44100.ogg"));
        folder_.Write("Music/mono.ogg", ReadDataFile("tone440_mono_22050.ogg"));
        auto device = std::make_unique<Platform::BufferAudioDevice>();
        device_ = device.get();
        sounds_ = std::make_unique<DSoundManager>(std::move(device), false);
        music_ = std::make_unique<StreamMusicInterface>(*sounds_);
    }

    // Pulls frames the way the device does, with an application update every 441 frames (10 ms).
    std::vector<int16_t> Play(int frames) {
        std::vector<int16_t> out(2 * frames);
        for (int done = 0; done < frames; done += 441) {
            device_->Pull(out.data() + 2 * done, std::min(441, frames - done));
            music_->Update();
        }
        return out;
    }

    TestSupport::TempFolder folder_;
    TestSupport::ScopedCurrentDirectory inFolder_;
    Platform::BufferAudioDevice* device_ = nullptr;
    std::unique_ptr<DSoundManager> sounds_;
    std::unique_ptr<StreamMusicInterface> music_;
};

TEST_F(StreamMusicTest, LoadFailuresAndAFadeInThatStopsAtTheMaxVolume) {
    folder_.Write("Music/bad.ogg", "not a stream");
    EXPECT_FALSE(music_->LoadMusic(0, "Music\\bad.ogg"));
    EXPECT_FALSE(music_->LoadMusic(0, "Music\\missing.ogg"));
    EXPECT_FALSE(music_->LoadMusic(0, "Music\\tune.mod"));
    DSoundManager silent(nullptr, false);
    StreamMusicInterface noDevice(silent);
    EXPECT_FALSE(noDevice.LoadMusic(0, "Music\\stereo.ogg"));
    noDevice.Update();
    ASSERT_TRUE(music_->LoadMusic(0, "Music\\mono.ogg"));
    // The next song replaces it; names match without regard to case.
    ASSERT_TRUE(music_->LoadMusic(0, "Music\\STEREO.OGG"));

    music_->SetTrackMaxVolume(0, 0.5);
    music_->FadeIn(0, 0, 0.25, false);
    EXPECT_DOUBLE_EQ(music_->TrackVolume(0), 0.0);  // at its current volume
    // Volume, channel percent and fade speed after each update: equal to the max, it is still
    // fading; above, it is set to the max and the fade is over.
    const double steps[][3] = {{0.25, 25.0, 0.25}, {0.5, 50.0, 0.25}, {0.5, 50.0, 0.0}};
    for (const auto& [volume, percent, speed] : steps) {
        music_->Update();
        EXPECT_DOUBLE_EQ(music_->TrackVolume(0), volume);
        EXPECT_DOUBLE_EQ(music_->ChannelVolumePercent(0), percent);
        EXPECT_DOUBLE_EQ(music_->FadeSpeed(0), speed);
    }
}

TEST_F(StreamMusicTest, StreamsLoopsWithoutAGapAndResamples) {
    ASSERT_TRUE(music_->LoadMusic(0, "Music\\stereo.ogg"));
    music_->FadeIn(0, 0, 1.0, false);
    EXPECT_LE(music_->BufferedFrames(0), StreamMusicInterface::kRingFrames);
    // The song is 22050 frames long and holds whole cycles, so the loop joins in phase.
    const std::vector<int16_t> out = Play(3 * 22050 + 2000);
    for (const int seam : {22050, 44100, 66150}) {
        const int16_t* window = out.data() + 2 * (seam - 1000);
        EXPECT_NEAR(ToneAmplitude(window, 2000, 2, 44100, 1000.0), 16000.0, 1600.0) << seam;
        EXPECT_NEAR(ToneAmplitude(window + 1, 2000, 2, 44100, 500.0), 16000.0, 1600.0) << seam;
    }
    EXPECT_TRUE(music_->IsPlaying(0));

    // A song at 22050 Hz is resampled to the mixer's rate.
    ASSERT_TRUE(music_->LoadMusic(3, "Music\\mono.ogg"));
    music_->StopAllMusic();
    music_->FadeIn(3, 0, 1.0, false);
    const std::vector<int16_t> mono = Play(8820);
    EXPECT_NEAR(ToneAmplitude(mono.data() + 2000, 4410, 2, 44100, 440.0), 16000.0, 1600.0);
    EXPECT_NEAR(ToneAmplitude(mono.data() + 2001, 4410, 2, 44100, 440.0), 16000.0, 1600.0);
    EXPECT_LT(ToneAmplitude(mono.data() + 2000, 4410, 2, 44100, 880.0), 800.0);
}

TEST_F(StreamMusicTest, VolumePauseAndStop) {
    ASSERT_TRUE(music_->LoadMusic(0, "Music\\stereo.ogg"));
    music_->SetVolume(0.25);
    music_->FadeIn(0, 0, 1.0, false);  // at full track volume from the first update on
    std::vector<int16_t> out = Play(4410 + 441);
    EXPECT_NEAR(ToneAmplitude(out.data() + 2 * 441, 4410, 2, 44100, 1000.0), 4000.0, 400.0);

    music_->PauseAllMusic();
    EXPECT_FALSE(music_->IsPlaying(0));
    const uint32_t buffered = music_->BufferedFrames(0);
    out = Play(441);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0);
    EXPECT_EQ(music_->BufferedFrames(0), buffered);
    music_->ResumeAllMusic();
    EXPECT_TRUE(music_->IsPlaying(0));
    music_->StopAllMusic();
    EXPECT_FALSE(music_->IsPlaying(0));
}

}  // namespace
}  // namespace Tuvo
