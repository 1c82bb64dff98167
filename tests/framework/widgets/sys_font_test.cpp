// Tests of the FreeType system font: size conversion, face files, metrics, anti-aliased drawing
// through the context's clip and translation, text decoding and a missing font file.
#include "framework/widgets/sys_font.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/graphics/graphics.h"
#include "framework/graphics/memory_image.h"

namespace Tuvo {
namespace {

constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu";

// The bounding box of the pixels that are no longer white.
Rect InkBox(const MemoryImage& image) {
    int left = image.GetWidth(), top = image.GetHeight(), right = -1, bottom = -1;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetPixel(x, y) != 0xFFFFFFFFu) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? Rect() : Rect(left, top, right - left + 1, bottom - top + 1);
}

// Draws "H" at (5, 20) in red on white, after `setup` has changed the context.
template <typename Setup>
MemoryImage DrawH(SysFont& font, Setup setup) {
    MemoryImage image(60, 30);
    image.FillRect(Rect(0, 0, 60, 30), Color(255, 255, 255), kDrawModeNormal);
    Graphics g(&image);
    g.SetFont(&font);
    g.SetColor(Color(255, 0, 0));
    setup(g);
    g.DrawString("H", 5, 20);
    return image;
}

// Point sizes become pixels at 96 dots per inch; the face is DejaVu Sans, measured in whole
// pixels without kerning, and drawn anti-aliased in the colour on the baseline inside the clip.
TEST(SysFontTest, SizesMetricsAndAntiAliasedDrawing) {
    const int table[][2] = {{10, 13}, {12, 16}, {14, 19}};
    for (const auto& [points, pixels] : table) {
        EXPECT_EQ(SysFont::PointsToPixels(points, 0), pixels) << points;
    }
    EXPECT_EQ(SysFont::FontFileFor("Arial Unicode MS", false, false),
              std::string(kDejaVu) + "/DejaVuSans.ttf");

    SysFont font("Arial Unicode MS", 12);
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.GetPixelSize(), 16);
    EXPECT_GT(font.GetAscent(), 10);
    EXPECT_LT(font.GetAscent(), 18);
    EXPECT_GT(font.GetHeight(), font.GetAscent());
    EXPECT_EQ(font.GetLineSpacing(), font.GetHeight() + font.GetExtraLineSpacing());
    EXPECT_EQ(font.StringWidth(""), 0);
    EXPECT_EQ(font.StringWidth("AV"), font.CharWidth('A') + font.CharWidth('V'));
    EXPECT_EQ(font.CharAdvance('V', 'A'), font.CharWidth('V'));
    EXPECT_GT(font.CharWidth('W'), font.CharWidth('i'));
    // UTF-8 text and Windows-1252 bytes name the same characters.
    EXPECT_EQ(font.StringWidth("\xC3\xA9t\xC3\xA9"), font.StringWidth("\xE9t\xE9"));
    EXPECT_EQ(font.StringWidth("\xE9"), font.CharWidth('\xE9'));
    EXPECT_EQ(font.CharWidth('\x97'), font.StringWidth("\xE2\x80\x94"));  // the em dash

    std::unique_ptr<Font> copy(font.Duplicate());
    EXPECT_EQ(copy->StringWidth("Quillory"), font.StringWidth("Quillory"));

    const MemoryImage image = DrawH(font, [](Graphics&) {});
    const Rect ink = InkBox(image);
    // The capital sits on the baseline and rises about its cap height above it.
    EXPECT_EQ(ink.y + ink.height, 20);
    EXPECT_GE(ink.x, 5);
    EXPECT_LE(ink.x + ink.width, 5 + font.CharWidth('H'));
    bool fullInk = false;
    bool partialInk = false;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            const uint32_t pixel = image.GetPixel(x, y);
            EXPECT_EQ((pixel >> 8) & 0xFF, pixel & 0xFF);  // red over white: green = blue
            fullInk |= pixel == 0xFFFF0000u;
            partialInk |= pixel != 0xFFFF0000u && pixel != 0xFFFFFFFFu;
        }
    }
    EXPECT_TRUE(fullInk);
    EXPECT_TRUE(partialInk);

    // The translation moves the text; the clip cuts it; a transparent colour draws nothing.
    EXPECT_EQ(InkBox(DrawH(font, [](Graphics& g) { g.Translate(10, 2); })),
              Rect(ink.x + 10, ink.y + 2, ink.width, ink.height));
    EXPECT_EQ(InkBox(DrawH(font, [&](Graphics& g) { g.ClipRect(0, 0, ink.x + 2, 30); })).width, 2);
    EXPECT_TRUE(
        InkBox(DrawH(font, [](Graphics& g) { g.SetColor(Color(255, 0, 0, 0)); })).IsEmpty());
}

TEST(SysFontTest, AMissingFontFileDrawsAndMeasuresNothing) {
    SysFont::SetFontFolder("/nonexistent/fonts");
    SysFont missing("Arial Unicode MS", 12);
    SysFont::SetFontFolder(kDejaVu);
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.StringWidth("text"), 0);
    EXPECT_EQ(missing.GetHeight(), 0);
    EXPECT_TRUE(InkBox(DrawH(missing, [](Graphics&) {})).IsEmpty());
    std::unique_ptr<Font> copy(missing.Duplicate());
    EXPECT_EQ(copy->StringWidth("text"), 0);
}

}  // namespace
}  // namespace Tuvo
