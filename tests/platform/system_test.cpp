#include "platform/system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

using Platform::LockResult;

TEST(SystemTest, SecondLockOnTheSameFileFailsAndRetakingLeavesNoGap) {
    TempFolder folder;
    const std::string path = folder.File("quillory.lock");
    Platform::SingleInstanceLock first;
    ASSERT_EQ(first.Acquire(path), LockResult::kAcquired);
    Platform::SingleInstanceLock lock;
    EXPECT_EQ(lock.Acquire(path), LockResult::kTaken);
    first.Release();
    EXPECT_EQ(lock.Acquire(path), LockResult::kAcquired);
    EXPECT_TRUE(lock.Held());

    // Taking a held lock again leaves no gap: another copy waits for the lock, and releasing it
    // even for a moment would hand it over.
    const pid_t waiter = fork();
    if (waiter == 0) {
        const int fd = open(path.c_str(), O_RDWR);
        flock(fd, LOCK_EX);
        _exit(7);
    }
    ASSERT_GT(waiter, 0);
    usleep(200 * 1000);
    EXPECT_EQ(lock.Acquire(path), LockResult::kAcquired);
    usleep(200 * 1000);
    int status = 0;
    EXPECT_EQ(waitpid(waiter, &status, WNOHANG), 0) << "the other copy got the lock";
    kill(waiter, SIGKILL);
    waitpid(waiter, &status, 0);
}

TEST(SystemTest, ALockFileThatCannotBeUsedFailsClosed) {
    TempFolder folder;
    folder.Write("quillory.lock/inside", "a folder in the way");
    Platform::SingleInstanceLock lock;
    std::string error;
    EXPECT_EQ(lock.Acquire(folder.File("quillory.lock"), &error), LockResult::kFailed);
    EXPECT_FALSE(lock.Held());
    EXPECT_NE(error.find("quillory.lock"), std::string::npos);
    // A link is not followed to someone else's file.
    folder.Write("elsewhere", "");
    ASSERT_EQ(symlink(folder.File("elsewhere").c_str(), folder.File("link.lock").c_str()), 0);
    EXPECT_EQ(lock.Acquire(folder.File("link.lock")), LockResult::kFailed);
}

TEST(SystemTest, QuittingSignalsAreCaughtAndSigpipeIgnored) {
    Platform::InstallQuitSignalHandlers();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        Platform::ClearQuitSignal();
        raise(signal);
        EXPECT_TRUE(Platform::QuitSignalReceived()) << signal;
    }
    Platform::ClearQuitSignal();
    raise(SIGPIPE);  // would end the process
    EXPECT_FALSE(Platform::QuitSignalReceived());
}

TEST(SystemTest, ShortcutUrlIsReadFromItsSection) {
    TempFolder folder;
    folder.Write("website.url",
                 "[Other]\r\nURL=wrong\r\n[InternetShortcut]\r\nURL=https://example.org/q\r\n");
    EXPECT_EQ(Platform::ReadShortcutUrl(folder.File("website.url")), "https://example.org/q");
    EXPECT_EQ(Platform::ReadShortcutUrl(folder.File("missing.url")), "");
    EXPECT_FALSE(Platform::OpenUrlFile(folder.File("missing.url")));
    folder.Write("empty.url", "[InternetShortcut]\r\n");
    EXPECT_FALSE(Platform::OpenUrlFile(folder.File("empty.url")));
}

TEST(SystemTest, QuestionsWithoutADisplayTakeTheDefault) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_TRUE(Platform::ShowMessageBox("Caption", "Keep?",
                                         Platform::MessageBoxKind::kYesNoQuestion, true));
    EXPECT_FALSE(Platform::ShowMessageBox("Caption", "Keep?",
                                          Platform::MessageBoxKind::kYesNoQuestion, false));
}

}  // namespace
