// Sound events: sound.ini parsing, sample loading and its limits, folder loading (disk and
// archive), the choice of an event's file, volumes, playing, and every log line.
#include "engine/ogg_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "engine/audio_volumes.h"
#include "engine/private_profile.h"
#include "engine/sound_playback.h"
#include "framework/archive/pak_format.h"
#include "framework/archive/pak_interface.h"
#include "framework/sound/decibels.h"
#include "framework/sound/dsound_manager.h"
#include "framework/sound/music_interface.h"
#include "framework/sound/wav_file.h"
#include "support/user_folder.h"

namespace Quillory {
namespace {

using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

// A tiny WAV whose every sample is `level`, so a test can tell which file played.
std::string LevelWav(int16_t level) {
    Tuvo::SoundBuffer sound;
    sound.channels = 1;
    sound.rate = 44100;
    sound.samples.assign(50, level);
    return Tuvo::EncodeWav(sound);
}

class RecordingMusic : public Tuvo::MusicInterface {
public:
    void SetVolume(double volume) override { volume_ = volume; }
    double volume_ = -1.0;
};

class OggManagerTest : public testing::Test {
protected:
    OggManagerTest() : inData_(data_.Path()) {
        user_.StartLog();
        auto device = std::make_unique<Platform::BufferAudioDevice>();
        device_ = device.get();
        sounds_ = std::make_unique<Tuvo::DSoundManager>(std::move(device), false);
        sounds_->SetCacheFolder(user_.File("cached"));
        playback_ = std::make_unique<SoundPlayback>(sounds_.get());
        manager_ = std::make_unique<COggManager>();
        manager_->Connect(playback_.get(), &music_);
        manager_->SetRandom(&random_);
    }
    int Count(const std::string& text) const { return user_.LogCount(text); }
    int16_t PullLeft() {
        int16_t frame[2] = {};
        device_->Pull(frame, 1);
        return frame[0];
    }

