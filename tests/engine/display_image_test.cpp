#include "engine/display_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "imagefiles/png_writer.h"
#include "support/temp_folder.h"

namespace {

using Quillory::LoadDisplayImage;
using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

// A 4 x 2 picture of one colour.
void WritePng(const TempFolder& folder, const std::string& name, uint32_t colour) {
    folder.Write(name, "");  // makes the folders
    const std::vector<uint32_t> pixels(8, colour);
    ASSERT_TRUE(ImageLib::WritePngFile(folder.File(name), pixels.data(), 4, 2));
}

TEST(DisplayImageTest, FilesBecomeDrawableImagesWithTheirAlphaFiles) {
    TempFolder data;
    ScopedCurrentDirectory in(data.Path());
    WritePng(data, "Graphics/x.png", 0xFF102030);
    WritePng(data, "Graphics/_x.png", 0xFF000080);  // alpha from the blue channel
    auto image = LoadDisplayImage("Graphics\\X.png", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 4);
    EXPECT_EQ(image->GetHeight(), 2);
    EXPECT_EQ(image->GetPixel(3, 1), 0x80102030u);
    EXPECT_EQ(image->GetFilePath(), "Graphics\\X.png");

    EXPECT_EQ(LoadDisplayImage("Graphics\\missing.png", true), nullptr);
    EXPECT_EQ(LoadDisplayImage("", true), nullptr);
    EXPECT_EQ(LoadDisplayImage(nullptr, true), nullptr);
}

}  // namespace
