// Runs the quillory-pak tool on a nested folder and reads its archive back through the game's
// layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/archive/pak_interface.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

// Runs the tool in `folder` with its output in "out.txt" there.
int RunTool(const TempFolder& folder, std::vector<std::string> arguments) {
    return TestSupport::RunProgram({.program = QUILLORY_PAK_TOOL,
                                    .arguments = std::move(arguments),
                                    .folder = folder.Path(),
                                    .errorFile = folder.File("out.txt")});
}

TEST(QuilloryPakTest, CreatesListsAndExtractsSafelyAndRefusesBadInput) {
    TempFolder folder;
    folder.Write("data/classes.xml", "<Root/>");
    folder.Write("data/Graphics/Shapes/quill_0.png", std::string(1000, '\x89'));
    folder.Write("data/Graphics/back_menu.jpg", "jpeg");
    folder.Write("data/Menu/menu-main.xml", "");
    ASSERT_EQ(RunTool(folder, {"create", "data", "x.pak"}), 0);
    ASSERT_EQ(RunTool(folder, {"list", "x.pak"}), 0);
    EXPECT_EQ(folder.Read("out.txt"),
              "Graphics\\Shapes\\quill_0.png 1000\nGraphics\\back_menu.jpg 4\n"
              "Menu\\menu-main.xml 0\nclasses.xml 7\n");

    ASSERT_EQ(RunTool(folder, {"extract", "x.pak", "unpacked"}), 0);
    EXPECT_EQ(folder.Read("unpacked/Graphics/Shapes/quill_0.png"), std::string(1000, '\x89'));
    EXPECT_EQ(folder.Read("unpacked/classes.xml"), "<Root/>");

    Tuvo::PakInterface layer(false);
    ASSERT_TRUE(layer.MountArchive(folder.File("x.pak").c_str()));
    Tuvo::PakFile* file = layer.PakOpen("graphics/BACK_MENU.JPG", "rb");
    ASSERT_NE(file, nullptr);
    char text[8] = {};
    EXPECT_EQ(layer.PakRead(text, 1, sizeof(text), file), 4u);
    EXPECT_STREQ(text, "jpeg");
    layer.PakClose(file);

    // Extracting never writes through a symbolic link planted in the target, and says so in its
    // exit code, as it does for entries a cut archive no longer holds; bad input is an error.
    folder.Write("data/link/evil.txt", "outside");
    folder.Write("data/safe.txt", "inside");  // listed after the link
    folder.Write("outside/keep.txt", "");
    ASSERT_EQ(RunTool(folder, {"create", "data", "y.pak"}), 0);
    std::filesystem::create_directories(folder.File("linked"));
    std::filesystem::create_directory_symlink(folder.File("outside"), folder.File("linked/link"));
    EXPECT_NE(RunTool(folder, {"extract", "y.pak", "linked"}), 0);
    EXPECT_NE(folder.Read("out.txt").find("symbolic link"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.File("outside/evil.txt")));
    EXPECT_EQ(folder.Read("linked/safe.txt"), "inside");

    const std::string whole = folder.Read("y.pak");
    folder.Write("cut.pak", whole.substr(0, whole.size() - 3));
    EXPECT_NE(RunTool(folder, {"extract", "cut.pak", "cut"}), 0);
    EXPECT_NE(folder.Read("out.txt").find("skipped"), std::string::npos);
    EXPECT_NE(RunTool(folder, {"list", "cut.pak"}), 0);
    folder.Write("junk.pak", "junk");
    EXPECT_NE(RunTool(folder, {"list", "junk.pak"}), 0);
    EXPECT_NE(folder.Read("out.txt").find("not an archive"), std::string::npos);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"list", "missing.pak"},
                                                {"create", "nofolder", "x.pak"},
                                                {"frobnicate"}}) {
        EXPECT_NE(RunTool(folder, bad), 0) << bad[0];
    }
}

// Create accepts exactly the names extract can write back.
TEST(QuilloryPakTest, CreateAndExtractAgreeOnTheNameLimit) {
    for (const size_t length : {244u, 245u, 255u}) {
        TempFolder folder;
        const std::string name(length, 'n');
        folder.Write("data/" + name, "x");
        const int created = RunTool(folder, {"create", "data", "x.pak"});
        EXPECT_EQ(created == 0, length <= 244) << length;
        if (created == 0) {
            EXPECT_EQ(RunTool(folder, {"extract", "x.pak", "out"}), 0);
            EXPECT_EQ(folder.Read("out/" + name), "x");
        }
    }
}

}  // namespace