    TempFolder data_;
    TestSupport::TestUserFolder user_;
    ScopedCurrentDirectory inData_;
    Platform::BufferAudioDevice* device_ = nullptr;
    std::unique_ptr<Tuvo::DSoundManager> sounds_;
    std::unique_ptr<SoundPlayback> playback_;
    RecordingMusic music_;
    Platform::RandomGenerator random_{42};
    std::unique_ptr<COggManager> manager_;  // large: kept off the stack
};

TEST_F(OggManagerTest, ParsesEventsUpToTheFirstMissingFileWithinTheLimitsAndInit) {
    data_.Write("sound.ini",
                "[place_shape]\r\nvolume=0.5\r\nfile0=Sound\\a.wav\r\nfile2=Sound\\c.wav\r\n"
                "[empty]\r\nvolume=0.2\r\nfile1=Sound\\b.wav\r\n"
                "[loud]\r\nfile0=Sound\\a.wav\r\nfile1=Sound\\b.wav\r\nvolume=\r\n"
                "[place_shape]\r\nfile0=Sound\\b.wav\r\n");
    manager_->LoadSoundEvents("sound.ini");
    ASSERT_EQ(manager_->EventCount(), 4);
    const SoundEvent& first = manager_->Event(0);
    EXPECT_STREQ(first.name, "place_shape");
    EXPECT_FLOAT_EQ(first.volume, 0.5f);
    EXPECT_EQ(first.fileCount, 1);  // file1 is missing, so file2 is never read
    EXPECT_STREQ(first.files[0], "Sound\\a.wav");
    EXPECT_EQ(manager_->Event(1).fileCount, 0);
    EXPECT_EQ(manager_->Event(2).fileCount, 2);
    EXPECT_FLOAT_EQ(manager_->Event(2).volume, 1.0f);  // empty means absent
    EXPECT_EQ(Count("Loading sound events script: 4 events parsed"), 1);

    // A section name given twice reads as one section, as on Windows: the second record gets
    // the first one's keys, so it makes no difference which of them fires.
    EXPECT_STREQ(manager_->Event(3).files[0], "Sound\\a.wav");
    data_.Write("Sound/a.wav", LevelWav(1000));
    EXPECT_GE(manager_->PrepareEvent("place_shape"), 0);

    EXPECT_EQ(manager_->PrepareEvent("empty"), -1);
    EXPECT_EQ(manager_->PrepareEvent("missing"), -1);
    EXPECT_EQ(manager_->PrepareEvent("missing"), -1);
    EXPECT_EQ(manager_->PrepareEvent("Place_Shape"), -1);  // names are case-sensitive
    EXPECT_EQ(Count("Warning: couldn't find sound event - empty"), 1);
    EXPECT_EQ(Count("Warning: couldn't find sound event - missing"), 2);

    // The limits: 100 events, names that fit; then Init.
    std::string ini;
    for (int i = 0; i < 105; ++i) {
        ini += "[event" + std::to_string(i) + "]\r\nfile0=Sound\\x.wav\r\n";
    }
    ini += "[" + std::string(70, 'n') + "]\r\nfile0=Sound\\x.wav\r\n";
    data_.Write("sound.ini", ini);
    ClearProfileCache();
    manager_->LoadSoundEvents("sound.ini");
    EXPECT_EQ(manager_->EventCount(), kMaxSoundEvents);
    EXPECT_STREQ(manager_->Event(99).name, "event99");

    data_.Write("sound.ini", "[" + std::string(60, 'n') + "]\r\n[ok]\r\nfile0=Sound\\" +
                                 std::string(60, 'f') + ".wav\r\nfile1=Sound\\y.wav\r\n");
    ClearProfileCache();
    manager_->LoadSoundEvents("sound.ini");
    ASSERT_EQ(manager_->EventCount(), 1);  // the 60-character name does not fit
    EXPECT_STREQ(manager_->Event(0).name, "ok");
    EXPECT_EQ(manager_->Event(0).fileCount, 1);
    EXPECT_STREQ(manager_->Event(0).files[0], "Sound\\y.wav");
    EXPECT_EQ(Count("WARNING: sound event name too long"), 1);

    manager_->LoadSoundEvents("nothing.ini");
    EXPECT_EQ(manager_->EventCount(), 0);
    EXPECT_EQ(Count("Loading sound events script: 0 events parsed"), 1);

    // Init reads the volumes and "sound.ini".
    data_.Write("sound.ini", "[click]\r\nfile0=Sound\\click.wav\r\n");
    user_.Write("config.ini", "[OPTIONS]\r\nSfxVolume=0.3\r\n");
    ClearProfileCache();
    EXPECT_EQ(manager_->Init(), 1);
    EXPECT_FLOAT_EQ(manager_->MusicVolume(), 0.8f);
    EXPECT_FLOAT_EQ(manager_->SfxVolume(), 0.3f);
    EXPECT_EQ(manager_->EventCount(), 1);
    EXPECT_EQ(manager_->SampleCount(), 0);
}

TEST_F(OggManagerTest, LoadingSamplesLogsEachAttemptFindsTheExactSpellingAndKeepsTheLimit) {
    data_.Write("Sound/a.wav", LevelWav(1000));
    EXPECT_TRUE(manager_->LoadSound("Sound\\a.wav"));
    EXPECT_EQ(Count("Loading sound: 'Sound\\a.wav' ... OK"), 1);
    EXPECT_FALSE(manager_->LoadSound(".wav"));  // not longer than 4 characters
    EXPECT_FALSE(manager_->LoadSound("Sound\\a_wav"));
    EXPECT_FALSE(manager_->LoadSound("Sound\\gone.wav"));
    EXPECT_EQ(Count("Loading sound: '.wav' ... FAILED"), 1);
    EXPECT_EQ(manager_->FindSound("Sound\\gone.wav"), -1);
    EXPECT_EQ(Count("Loading sound: 'Sound\\gone.wav' ... FAILED"), 2);  // every attempt logs
    // Found under its exact spelling; another spelling loads again.
    EXPECT_EQ(manager_->FindSound("Sound\\a.wav"), 0);
    EXPECT_EQ(manager_->FindSound("sound\\a.wav"), 1);

    for (int i = 2; i < kMaxSamples; ++i) {
        ASSERT_TRUE(manager_->LoadSound("Sound\\a.wav"));
    }
    EXPECT_EQ(manager_->SampleCount(), kMaxSamples);
    EXPECT_FALSE(manager_->LoadSound("Sound\\a.wav"));
    EXPECT_EQ(Count("WARNING: COggManager::LoadMusicFile(): too many sound files"), 1);
}

TEST_F(OggManagerTest, FolderLoadsOggBeforeWavArchiveAndDiskAndSkipsSubfolders) {
    data_.Write("Sound/b.wav", LevelWav(1000));
    data_.Write("Sound/a.wav", LevelWav(1000));
    std::filesystem::copy_file(std::string(std::getenv("QUILLORY_SOURCE_DIR")) +
                                   "/tests/framework/sound/data/tone440_mono_22050.ogg",
                               data_.File("Sound/z.ogg"));
    data_.Write("Sound/deeper.ogg/x.wav", LevelWav(1));  // a folder named like a sound
    // The archive's nested file is reported as a folder.
    const std::string wav = LevelWav(1000);
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak({{"Sound\\in_pak.wav", 1111, {wav.begin(), wav.end()}},
                                {"Sound\\sub\\nested.wav", 1111, {wav.begin(), wav.end()}}},
                               archive));
    data_.Write("main.pak", std::string(archive.begin(), archive.end()));
    Tuvo::PakInterface layer;
    ASSERT_TRUE(layer.MountArchive("main.pak"));
    manager_->LoadSoundFolder("Sound\\");
    ASSERT_EQ(manager_->SampleCount(), 4);
    EXPECT_STREQ(manager_->SampleFile(0), "Sound\\z.ogg");
    EXPECT_STREQ(manager_->SampleFile(1), "Sound\\in_pak.wav");
    EXPECT_STREQ(manager_->SampleFile(2), "Sound\\a.wav");
    EXPECT_STREQ(manager_->SampleFile(3), "Sound\\b.wav");
    EXPECT_EQ(Count("FAILED"), 0) << "a folder was loaded as a sound";
}

TEST_F(OggManagerTest, EventVolumeAndEffectsVolumeCombineAndFilesArePickedEvenly) {
    data_.Write("sound.ini",
                "[half]\r\nvolume=0.5\r\nfile0=Sound\\a.wav\r\n[three]\r\nfile0=Sound\\"
                "a.wav\r\nfile1=Sound\\b.wav\r\nfile2=Sound\\c.wav\r\n");
    data_.Write("Sound/a.wav", LevelWav(10000));
    data_.Write("Sound/b.wav", LevelWav(1000));
    data_.Write("Sound/c.wav", LevelWav(1000));
    manager_->LoadSoundEvents("sound.ini");
    // Events fire by name through the rules' interface too.
    SoundEventPlayer& player = *manager_;
    player.PlaySoundEvent("missing");
    EXPECT_EQ(PullLeft(), 0);
    EXPECT_EQ(Count("Warning: couldn't find sound event - missing"), 1);
    player.PlaySoundEvent("half");
    EXPECT_NEAR(PullLeft(), 10000 * Tuvo::DecibelsToGain(Tuvo::VolumeToDecibels(0.5)), 2);

    sounds_->ReleaseFinishedChannels();
    EXPECT_EQ(manager_->SetSfxVolume(0.5f), 1);
    EXPECT_EQ(manager_->PlaySample(manager_->PrepareEvent("half")), 1);
    EXPECT_NEAR(PullLeft(), 10000 * Tuvo::DecibelsToGain(Tuvo::VolumeToDecibels(0.25)), 2);

    EXPECT_EQ(manager_->SetMusicVolume(0.3f), 1);
    EXPECT_DOUBLE_EQ(music_.volume_, 0.3f);
    EXPECT_FLOAT_EQ(manager_->MusicVolume(), 0.3f);

    // With an owner, volumes go through it.
    class RecordingOwner : public AudioVolumes {
    public:
        void SetPlayerMusicVolume(double volume) override { music = volume; }
        void SetPlayerSfxVolume(double volume) override { sfx = volume; }
        void SetMusicDuck(double) override {}
        double music = -1;
        double sfx = -1;
    } owner;
    manager_->SetVolumeOwner(&owner);
    manager_->SetMusicVolume(0.25f);
    manager_->SetSfxVolume(0.5f);
    EXPECT_DOUBLE_EQ(owner.music, 0.25);
    EXPECT_DOUBLE_EQ(owner.sfx, 0.5);
    EXPECT_DOUBLE_EQ(music_.volume_, 0.3f) << "the music was set behind the owner's back";

    // Events pick their files evenly.
    std::map<std::string, int> picks;
    for (int i = 0; i < 3000; ++i) {
        const int id = manager_->PrepareEvent("three");
        ASSERT_GE(id, 0);
        ++picks[manager_->SampleFile(id)];
    }
    EXPECT_EQ(manager_->SampleCount(), 3);
    for (const char* file : {"Sound\\a.wav", "Sound\\b.wav", "Sound\\c.wav"}) {
        EXPECT_NEAR(picks[file], 1000, 100) << file;
    }
}

TEST_F(OggManagerTest, PlaySampleChecksTheIdFreeReleasesEverySampleAndNoDeviceMeansSoundOff) {
    data_.Write("Sound/a.wav", LevelWav(1000));
    EXPECT_EQ(manager_->PlaySample(-1), 0);
    EXPECT_EQ(manager_->PlaySample(0), 0);
    ASSERT_TRUE(manager_->LoadSound("Sound\\a.wav"));
    EXPECT_EQ(manager_->PlaySample(1), 0);
    EXPECT_EQ(PullLeft(), 0);
    EXPECT_EQ(manager_->PlaySample(0), 1);
    EXPECT_EQ(PullLeft(), 1000);
    EXPECT_TRUE(playback_->PlaySample(0, Tuvo::kPanRight));
    EXPECT_EQ(PullLeft(), 1000);  // the first still plays; the panned one adds nothing on the left

    ASSERT_TRUE(manager_->LoadSound("Sound\\a.wav"));
    EXPECT_EQ(sounds_->CountSounds(), 2);
    manager_->FreeMusicManager();
    EXPECT_EQ(sounds_->CountSounds(), 0);
    EXPECT_EQ(manager_->PlaySample(0), 0);
    EXPECT_EQ(Count("COggManager::FreeMusicManager()"), 1);

    // Without a sound device one line says sound is off.
    Tuvo::DSoundManager silent(nullptr, false);
    SoundPlayback playback(&silent);
    manager_->Connect(&playback, &music_);
    manager_->LoadSoundFolder("Sound\\");
    EXPECT_EQ(manager_->FindSound("Sound\\a.wav"), -1);
    EXPECT_EQ(Count("Sound is off"), 1);
    EXPECT_EQ(Count("FAILED"), 0) << user_.Log();

    // Never connected at all: loads fail and nothing plays.
    auto unconnected = std::make_unique<COggManager>();
    EXPECT_FALSE(unconnected->LoadSound("Sound\\a.wav"));
    EXPECT_EQ(unconnected->PlaySample(0), 0);
    EXPECT_EQ(unconnected->SetSfxVolume(0.2f), 1);
    EXPECT_EQ(unconnected->SetMusicVolume(0.2f), 1);
    unconnected->FreeMusicManager();
}

}  // namespace
}  // namespace Quillory
