#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/atomic_file.h"

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

constexpr char kKey[] = "SOFTWARE\\Quillory";

class SettingsStoreTest : public ::testing::Test {
protected:
    TempFolder folder;
    Platform::SettingsStore store{folder.File("registry.ini")};
};

// The file's text and the usual values are checked with the game's settings; here the edges.
TEST_F(SettingsStoreTest, NegativeNumbersRoundTripAndPartNumbersKeepTheDefault) {
    ASSERT_TRUE(store.WriteInteger(kKey, "PreferredX", -1));
    int32_t value = 0;
    ASSERT_TRUE(store.ReadInteger(kKey, "preferredx", value));
    EXPECT_EQ(value, -1);
    EXPECT_FALSE(store.ReadInteger("SOFTWARE\\Else", "PreferredX", value));
    folder.Write("registry.ini", "[SOFTWARE\\Quillory]\r\nBroken=12abc\r\n");
    EXPECT_FALSE(store.ReadInteger(kKey, "Broken", value));
    EXPECT_EQ(value, -1);
}

TEST_F(SettingsStoreTest, BackslashesInAValueNameExtendTheKeyPath) {
    ASSERT_TRUE(store.WriteInteger(kKey, "Hardware\\Tested\\Is3D", 1));
    int32_t value = 0;
    EXPECT_FALSE(store.ReadInteger(kKey, "Is3D", value));
    ASSERT_TRUE(store.ReadInteger("SOFTWARE\\Quillory\\Hardware\\Tested", "Is3D", value));
    EXPECT_EQ(value, 1);
}

TEST_F(SettingsStoreTest, EraseRemovesOnlyThatValue) {
    store.WriteInteger(kKey, "Is3D", 1);
    store.WriteInteger(kKey, "ScreenMode", 0);
    EXPECT_TRUE(store.EraseValue(kKey, "Is3D"));
    EXPECT_FALSE(store.EraseValue(kKey, "Is3D"));
    int32_t value = 7;
    EXPECT_FALSE(store.ReadInteger(kKey, "Is3D", value));
    EXPECT_TRUE(store.ReadInteger(kKey, "ScreenMode", value));
    EXPECT_EQ(value, 0);
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeverReplaced) {
    // Too large to be a settings file: it exists, so it is neither read nor written over.
    const std::string path =
        folder.Write("registry.ini", "[SOFTWARE\\Quillory]\r\nMusicVolume=40\r\n");
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(Platform::kMaxTextFileBytes) + 1), 0);
    Platform::SettingsStore damaged(path);
    int32_t value = 7;
    EXPECT_FALSE(damaged.ReadInteger(kKey, "MusicVolume", value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(damaged.Unreadable());
    EXPECT_FALSE(damaged.WriteInteger(kKey, "MusicVolume", 85));
    EXPECT_FALSE(damaged.EraseValue(kKey, "MusicVolume"));
    EXPECT_EQ(folder.Read("registry.ini").rfind("[SOFTWARE\\Quillory]\r\nMusicVolume=40", 0), 0u);
}

}  // namespace
