// The sound manager: id and channel limits, playbacks and their reuse, volumes, loading
// through the formats and the decoded-sound cache, and playing into a device.
#include "framework/sound/dsound_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/sound/decibels.h"
#include "framework/sound/tone_helpers.h"
#include "framework/sound/wav_file.h"
#include "support/temp_folder.h"

namespace Tuvo {
namespace {

using SoundTest::ReadDataFile;

class DSoundManagerTest : public testing::Test {
protected:
    DSoundManagerTest() : inFolder_(folder_.Path()) {
        auto device = std::make_unique<Platform::BufferAudioDevice>();
        device_ = device.get();
        manager_ = std::make_unique<DSoundManager>(std::move(device), false, &clock_);
        manager_->SetCacheFolder(folder_.File("cache"));
        // Ten mono frames of 1000 at 44100 Hz.
        folder_.Write(
            "Sound/beep.wav",
            EncodeWav({.channels = 1, .rate = 44100, .samples = std::vector<int16_t>(10, 1000)}));
    }

    std::vector<int16_t> Pull(int frames) {
        std::vector<int16_t> out(2 * frames);
        device_->Pull(out.data(), frames);
        return out;
    }

    TestSupport::TempFolder folder_;
    TestSupport::ScopedCurrentDirectory inFolder_;
    Platform::BufferAudioDevice* device_ = nullptr;
    Platform::ManualClock clock_;
    std::unique_ptr<DSoundManager> manager_;
};

// Ids run from 0 to 255. The 33rd playback waits for a finished one; stopping all sounds keeps
// each playback's auto-release, so a second later the sweep hands those back together; a plain
// Stop clears it.
TEST_F(DSoundManagerTest, IdLimitsAndPlaybackChannelsReusedWhenFinishedAndSweptWhenAutoReleased) {
    for (const int id : {300, 256, -1}) {
        EXPECT_FALSE(manager_->LoadSound(id, "Sound\\beep")) << id;
    }
    EXPECT_FALSE(manager_->SetInstanceVolume(256, 0.5));
    EXPECT_TRUE(manager_->SetInstanceVolume(255, 0.5));
    EXPECT_EQ(manager_->CreateInstance(256), nullptr);
    EXPECT_EQ(manager_->CreateInstance(7), nullptr);  // nothing loaded there
    ASSERT_TRUE(manager_->LoadSound(255, "Sound\\beep"));
    EXPECT_EQ(manager_->SoundDataSize(255), 20u);
    EXPECT_FALSE(manager_->LoadSound(1, "Sound\\missing"));
    EXPECT_EQ(manager_->Sound(1), nullptr);

    std::vector<SoundInstance*> instances;
    for (int i = 0; i < kPlaybackChannels; ++i) {
        instances.push_back(manager_->CreateInstance(255));
        ASSERT_NE(instances.back(), nullptr);
        ASSERT_TRUE(instances.back()->Play(true, i % 2 == 0));
        EXPECT_TRUE(instances.back()->IsPlaying());
    }
    EXPECT_EQ(manager_->CreateInstance(255), nullptr);  // all 32 busy: nothing plays
    manager_->StopAllSounds();
    EXPECT_FALSE(instances[0]->IsPlaying());
    instances[4]->Stop();
    EXPECT_FALSE(static_cast<DSoundInstance*>(instances[4])->AutoRelease());
    ASSERT_NE(manager_->CreateInstance(255), nullptr);  // takes the finished channel 0
    EXPECT_EQ(manager_->LiveChannels(), kPlaybackChannels);
    clock_.Advance(1001);  // the sweep frees the 14 other even channels but 4
    ASSERT_NE(manager_->CreateInstance(255), nullptr);
    EXPECT_EQ(manager_->LiveChannels(), kPlaybackChannels - 14 + 1);
}

TEST_F(DSoundManagerTest, PlaysIntoTheDeviceAtItsVolumes) {
    ASSERT_TRUE(manager_->LoadSound(2, "Sound\\beep"));
    SoundInstance* instance = manager_->CreateInstance(2);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(Pull(1)[0], 0);  // made, not yet playing
    instance->SetPan(kPanRight);
    ASSERT_TRUE(instance->Play(false, false));
    // The left side is attenuated by 100 dB; ten frames, then silence.
    EXPECT_EQ(Pull(11), (std::vector<int16_t>{0, 1000, 0, 1000, 0, 1000, 0, 1000, 0, 1000, 0, 1000,
                                              0, 1000, 0, 1000, 0, 1000, 0, 1000, 0, 0}));
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_FALSE(instance->IsReleased());  // no auto-release: it stays

    manager_->SetMasterVolume(0.5);
    EXPECT_DOUBLE_EQ(manager_->GetMasterVolume(), 32768.0 / 65535.0);
    instance->SetPan(0);
    instance->Play(true, false);
    EXPECT_EQ(Pull(1)[0], 500);
    // A released sound keeps its playing playbacks valid.
    manager_->ReleaseSound(2);
    EXPECT_EQ(Pull(3)[4], 500);

    // A sound's instance volume, the pan and the manager's volume make each side's gain.
    ASSERT_TRUE(manager_->LoadSound(1, "Sound\\beep"));
    ASSERT_TRUE(manager_->SetInstanceVolume(1, 0.5));
    auto* quiet = static_cast<DSoundInstance*>(manager_->CreateInstance(1));
    ASSERT_NE(quiet, nullptr);
    quiet->SetPan(-600);
    EXPECT_FLOAT_EQ(quiet->GainLeft(), DecibelsToGain(-605));
    EXPECT_FLOAT_EQ(quiet->GainRight(), DecibelsToGain(-605) * DecibelsToGain(-600));
    manager_->SetVolume(0.5);  // live playbacks follow the manager's volume: 0.25 overall
    EXPECT_FLOAT_EQ(quiet->GainLeft(), DecibelsToGain(VolumeToDecibels(0.25)));
}

TEST_F(DSoundManagerTest, CompressedSoundsAreCachedAndRevalidated) {
    const std::string source =
        folder_.Write("Sound/tone.ogg", ReadDataFile("tone440_mono_22050.ogg"));
    ASSERT_TRUE(manager_->LoadSound(4, "Sound\\tone"));
    const SoundBuffer decoded = *manager_->Sound(4);
    EXPECT_EQ(decoded.Frames(), 11025u);

    EXPECT_EQ(manager_->CachePath("Sound\\tone"), folder_.File("cache/Sound/tone.wav"));
    std::string cache = folder_.Read("cache/Sound/tone.wav");
    ASSERT_NE(cache.find("Sound\\tone.ogg"), std::string::npos);  // the "dep " chunk names it

    // The next load reads the cache: change one sample there and see it come back.
    const size_t lastByte = cache.size() - 1;
    cache[lastByte] = static_cast<char>(cache[lastByte] ^ 0x40);
    folder_.Write("cache/Sound/tone.wav", cache);
    ASSERT_TRUE(manager_->LoadSound(5, "Sound\\tone"));
    EXPECT_NE(manager_->Sound(5)->samples.back(), decoded.samples.back());

    // The source changes: the stale entry is ignored, the sound decoded again and re-cached.
    std::filesystem::last_write_time(
        source, std::filesystem::last_write_time(source) + std::chrono::seconds(10));
    ASSERT_TRUE(manager_->LoadSound(6, "Sound\\tone"));
    EXPECT_EQ(manager_->Sound(6)->samples, decoded.samples);
    EXPECT_NE(folder_.Read("cache/Sound/tone.wav"), cache);
    ASSERT_TRUE(manager_->LoadSound(7, "Sound\\tone"));
    EXPECT_EQ(manager_->Sound(7)->samples, decoded.samples);

    // A damaged cache file is ignored too.
    folder_.Write("cache/Sound/tone.wav", "RIFF garbage");
    ASSERT_TRUE(manager_->LoadSound(8, "Sound\\tone"));
    EXPECT_EQ(manager_->Sound(8)->samples, decoded.samples);

    // Formats are tried in order: a plain WAV wins and is not cached.
    folder_.Write("Sound/beep.ogg", ReadDataFile("tone440_mono_22050.ogg"));
    ASSERT_TRUE(manager_->LoadSound(1, "Sound\\beep"));
    EXPECT_EQ(manager_->Sound(1)->Frames(), 10u);
    EXPECT_FALSE(std::filesystem::exists(folder_.File("cache/Sound/beep.wav")));
    // Names that would leave the cache folder (or name none) have no cache path.
    for (const std::string& name :
         {std::string("Sound\\..\\..\\up"), folder_.File("x"), std::string("ab")}) {
        EXPECT_EQ(manager_->CachePath(name), "") << name;
    }
}

// All loaded sounds share one budget: a load past it fails and leaves no cache file behind;
// releasing a sound makes room again.
TEST_F(DSoundManagerTest, LoadedSoundsStayWithinTheirBudget) {
    manager_->SetLoadedSoundBudget(22050 + 20);  // the tone and one short WAV
    folder_.Write("Sound/tone.ogg", ReadDataFile("tone440_mono_22050.ogg"));
    folder_.Write("Sound/again.ogg", ReadDataFile("tone440_mono_22050.ogg"));
    ASSERT_TRUE(manager_->LoadSound(1, "Sound\\tone"));
    ASSERT_TRUE(manager_->LoadSound(2, "Sound\\beep"));
    EXPECT_EQ(manager_->LoadedSoundBytes(), 22050u + 20u);
    EXPECT_FALSE(manager_->LoadSound(3, "Sound\\again"));
    EXPECT_FALSE(manager_->LoadSound(4, "Sound\\beep"));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("cache/Sound/again.wav")));
    // Cached or not, the budget is the same.
    EXPECT_FALSE(manager_->LoadSound(5, "Sound\\tone"));
    EXPECT_EQ(manager_->Sound(5), nullptr);

    manager_->ReleaseSound(1);
    EXPECT_TRUE(manager_->LoadSound(3, "Sound\\again"));
    EXPECT_EQ(manager_->LoadedSoundBytes(), 22050u + 20u);
}

TEST_F(DSoundManagerTest, WithoutADeviceLoadsFailAndPlaybacksAreSilent) {
    DSoundManager manager(nullptr, false);
    EXPECT_FALSE(manager.Initialized());
    EXPECT_FALSE(manager.LoadSound(1, "Sound\\beep"));
    EXPECT_EQ(manager.LoadSound("Sound\\beep"), -1);
    SoundInstance* instance = manager.CreateInstance(1);
    ASSERT_NE(instance, nullptr);
    EXPECT_FALSE(instance->Play(false, true));
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_TRUE(instance->IsReleased());  // played silently: handed back
}

}  // namespace
}  // namespace Tuvo
