#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace {

using Platform::Durability;
using TestSupport::TempFolder;

TEST(AtomicFileTest, ReplacesContentsAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.Write("saved.ini", "old");
    ASSERT_TRUE(Platform::WriteFileAtomically(path, "new contents", Durability::kFlushToDisk));
    EXPECT_EQ(folder.Read("saved.ini"), "new contents");
    ASSERT_TRUE(Platform::WriteFileAtomically(path, "", Durability::kNoFlush));
    EXPECT_EQ(folder.Read("saved.ini"), "");
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++count;
    }
    EXPECT_EQ(count, 1);
}

TEST(AtomicFileTest, FailedRenameKeepsWhatWasThereAndCleansUp) {
    TempFolder folder;
    // A folder in the way makes the final rename fail, even for root.
    folder.Write("scores.ini/keep.txt", "keep me");
    EXPECT_FALSE(
        Platform::WriteFileAtomically(folder.File("scores.ini"), "lost", Durability::kFlushToDisk));
    EXPECT_EQ(folder.Read("scores.ini/keep.txt"), "keep me");
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++count;
    }
    EXPECT_EQ(count, 1);
}

TEST(AtomicFileTest, MissingFolderIsAFailure) {
    TempFolder folder;
    EXPECT_FALSE(
        Platform::WriteFileAtomically(folder.File("no/such/x.ini"), "x", Durability::kNoFlush));
    std::string contents = "stale";
    EXPECT_FALSE(Platform::ReadWholeFile(folder.File("no/such/x.ini"), contents));
    EXPECT_TRUE(contents.empty());
}

}  // namespace
