// Screenshots: numbered files that never replace another, opaque whatever the back buffer held,
// and refusals reported.
#include "shell/screenshot.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "imagefiles/readers.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

TEST(ScreenshotTest, FramesGetTheFirstFreeNumberAndNothingIsOverwritten) {
    TempFolder user;
    const std::string folder = user.File("screenshots");
    std::vector<uint32_t> pixels(4 * 3, 0x00123456u);  // alpha 0 as the back buffer leaves it
    pixels[5] = 0x80FF0000u;
    user.Write("screenshots/quillory-0002.png", "not ours");
    std::string error;
    const std::string first = Tuvo::WriteScreenshot(folder, pixels.data(), 4, 3, error);
    const std::string second = Tuvo::WriteScreenshot(folder, pixels.data(), 4, 3, error);
    EXPECT_EQ(first, folder + "/quillory-0001.png") << error;
    EXPECT_EQ(second, folder + "/quillory-0003.png") << error;
    EXPECT_EQ(user.Read("screenshots/quillory-0002.png"), "not ours");

    // The frame comes back as written, opaque.
    const std::string bytes = user.Read("screenshots/quillory-0001.png");
    const auto image =
        ImageLib::DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(std::pair(image->width, image->height), std::pair(4, 3));
    EXPECT_EQ(image->bits[0], 0xFF123456u);
    EXPECT_EQ(image->bits[5], 0xFFFF0000u);
}

TEST(ScreenshotTest, NoFrameOrNoFolderIsReportedNotWritten) {
    TempFolder user;
    std::string error;
    EXPECT_EQ(Tuvo::WriteScreenshot(user.Path(), nullptr, 800, 600, error), "");
    EXPECT_FALSE(error.empty());
    // "screenshots" taken by a file: refused, the file kept.
    user.Write("screenshots", "a file");
    const uint32_t pixel = 0;
    error.clear();
    EXPECT_EQ(Tuvo::WriteScreenshot(user.File("screenshots"), &pixel, 1, 1, error), "");
    EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
    EXPECT_EQ(user.Read("screenshots"), "a file");
}

}  // namespace
