#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_folder.h"

namespace {

using Platform::Durability;
using TestSupport::TempFolder;

int EntryCount(const TempFolder& folder) {
    const std::filesystem::directory_iterator entries(folder.Path());
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

int Permissions(const std::string& path) {
    return static_cast<int>(std::filesystem::status(path).permissions());
}

TEST(AtomicFileTest, ReplacesContentsKeepsPermissionsFollowsLinksOrFailsLeavingNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.Write("saved.ini", "old");
    ASSERT_TRUE(Platform::WriteFileAtomically(path, "new contents", Durability::kFlushToDisk));
    EXPECT_EQ(folder.Read("saved.ini"), "new contents");
    ASSERT_TRUE(Platform::WriteFileAtomically(path, "", Durability::kNoFlush));
    EXPECT_EQ(folder.Read("saved.ini"), "");
    EXPECT_EQ(EntryCount(folder), 1);

    // A folder in the way makes the final rename fail, even for root: nothing is left behind.
    folder.Write("scores.ini/keep.txt", "keep me");
    EXPECT_FALSE(
        Platform::WriteFileAtomically(folder.File("scores.ini"), "lost", Durability::kFlushToDisk));
    EXPECT_EQ(folder.Read("scores.ini/keep.txt"), "keep me");
    EXPECT_EQ(EntryCount(folder), 2);
    EXPECT_FALSE(
        Platform::WriteFileAtomically(folder.File("no/such/x.ini"), "x", Durability::kNoFlush));

    // A write cut short (here by the file-size limit) fails once the temporary file exists: the
    // old file stays and the temporary file goes.
    const std::string options = folder.Write("options.ini", "old");
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written =
        Platform::WriteFileAtomically(options, "longer than the limit", Durability::kNoFlush);
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(written);
    EXPECT_EQ(folder.Read("options.ini"), "old");
    EXPECT_EQ(EntryCount(folder), 3);

    const std::string privateFile = folder.Write("config.ini", "old");
    // Neither the temporary file's 0600 nor the default 0644.
    ASSERT_EQ(chmod(privateFile.c_str(), 0640), 0);
    ASSERT_TRUE(Platform::WriteFileAtomically(privateFile, "new", Durability::kNoFlush));
    EXPECT_EQ(Permissions(privateFile), 0640);

    // A read-only file is left as it is.
    ASSERT_EQ(chmod(privateFile.c_str(), 0444), 0);
    EXPECT_FALSE(Platform::WriteFileAtomically(privateFile, "newer", Durability::kNoFlush));
    EXPECT_EQ(folder.Read("config.ini"), "new");
    EXPECT_EQ(Permissions(privateFile), 0444);

    // A link is written through: the link stays a link and its target gets the contents.
    folder.Write("real/scores.ini", "old");
    const std::string link = folder.File("linked.ini");
    ASSERT_EQ(symlink("real/scores.ini", link.c_str()), 0);
    ASSERT_TRUE(Platform::WriteFileAtomically(link, "via link", Durability::kFlushToDisk));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(folder.Read("real/scores.ini"), "via link");
}

TEST(AtomicFileTest, ReadsTellMissingFromUnreadable) {
    TempFolder folder;
    std::string contents;
    using Platform::ReadStatus;
    EXPECT_EQ(Platform::ReadRegularFile(folder.File("none.ini"), contents, 100),
              ReadStatus::kMissing);
    folder.Write("small.ini", "abc");
    EXPECT_EQ(Platform::ReadRegularFile(folder.File("small.ini"), contents, 3), ReadStatus::kOk);
    EXPECT_EQ(contents, "abc");
    // Past the stated limit: refused, not read (huge files reach it in the profile tests).
    EXPECT_EQ(Platform::ReadRegularFile(folder.File("small.ini"), contents, 2),
              ReadStatus::kUnreadable);
    EXPECT_TRUE(contents.empty());
    // A FIFO with no writer would block a plain open; a folder or device is no file either.
    ASSERT_EQ(mkfifo(folder.File("fifo.ini").c_str(), 0644), 0);
    EXPECT_EQ(Platform::ReadRegularFile(folder.File("fifo.ini"), contents, 100),
              ReadStatus::kUnreadable);
    EXPECT_EQ(Platform::ReadRegularFile(folder.Path(), contents, 100), ReadStatus::kUnreadable);
    EXPECT_EQ(Platform::ReadRegularFile("/dev/zero", contents, 100), ReadStatus::kUnreadable);
    EXPECT_FALSE(Platform::ReadWholeFile("/dev/zero", contents));
    contents = "stale";
    EXPECT_FALSE(Platform::ReadWholeFile(folder.File("no/such/x.ini"), contents));
    EXPECT_TRUE(contents.empty());
}

TEST(AtomicFileTest, StaleTemporaryFilesAreRemoved) {
    TempFolder folder;
    folder.Write("registry.ini.tmp-Ab12Cd", "torn");
    folder.Write("config.ini.tmp-zzzzzz", "torn");
    folder.Write("registry.ini", "kept");
    folder.Write("notes.tmp-kept", "a name of the player's");
    folder.Write("cached/Sound/take.ogg.wav.tmp-Xy34Zw", "torn");
    // A link to a folder elsewhere is not ours to tidy.
    TempFolder elsewhere;
    elsewhere.Write("other.ini.tmp-Ab12Cd", "someone else's");
    ASSERT_EQ(symlink(elsewhere.Path().c_str(), folder.File("linked").c_str()), 0);
    EXPECT_EQ(Platform::RemoveStaleTemporaryFiles(folder.Path()), 3);
    EXPECT_EQ(folder.Read("registry.ini"), "kept");
    EXPECT_EQ(folder.Read("notes.tmp-kept"), "a name of the player's");
    EXPECT_FALSE(std::filesystem::exists(folder.File("registry.ini.tmp-Ab12Cd")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("cached/Sound/take.ogg.wav.tmp-Xy34Zw")));
    EXPECT_EQ(elsewhere.Read("other.ini.tmp-Ab12Cd"), "someone else's");
}

}  // namespace
