// Runs the quillory-pak tool on a nested folder and reads its archive back through the game's
// layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/archive/pak_interface.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

int RunTool(const std::string& arguments, const std::string& outputFile) {
    const std::string command =
        std::string(QUILLORY_PAK_TOOL) + " " + arguments + " > " + outputFile + " 2>&1";
    return std::system(command.c_str());
}

TEST(QuilloryPakTest, CreateListExtractRoundTrip) {
    TempFolder folder;
    folder.Write("data/classes.xml", "<Root/>");
    folder.Write("data/Graphics/Shapes/quill_0.png", std::string(1000, '\x89'));
    folder.Write("data/Graphics/back_menu.jpg", "jpeg");
    folder.Write("data/Menu/menu-main.xml", "");
    const std::string pak = folder.File("x.pak");
    ASSERT_EQ(RunTool("create " + folder.File("data") + " " + pak, folder.File("out.txt")), 0);
    ASSERT_EQ(RunTool("list " + pak, folder.File("list.txt")), 0);
    EXPECT_EQ(folder.Read("list.txt"),
              "Graphics\\Shapes\\quill_0.png 1000\nGraphics\\back_menu.jpg 4\n"
              "Menu\\menu-main.xml 0\nclasses.xml 7\n");

    ASSERT_EQ(RunTool("extract " + pak + " " + folder.File("unpacked"), folder.File("out.txt")), 0);
    EXPECT_EQ(folder.Read("unpacked/Graphics/Shapes/quill_0.png"), std::string(1000, '\x89'));
    EXPECT_EQ(folder.Read("unpacked/classes.xml"), "<Root/>");

    ScopedCurrentDirectory in(folder.Path());
    Tuvo::PakInterface layer(false);
    ASSERT_TRUE(layer.MountArchive("x.pak"));
    Tuvo::PakFile* file = layer.PakOpen("graphics/BACK_MENU.JPG", "rb");
    ASSERT_NE(file, nullptr);
    char text[8] = {};
    EXPECT_EQ(layer.PakRead(text, 1, sizeof(text), file), 4u);
    EXPECT_STREQ(text, "jpeg");
    layer.PakClose(file);
}

// Extracting never writes through a symbolic link planted in the target, and says so in its
// exit code, as it does for entries a cut archive no longer holds.
TEST(QuilloryPakTest, ExtractSkipsLinksAndCutEntriesAndFails) {
    TempFolder folder;
    folder.Write("data/link/evil.txt", "outside");
    folder.Write("data/safe.txt", "inside");
    folder.Write("outside/keep.txt", "");
    const std::string pak = folder.File("x.pak");
    ASSERT_EQ(RunTool("create " + folder.File("data") + " " + pak, folder.File("out.txt")), 0);
    std::filesystem::create_directories(folder.File("unpacked"));
    std::filesystem::create_directory_symlink(folder.File("outside"), folder.File("unpacked/link"));
    EXPECT_NE(RunTool("extract " + pak + " " + folder.File("unpacked"), folder.File("out.txt")), 0);
    EXPECT_NE(folder.Read("out.txt").find("symbolic link"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.File("outside/evil.txt")));
    EXPECT_EQ(folder.Read("unpacked/safe.txt"), "inside");

    // Cut inside the data: the entries past the end are skipped, and the run fails.
    const std::string whole = folder.Read("x.pak");
    folder.Write("cut.pak", whole.substr(0, whole.size() - 3));
    EXPECT_NE(RunTool("extract " + folder.File("cut.pak") + " " + folder.File("cut"),
                      folder.File("out.txt")),
              0);
    EXPECT_NE(folder.Read("out.txt").find("skipped"), std::string::npos);
    EXPECT_NE(RunTool("list " + folder.File("cut.pak"), folder.File("out.txt")), 0);
}

// Create accepts exactly the names extract can write back.
TEST(QuilloryPakTest, CreateAndExtractAgreeOnTheNameLimit) {
    for (const size_t length : {244u, 245u, 255u}) {
        TempFolder folder;
        const std::string name(length, 'n');
        folder.Write("data/" + name, "x");
        const std::string pak = folder.File("x.pak");
        const int created = RunTool("create " + folder.File("data") + " " + pak, folder.File("o"));
        if (length > 244) {
            EXPECT_NE(created, 0) << length;
            continue;
        }
        ASSERT_EQ(created, 0);
        EXPECT_EQ(RunTool("extract " + pak + " " + folder.File("out"), folder.File("o")), 0);
        EXPECT_EQ(folder.Read("out/" + name), "x");
    }
}

TEST(QuilloryPakTest, BadInputGivesAnErrorNotACrash) {
    TempFolder folder;
    folder.Write("junk.pak", "junk");
    EXPECT_NE(RunTool("list " + folder.File("junk.pak"), folder.File("out.txt")), 0);
    EXPECT_NE(folder.Read("out.txt").find("not an archive"), std::string::npos);
    EXPECT_NE(RunTool("list " + folder.File("missing.pak"), folder.File("out.txt")), 0);
    EXPECT_NE(RunTool("create " + folder.File("nofolder") + " x.pak", folder.File("out.txt")), 0);
    EXPECT_NE(RunTool("frobnicate", folder.File("out.txt")), 0);
}

}  // namespace
