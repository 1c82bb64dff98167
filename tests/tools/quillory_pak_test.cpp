// Runs the quillory-pak tool on a nested folder and reads its archive back through the game's
// layer.
#include <gtest/gtest.h>

#include <cstdlib>
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
