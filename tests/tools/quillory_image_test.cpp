// Runs the quillory-image tool on pictures with alpha files and reads its PNG back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imagefiles/png_writer.h"
#include "imagefiles/readers.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

int RunTool(const std::string& arguments, const std::string& outputFile) {
    const std::string command =
        std::string(QUILLORY_IMAGE_TOOL) + " " + arguments + " > " + outputFile + " 2>&1";
    return std::system(command.c_str());
}

std::string Png(const std::vector<uint32_t>& pixels, int width, int height) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ImageLib::EncodePng(pixels.data(), width, height, bytes));
    return std::string(bytes.begin(), bytes.end());
}

TEST(QuilloryImageTest, WritesThePixelsTheGameGets) {
    TempFolder folder;
    folder.Write("Graphics/x.png", Png({0xFFFF0000u, 0xFF00FF00u}, 2, 1));
    folder.Write("Graphics/_x.png", Png({0xFF000010u, 0xFF0000F0u}, 2, 1));
    ScopedCurrentDirectory in(folder.Path());
    ASSERT_EQ(RunTool("'Graphics\\x' out.png", "log.txt"), 0) << folder.Read("log.txt");
    EXPECT_EQ(folder.Read("log.txt"), "2 x 1\n");
    const std::string written = folder.Read("out.png");
    const auto image =
        ImageLib::DecodePng(reinterpret_cast<const uint8_t*>(written.data()), written.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits, (std::vector<uint32_t>{0x10FF0000u, 0xF000FF00u}));
}

TEST(QuilloryImageTest, NothingLoadingIsAnError) {
    TempFolder folder;
    folder.Write("a.bmp", "BM");
    ScopedCurrentDirectory in(folder.Path());
    EXPECT_NE(RunTool("a.bmp out.png", "log.txt"), 0);
    EXPECT_NE(folder.Read("log.txt").find("nothing loads"), std::string::npos);
    EXPECT_NE(RunTool("missing out.png", "log.txt"), 0);
    EXPECT_NE(RunTool("", "log.txt"), 0);
}

}  // namespace
