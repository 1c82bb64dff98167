// Runs quillory-render-menu on a small data folder of its own and reads the picture back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "imagefiles/image_loader.h"
#include "imagefiles/png_writer.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

// An 8 x 8 JPEG of the colour 0x3366CC.
const uint8_t kBlueJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08, 0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08,
    0x0b, 0x0c, 0x0b, 0x0a, 0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00,
    0x14, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00,
    0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x07, 0x3c, 0x07, 0x77, 0xff, 0xd9,
};

int RunTool(const std::string& arguments, const std::string& outputFile) {
    const std::string command = std::string(QUILLORY_RENDER_MENU_TOOL) + " " + arguments + " > " +
                                outputFile + " 2>&1";
    return std::system(command.c_str());
}

void WriteSolidPng(const std::string& path, int width, int height, uint32_t colour) {
    const std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, colour);
    ASSERT_TRUE(ImageLib::WritePngFile(path, pixels.data(), width, height));
}

bool Near(uint32_t pixel, uint32_t colour) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((colour >> shift) & 0xFF);
        if (std::abs(a - b) > 8) {
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
        data_.Write("Graphics/back_menu.jpg",
                    std::string(reinterpret_cast<const char*>(kBlueJpeg), sizeof(kBlueJpeg)));
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
    std::unique_ptr<ImageLib::Image> Rendered() const {
        return ImageLib::LoadImageFile(out_.File("menu.png"), false);
    }

    TempFolder data_;
    TempFolder out_;
};

TEST_F(RenderMenuTest, DrawsTheMenuOverTheMenuBackground) {
    ASSERT_EQ(RunTool(data_.Path() + " menu-test.xml " + out_.File("menu.png"),
                      out_.File("log.txt")),
              0)
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

TEST_F(RenderMenuTest, ANamedButtonCanBeHovered) {
    ASSERT_EQ(RunTool("--hover btnGo " + data_.Path() + " Menu\\\\menu-test.xml " +
                          out_.File("menu.png"),
                      out_.File("log.txt")),
              0)
        << out_.Read("log.txt");
    auto picture = Rendered();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->At(365, 300), 0xFF00FF00u);
    EXPECT_NE(RunTool("--hover btnNone " + data_.Path() + " menu-test.xml " +
                          out_.File("other.png"),
                      out_.File("log.txt")),
              0);
    EXPECT_NE(out_.Read("log.txt").find("no visible button 'btnNone'"), std::string::npos);
}

TEST_F(RenderMenuTest, FailuresAreReported) {
    EXPECT_NE(RunTool(data_.Path() + " menu-absent.xml " + out_.File("menu.png"),
                      out_.File("log.txt")),
              0);
    EXPECT_NE(out_.Read("log.txt").find("Loading XML menu:  'Menu\\menu-absent.xml' ... FAILED"),
              std::string::npos)
        << out_.Read("log.txt");
    EXPECT_NE(RunTool(data_.Path() + " menu-test.xml", out_.File("log.txt")), 0);
    EXPECT_NE(out_.Read("log.txt").find("usage:"), std::string::npos);
}

}  // namespace
