// The application's persistent settings in "registry.ini": the stored order and scale, the
// in-progress mark, and values that cannot be read.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;
using Tuvo::PersistentSettings;
using Tuvo::RegistryKey;

class SettingsTest : public ::testing::Test {
protected:
    TempFolder folder_;
    Platform::SettingsStore store_{folder_.File("registry.ini")};
    RegistryKey key_{store_, "SOFTWARE\\Quillory"};
};

// A run is marked in progress as it starts: a run that never saves leaves the mark for the next.
TEST_F(SettingsTest, RoundTripInTheDocumentedOrderAndTheInProgressMark) {
    PersistentSettings settings;
    settings.musicVolume = 0.5;
    settings.sfxVolume = 0.25;
    settings.muteCount = 3;
    settings.automaticMuteCount = 1;
    settings.windowed = false;
    settings.preferredX = 100;
    settings.preferredY = 80;
    settings.customCursors = true;
    settings.waitForVSync = true;
    Tuvo::SavePersistentSettings(key_, settings);
    EXPECT_EQ(folder_.Read("registry.ini"),
              "[SOFTWARE\\Quillory]\r\nMusicVolume=50\r\nSfxVolume=25\r\nMuted=1\r\n"
              "ScreenMode=1\r\nPreferredX=100\r\nPreferredY=80\r\nCustomCursors=1\r\n"
              "InProgress=0\r\nWaitForVSync=1\r\n");
    PersistentSettings back;
    Tuvo::LoadPersistentSettings(key_, back);
    EXPECT_DOUBLE_EQ(back.musicVolume, 0.5);
    EXPECT_DOUBLE_EQ(back.sfxVolume, 0.25);
    EXPECT_EQ(std::tuple(back.muteCount, back.windowed, back.preferredX, back.preferredY,
                         back.customCursors, back.waitForVSync, back.inProgress),
              std::tuple(1, false, 100, 80, true, true, false));
    Tuvo::LoadPersistentSettings(key_, back);  // the run that loaded it never saved
    EXPECT_TRUE(back.inProgress);
}

// Values that cannot be read keep their defaults, and volumes do not creep down from run to run.
TEST_F(SettingsTest, UnreadableValuesKeepTheirDefaultsAndVolumesDoNotCreepDown) {
    folder_.Write("registry.ini", "[SOFTWARE\\Quillory]\r\nMusicVolume=loud\r\nPreferredX=\r\n");
    PersistentSettings settings;
    Tuvo::LoadPersistentSettings(key_, settings);
    EXPECT_DOUBLE_EQ(settings.musicVolume, 0.85);
    EXPECT_EQ(settings.preferredX, -1);
    // 0.57 x 100 is 56.99999... in binary: a truncated percent would lose one at every exit.
    settings.musicVolume = 0.57;
    settings.sfxVolume = 0.29;
    for (int run = 0; run < 10; ++run) {
        Tuvo::SavePersistentSettings(key_, settings);
        Tuvo::LoadPersistentSettings(key_, settings);
    }
    EXPECT_DOUBLE_EQ(settings.musicVolume, 0.57);
    int32_t stored = 0;
    ASSERT_TRUE(key_.ReadInteger("SfxVolume", stored));
    EXPECT_EQ(stored, 29);
}

}  // namespace
