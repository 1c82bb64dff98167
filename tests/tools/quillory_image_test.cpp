// Runs the quillory-image tool on pictures with alpha files and reads its PNG back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagefiles/png_writer.h"
#include "imagefiles/readers.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

int RunTool(const TestSupport::TempFolder& folder, std::vector<std::string> arguments) {
    return TestSupport::RunProgram({.program = QUILLORY_IMAGE_TOOL,
                                    .arguments = std::move(arguments),
                                    .folder = folder.Path(),
                                    .errorFile = folder.File("log.txt")});
}

std::string Png(const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ImageLib::EncodePng(pixels.data(), static_cast<int>(pixels.size()), 1, bytes));
    return std::string(bytes.begin(), bytes.end());
}

TEST(QuilloryImageTest, WritesThePixelsTheGameGetsAndSaysWhenNothingLoads) {
    TestSupport::TempFolder folder;
    folder.Write("Graphics/x.png", Png({0xFFFF0000u, 0xFF00FF00u}));
    folder.Write("Graphics/_x.png", Png({0xFF000010u, 0xFF0000F0u}));
    ASSERT_EQ(RunTool(folder, {"Graphics\\x", "out.png"}), 0) << folder.Read("log.txt");
    EXPECT_EQ(folder.Read("log.txt"), "2 x 1\n");
    const std::string written = folder.Read("out.png");
    const auto image =
        ImageLib::DecodePng(reinterpret_cast<const uint8_t*>(written.data()), written.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits, (std::vector<uint32_t>{0x10FF0000u, 0xF000FF00u}));

    folder.Write("a.bmp", "BM");
    EXPECT_NE(RunTool(folder, {"a.bmp", "out.png"}), 0);
    EXPECT_NE(folder.Read("log.txt").find("nothing loads"), std::string::npos);
    EXPECT_NE(RunTool(folder, {"missing", "out.png"}), 0);
    EXPECT_NE(RunTool(folder, {}), 0);
}

}  // namespace
