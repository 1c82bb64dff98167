// Runs quillory-render-menu on a small data folder of its own and reads the picture back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
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

bool Near(uint32_t pixel, uint32_t colour) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                     static_cast<int>((colour >> shift) & 0xFF)) > 8) {
            return false;
        }
    }
    return true;
}

class RenderMenuTest : public ::testing::Test {
protected:
    RenderMenuTest() {
        data_.Write("language.ini",
                    "[ENGLISH]\r\nEnglish\\=English\\\r\nSymbolList=AB\r\nLine01_Width=16,16\r\n"
                    "Go=AB\r\n");
        std::vector<uint8_t> blue;
        for (int i = 0; i < 8 * 8; ++i) {
            blue.insert(blue.end(), {0x33, 0x66, 0xCC});
        }
        const std::vector<uint8_t> jpeg = TestSupport::EncodeJpeg(8, 8, 3, blue);
        data_.Write("Graphics/back_menu.jpg", std::string(jpeg.begin(), jpeg.end()));
        data_.Write("English/font01.png", "");  // makes the folder
        WriteSolidPng(data_.File("English/font01.png"), 160, 80, 0xFFFFFFFF);
        WriteSolidPng(data_.File("Graphics/btn.png"), 80, 40, 0xFFFF0000);
        WriteSolidPng(data_.File("Graphics/btn_over.png"), 80, 40, 0xFF00FF00);
        data_.Write("Menu/menu-test.xml",
                    "<?xml version=\"1.0\"?>\n<Screen buttonFont=\"English\\font01.png\">"
                    "<Button name=\"btnGo\" text=\"Go\" stretch=\"no\" xc=\"0.5\" yc=\"0.5\" "
                    "outImg=\"Graphics\\btn.png\" overImg=\"Graphics\\btn_over.png\"/>"
                    "</Screen>");
    }
    // Runs the tool with its output in "log.txt".
    int Run(std::vector<std::string> arguments) {
        return TestSupport::RunProgram({.program = QUILLORY_RENDER_MENU_TOOL,
                                        .arguments = std::move(arguments),
                                        .errorFile = out_.File("log.txt")});
    }
    std::unique_ptr<ImageLib::Image> Rendered() const {
        return ImageLib::LoadImageFile(out_.File("menu.png"), false);
    }

    TempFolder data_;
    TempFolder out_;
};

TEST_F(RenderMenuTest, DrawsTheMenuOverTheMenuBackground) {
    ASSERT_EQ(Run({data_.Path(), "menu-test.xml", out_.File("menu.png")}), 0)
        << out_.Read("log.txt");
    auto picture = Rendered();
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->width, 800);
    ASSERT_EQ(picture->height, 600);
    EXPECT_TRUE(Near(picture->At(5, 5), 0x3366CC)) << std::hex << picture->At(5, 5);
    EXPECT_EQ(picture->At(365, 300), 0xFFFF0000u);
    // The caption "Go" is "AB": two white font cells (10 x 10 pixels) centred on the button.
    EXPECT_EQ(picture->At(395, 300), 0xFFFFFFFFu);
    EXPECT_EQ(picture->At(405, 300), 0xFFFFFFFFu);
    EXPECT_EQ(picture->At(415, 300), 0xFFFF0000u);
}

TEST_F(RenderMenuTest, ANamedButtonCanBeHoveredAndFailuresAreReported) {
    ASSERT_EQ(Run({"--hover", "btnGo", data_.Path(), "Menu\\menu-test.xml", out_.File("menu.png")}),
              0)
        << out_.Read("log.txt");
    auto picture = Rendered();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->At(365, 300), 0xFF00FF00u);
    EXPECT_NE(Run({"--hover", "btnNone", data_.Path(), "menu-test.xml", out_.File("other.png")}),
              0);
    EXPECT_NE(out_.Read("log.txt").find("no visible button 'btnNone'"), std::string::npos);
    EXPECT_NE(Run({data_.Path(), "menu-absent.xml", out_.File("menu.png")}), 0);
    EXPECT_NE(out_.Read("log.txt").find("Loading XML menu:  'Menu\\menu-absent.xml' ... FAILED"),
              std::string::npos)
        << out_.Read("log.txt");
    EXPECT_NE(Run({data_.Path(), "menu-test.xml"}), 0);
    EXPECT_NE(out_.Read("log.txt").find("usage:"), std::string::npos);
}

}  // namespace
