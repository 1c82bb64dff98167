#include "platform/system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

TEST(SystemTest, SecondLockOnTheSameFileFails) {
    TempFolder folder;
    Platform::SingleInstanceLock first;
    ASSERT_TRUE(first.Acquire(folder.File("quillory.lock")));
    Platform::SingleInstanceLock second;
    EXPECT_FALSE(second.Acquire(folder.File("quillory.lock")));
    first.Release();
    EXPECT_TRUE(second.Acquire(folder.File("quillory.lock")));
    EXPECT_TRUE(second.Held());
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
