#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_folder.h"

namespace {

// The user folder follows the option, then the environment, then XDG; it is made on first use.
TEST(FoldersTest, FoldersFollowTheOptionThenEnvironmentThenXdgAndAreMadeOnFirstUse) {
    TestSupport::TempFolder folder;
    setenv("XDG_DATA_HOME", (folder.Path() + "/xdg").c_str(), 1);
    unsetenv("QUILLORY_USERDIR");
    EXPECT_EQ(Platform::UserFolder(), folder.Path() + "/xdg/Quillory");
    setenv("QUILLORY_USERDIR", (folder.Path() + "/env/").c_str(), 1);
    EXPECT_EQ(Platform::UserFolder(), folder.Path() + "/env");
    Platform::SetUserFolderOverride(folder.Path() + "/deep/er/user");
    EXPECT_EQ(Platform::UserFolder(), folder.Path() + "/deep/er/user");
    EXPECT_EQ(Platform::UserFilePath("config.ini"), folder.Path() + "/deep/er/user/config.ini");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/deep/er/user"));
    Platform::SetUserFolderOverride("");
    unsetenv("QUILLORY_USERDIR");
    // The data folder likewise prefers the change-dir option.
    EXPECT_EQ(Platform::FindDataFolder("/some/where/"), "/some/where");
    EXPECT_FALSE(Platform::FindDataFolder("").empty());
}

}  // namespace
