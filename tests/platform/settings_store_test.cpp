#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/atomic_file.h"

#include "support/temp_folder.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\Quillory";

// The file's text and the usual values are checked with the game's settings; here the edges:
// negative numbers, part numbers, value names with backslashes, erasing, and a damaged file.
TEST(SettingsStoreTest, EdgesOfReadingWritingAndErasing) {
    TestSupport::TempFolder folder;
    Platform::SettingsStore store{folder.File("registry.ini")};
    ASSERT_TRUE(store.WriteInteger(kKey, "PreferredX", -1));
    int32_t value = 0;
    ASSERT_TRUE(store.ReadInteger(kKey, "preferredx", value));
    EXPECT_EQ(value, -1);
    EXPECT_FALSE(store.ReadInteger("SOFTWARE\\Else", "PreferredX", value));
    // Backslashes in a value name extend the key path.
    ASSERT_TRUE(store.WriteInteger(kKey, "Hardware\\Tested\\Is3D", 1));
    EXPECT_FALSE(store.ReadInteger(kKey, "Is3D", value));
    ASSERT_TRUE(store.ReadInteger("SOFTWARE\\Quillory\\Hardware\\Tested", "Is3D", value));
    EXPECT_EQ(value, 1);
    // Erasing removes only that value.
    store.WriteInteger(kKey, "Is3D", 1);
    EXPECT_TRUE(store.EraseValue(kKey, "Is3D"));
    EXPECT_FALSE(store.EraseValue(kKey, "Is3D"));
    EXPECT_FALSE(store.ReadInteger(kKey, "Is3D", value));
    EXPECT_TRUE(store.ReadInteger(kKey, "PreferredX", value));
    EXPECT_EQ(value, -1);
    // A part number keeps the default.
    folder.Write("registry.ini", "[SOFTWARE\\Quillory]\r\nBroken=12abc\r\nMusicVolume=40\r\n");
    EXPECT_FALSE(store.ReadInteger(kKey, "Broken", value));
    EXPECT_EQ(value, -1);

    // Too large to be a settings file: it exists, so it is neither read nor written over.
    ASSERT_EQ(truncate(folder.File("registry.ini").c_str(),
                       static_cast<off_t>(Platform::kMaxTextFileBytes) + 1),
              0);
    Platform::SettingsStore damaged(folder.File("registry.ini"));
    EXPECT_FALSE(damaged.ReadInteger(kKey, "MusicVolume", value));
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(damaged.Unreadable());
    EXPECT_FALSE(damaged.WriteInteger(kKey, "MusicVolume", 85));
    EXPECT_FALSE(damaged.EraseValue(kKey, "MusicVolume"));
    EXPECT_EQ(folder.Read("registry.ini").rfind("[SOFTWARE\\Quillory]\r\nBroken", 0), 0u);
}

}  // namespace
