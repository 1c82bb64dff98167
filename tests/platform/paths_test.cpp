#include "platform/paths.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

using Platform::FindFiles;
using Platform::ResolvePath;
using Platform::WildcardMatch;
using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

TEST(PathsTest, WindowsNameOpensFileWhateverItsCaseAndTheExactNameWins) {
    TempFolder folder;
    folder.Write("data/Graphics/back_menu.jpg", "x");
    folder.Write("Level.xml", "upper");
    folder.Write("level.xml", "lower");
    ScopedCurrentDirectory in(folder.Path());
    EXPECT_EQ(ResolvePath("DATA\\Graphics\\Back_Menu.JPG"), "data/Graphics/back_menu.jpg");
    EXPECT_EQ(ResolvePath(folder.Path() + "\\DATA\\\\graphics/BACK_MENU.jpg"),
              folder.Path() + "/data/Graphics/back_menu.jpg");
    EXPECT_TRUE(Platform::FileExists("data\\GRAPHICS\\back_menu.JPG"));
    EXPECT_FALSE(Platform::FileExists("data\\GRAPHICS"));
    EXPECT_TRUE(Platform::DirectoryExists("Data/graphics"));
    // The exact name wins; several matches give the first in byte order; missing parts stay.
    EXPECT_EQ(ResolvePath("level.xml"), "level.xml");
    EXPECT_EQ(ResolvePath("Level.xml"), "Level.xml");
    EXPECT_EQ(ResolvePath("LEVEL.XML"), "Level.xml");
    EXPECT_EQ(ResolvePath("New\\Folder\\File.ini"), "New/Folder/File.ini");
}

TEST(PathsTest, WildcardsIgnoreCaseSeparatorsCollapseAndFileTimesCountFrom1601) {
    EXPECT_TRUE(WildcardMatch("*.png", "Quill_0.PNG"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("a?c*", "ABCdef"));
    EXPECT_FALSE(WildcardMatch("a?c", "ac"));
    EXPECT_TRUE(WildcardMatch("*a*b*", "xxAyyBzz"));
    EXPECT_FALSE(WildcardMatch("*.png", "x.png.bak"));
    EXPECT_FALSE(WildcardMatch("", "a"));
    // Separators of both kinds collapse; file times count in 100 ns steps from 1601.
    EXPECT_EQ(Platform::NormaliseSeparators("Graphics\\\\Shapes//a.png"), "Graphics/Shapes/a.png");
    EXPECT_EQ(Platform::NormaliseSeparators("/abs\\x"), "/abs/x");
    EXPECT_EQ(Platform::UnixTimeToFileTime(0, 0), 116444736000000000ull);
    EXPECT_EQ(Platform::UnixTimeToFileTime(1, 500), 116444736010000005ull);
}

TEST(PathsTest, FindFilesSortsByNameAndReportsFolders) {
    TempFolder folder;
    folder.Write("Sound/b.ogg", "12");
    folder.Write("Sound/A.OGG", "1");
    folder.Write("Sound/c.wav", "123");
    folder.Write("Sound/sub/d.ogg", "");
    ScopedCurrentDirectory in(folder.Path());
    const auto oggs = FindFiles("sound\\*.ogg");
    ASSERT_EQ(oggs.size(), 2u);
    EXPECT_EQ(oggs[0].name, "A.OGG");
    EXPECT_EQ(oggs[1].name, "b.ogg");
    EXPECT_EQ(oggs[1].size, 2u);
    EXPECT_GT(oggs[1].lastWriteTime, 116444736000000000ull);  // after 1970
    const auto all = FindFiles("Sound/*");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(all[3].isDirectory);
    EXPECT_TRUE(FindFiles("Missing/*").empty());
}

}  // namespace
