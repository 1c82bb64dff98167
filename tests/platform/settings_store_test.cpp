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

TEST_F(SettingsStoreTest, IntegersAndBooleansRoundTrip) {
    ASSERT_TRUE(store.WriteInteger(kKey, "PreferredX", -1));
    ASSERT_TRUE(store.WriteInteger(kKey, "MusicVolume", 85));
    ASSERT_TRUE(store.WriteBoolean(kKey, "InProgress", true));
    int32_t value = 0;
    ASSERT_TRUE(store.ReadInteger(kKey, "PreferredX", value));
    EXPECT_EQ(value, -1);
    ASSERT_TRUE(store.ReadInteger(kKey, "musicvolume", value));
    EXPECT_EQ(value, 85);
    bool flag = false;
    ASSERT_TRUE(store.ReadBoolean(kKey, "InProgress", flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ(folder.Read("registry.ini"),
              "[SOFTWARE\\Quillory]\r\nPreferredX=-1\r\nMusicVolume=85\r\nInProgress=1\r\n");
}

TEST_F(SettingsStoreTest, MissingKeyOrValueIsAFailureThatKeepsTheDefault) {
    int32_t value = 42;
    EXPECT_FALSE(store.ReadInteger(kKey, "Muted", value));
    store.WriteInteger(kKey, "Other", 1);
    EXPECT_FALSE(store.ReadInteger(kKey, "Muted", value));
    EXPECT_FALSE(store.ReadInteger("SOFTWARE\\Else", "Other", value));
    EXPECT_EQ(value, 42);
    folder.Write("registry.ini", "[SOFTWARE\\Quillory]\r\nBroken=12abc\r\nEmpty=\r\n");
    EXPECT_FALSE(store.ReadInteger(kKey, "Broken", value));
    EXPECT_FALSE(store.ReadInteger(kKey, "Empty", value));
    EXPECT_EQ(value, 42);
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
