#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

class FoldersTest : public ::testing::Test {
protected:
    void TearDown() override {
        Platform::SetUserFolderOverride("");
        unsetenv("QUILLORY_USERDIR");
    }
};

TEST_F(FoldersTest, FoldersFollowTheOptionThenEnvironmentThenXdg) {
    TempFolder folder;
    setenv("XDG_DATA_HOME", (folder.Path() + "/xdg").c_str(), 1);
    unsetenv("QUILLORY_USERDIR");
    EXPECT_EQ(Platform::UserFolder(), folder.Path() + "/xdg/Quillory");

    setenv("QUILLORY_USERDIR", (folder.Path() + "/env/").c_str(), 1);
    EXPECT_EQ(Platform::UserFolder(), folder.Path() + "/env");

    Platform::SetUserFolderOverride(folder.Path() + "/option");
    EXPECT_EQ(Platform::UserFolder(), folder.Path() + "/option");
    // The data folder likewise prefers the change-dir option.
    EXPECT_EQ(Platform::FindDataFolder("/some/where/"), "/some/where");
    EXPECT_FALSE(Platform::FindDataFolder("").empty());
}

TEST_F(FoldersTest, UserFolderIsCreatedOnFirstUse) {
    TempFolder folder;
    Platform::SetUserFolderOverride(folder.Path() + "/deep/er/user");
    const std::string path = Platform::UserFilePath("config.ini");
    EXPECT_EQ(path, folder.Path() + "/deep/er/user/config.ini");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/deep/er/user"));
}

}  // namespace
