// Runs quillory-render-menu on a small data folder of its own and reads the picture back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "imagefiles/image_loader.h"
#include "imagefiles/png_writer.h"
#include "support/jpeg_encoder.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

void WriteSolidPng(const std::string& path, int width, int height, uint32_t colour) {
    const std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, colour);
    ASSERT_TRUE(ImageLib::WritePngFile(path, pixels.data(), width, height));
}

// A data folder with a two-symbol font, a blue background and a red button that turns green when
// hovered, its caption "Go" drawn as "AB": two white font cells (10 x 10 pixels).
TEST(RenderMenuTest, DrawsTheMenuOverItsBackgroundHoversANamedButtonAndReportsFailures) {
    TempFolder data;
    TempFolder out;
    data.Write(
        "language.ini",
        "[ENGLISH]\r\nEnglish\\=English\\\r\nSymbolList=AB\r\nLine01_Width=16,16\r\nGo=AB\r\n");
    std::vector<uint8_t> blue;
    for (int i = 0; i < 8 * 8; ++i) {
        blue.insert(blue.end(), {0x33, 0x66, 0xCC});
    }
    const std::vector<uint8_t> jpeg = TestSupport::EncodeJpeg(8, 8, 3, blue);
    data.Write("Graphics/back_menu.jpg", std::string(jpeg.begin(), jpeg.end()));
    data.Write("English/font01.png", "");  // makes the folder
    WriteSolidPng(data.File("English/font01.png"), 160, 80, 0xFFFFFFFF);
    WriteSolidPng(data.File("Graphics/btn.png"), 80, 40, 0xFFFF0000);
    WriteSolidPng(data.File("Graphics/btn_over.png"), 80, 40, 0xFF00FF00);
    data.Write("Menu/menu-test.xml",
               "<?xml version=\"1.0\"?>\n<Screen buttonFont=\"English\\font01.png\">"
               "<Button name=\"btnGo\" text=\"Go\" stretch=\"no\" xc=\"0.5\" yc=\"0.5\" "
               "outImg=\"Graphics\\btn.png\" overImg=\"Graphics\\btn_over.png\"/>"
               "</Screen>");
    const auto run = [&](std::vector<std::string> arguments) {
        return TestSupport::RunProgram({.program = QUILLORY_RENDER_MENU_TOOL,
                                        .arguments = std::move(arguments),
                                        .errorFile = out.File("log.txt")});
    };

    ASSERT_EQ(run({data.Path(), "menu-test.xml", out.File("menu.png")}), 0) << out.Read("log.txt");
    auto picture = ImageLib::LoadImageFile(out.File("menu.png"), false);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(std::pair(picture->width, picture->height), std::pair(800, 600));
    // The background as the game's reader decodes it.
    EXPECT_EQ(picture->At(5, 5),
              ImageLib::LoadImageFile(data.File("Graphics/back_menu.jpg"), false)->At(4, 4));
    EXPECT_EQ(picture->At(365, 300), 0xFFFF0000u);
    EXPECT_EQ(picture->At(395, 300), 0xFFFFFFFFu);
    EXPECT_EQ(picture->At(405, 300), 0xFFFFFFFFu);
    EXPECT_EQ(picture->At(415, 300), 0xFFFF0000u);

    ASSERT_EQ(run({"--hover", "btnGo", data.Path(), "Menu\\menu-test.xml", out.File("hover.png")}),
              0)
        << out.Read("log.txt");
    picture = ImageLib::LoadImageFile(out.File("hover.png"), false);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->At(365, 300), 0xFF00FF00u);

    EXPECT_NE(run({"--hover", "btnNone", data.Path(), "menu-test.xml", out.File("other.png")}), 0);
    EXPECT_NE(out.Read("log.txt").find("no visible button 'btnNone'"), std::string::npos);
    EXPECT_NE(run({data.Path(), "menu-absent.xml", out.File("menu.png")}), 0);
    EXPECT_NE(out.Read("log.txt").find("Loading XML menu:  'Menu\\menu-absent.xml' ... FAILED"),
              std::string::npos)
        << out.Read("log.txt");
    EXPECT_NE(run({data.Path(), "menu-test.xml"}), 0);
    EXPECT_NE(out.Read("log.txt").find("usage:"), std::string::npos);
}

}  // namespace
