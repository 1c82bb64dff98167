#include "engine/sprite_manager.h"

#include <gtest/gtest.h>

#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "fake_sprite_host.h"
#include "support/user_folder.h"

namespace {

using namespace Quillory;
using TestSupport::CellSheet;

// The screen is as big as the 16 x 8 font image of 10 x 10 cells, so a text of height 10/80
// draws every cell at its own pixel size: cell i is filled with 0xFF000000 + i + 1.
class SymbolFontTest : public ::testing::Test, protected TestSupport::SpriteStage {
protected:
    SymbolFontTest() : SpriteStage(160, 80) {
        user_.StartLog();
        SetLanguageName("ENGLISH");
        host.Provide("English\\font01.png", CellSheet(16, 8, 10, 10));
    }
    void Language(const std::string& keys) {
        user_.Write("language.ini", "[ENGLISH]\r\n" + keys);
        ClearProfileCache();
    }
    // Clears the screen and draws a text centred vertically at x = 0.5.
    int Draw(float size, int flags, const char* text) {
        Clear();
        return sprites.DrawText(0.5f, 0.5f, size, kNoTint, flags, text);
    }
    // First and last column of the middle row holding colour.
    std::pair<int, int> Columns(uint32_t colour) const {
        int first = -1, last = -1;
        for (int x = 0; x < target.GetWidth(); ++x) {
            if (target.GetPixel(x, 40) == colour) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return {first, last};
    }

    TestSupport::TestUserFolder user_;
};

constexpr float kCellHeight = 10.0f / 80;

TEST_F(SymbolFontTest, WidthsComeFromTheRowKeysInSixteenths) {
    // Ten rows of sixteen: row 9 is "Line09_Width", row 10 "Line10_Width".
    Language(
        "SymbolList=AB\r\nSYMBOLS_IN_ROW=16\r\nSYMBOLS_IN_COL=10\r\n"
        "Line01_Width=16,8,4\r\nLine09_Width=12\r\nLine9_Width=2\r\nLine10_Width=6,10\r\n"
        "Line02_Width=16,x,16\r\n");
    sprites.InitSymbolFont("English\\font01.png");
    EXPECT_EQ(sprites.CurrentFontName(), "English\\font01.png");
    EXPECT_EQ(sprites.SymbolsInCol(), 10);
    // Cells past a row's numbers are 0; a malformed number ends its row (row 2: 16, x, 16).
    const std::pair<int, float> widths[] = {
        {0, 1.0f},       {1, 0.5f},        {2, 0.25f},           {3, 0.0f},
        {8 * 16, 0.75f}, {9 * 16, 0.375f}, {9 * 16 + 1, 0.625f}, {16, 1.0f},
        {17, 0.0f},      {18, 0.0f}};
    for (const auto& [cell, width] : widths) {
        EXPECT_FLOAT_EQ(sprites.SymbolWidth(cell), width) << "cell " << cell;
    }
    EXPECT_EQ(user_.LogCount("Can't load symbol width from 'language.ini'"), 1);

    // Later switches keep the table but take the new list (and grid: the switching test).
    Language("SymbolList=XY\r\nSYMBOLS_IN_ROW=8\r\nSYMBOLS_IN_COL=4\r\nLine01_Width=1\r\n");
    host.Provide("English\\font02.png", CellSheet(8, 4, 10, 10));
    sprites.SelectFont("English\\font02.png");
    EXPECT_EQ(sprites.CurrentFontName(), "English\\font02.png");
    EXPECT_FLOAT_EQ(sprites.SymbolWidth(0), 1.0f);
    EXPECT_EQ(sprites.IndexOfSymbol('Y'), 1);
}

TEST_F(SymbolFontTest, GridKeysAreTakenOnlyWhenBothParseAndFit) {
    // Unparsed, larger than the width table, or wrapping around the int range: the image's own
    // 16 x 8 stays.
    const std::pair<const char*, const char*> grids[] = {
        {"12", "abc"}, {"16", "20"}, {"65536", "65536"}, {"2147483647", "2"}, {"0", "5"}};
    for (const auto& [row, col] : grids) {
        Language(std::string("SYMBOLS_IN_ROW=") + row + "\r\nSYMBOLS_IN_COL=" + col + "\r\n");
        sprites.InitSymbolFont("English\\font01.png");
        EXPECT_EQ(sprites.SymbolsInRow(), 16) << row << " x " << col;
        EXPECT_EQ(sprites.SymbolsInCol(), 8) << row << " x " << col;
    }
}

TEST_F(SymbolFontTest, UnknownCharactersAdvanceHalfACellAndLinesAreAnchored) {
    Language("SymbolList=AB\r\nLine01_Width=16,16\r\n");
    sprites.InitSymbolFont("English\\font01.png");
    // "A B" is 10 + 5 + 10 pixels; centred on 80 it starts at 67.5.
    Draw(kCellHeight, kTextCenter, "A B");
    EXPECT_EQ(Columns(0xFF000001), std::make_pair(67, 76));
    EXPECT_EQ(Columns(0xFF000002), std::make_pair(82, 91));
    EXPECT_EQ(target.GetPixel(79, 40), 0u);
    Draw(kCellHeight, kTextRight, "AB");  // right end at 80
    EXPECT_EQ(Columns(0xFF000001), std::make_pair(60, 69));
    EXPECT_EQ(Columns(0xFF000002), std::make_pair(70, 79));
    // Left end at 80, with twice the height: cells twice as wide.
    Draw(2 * kCellHeight, kTextLeft, "B");
    EXPECT_EQ(Columns(0xFF000002), std::make_pair(80, 99));
}

TEST_F(SymbolFontTest, NaturalSizeDrawsTheTrimmedCells) {
    Language("SymbolList=AB\r\nLine01_Width=16,8\r\n");
    sprites.InitSymbolFont("English\\font01.png");
    // The size is ignored; each glyph is its cell less 6% on the right and 8% at the top.
    Draw(0.9f, kTextLeft | kTextNaturalSize, "B");
    // Advance 5: centre at 82.5, 9 of 10 pixels wide, 9 of 10 high.
    EXPECT_EQ(TestSupport::DrawnBox(target), Tuvo::Rect(77, 35, 9, 9));
    EXPECT_EQ(target.GetPixel(80, 40), 0xFF000002u);
}

TEST_F(SymbolFontTest, TextsAreTranslatedFirstAndNeedAFontAndSymbols) {
    Language("SymbolList=AB\r\nLine01_Width=16,16\r\nGreeting=BA\r\n");
    // Without a font nothing is drawn. (No text of the game is a picture, so picture texts are
    // left alone here.)
    EXPECT_EQ(Draw(kCellHeight, kTextLeft, "AB"), 1);
    EXPECT_EQ(Columns(0xFF000001).first, -1);
    sprites.InitSymbolFont("English\\font01.png");
    Draw(kCellHeight, kTextLeft, "Greeting");
    EXPECT_EQ(Columns(0xFF000002), std::make_pair(80, 89));
    EXPECT_EQ(Columns(0xFF000001), std::make_pair(90, 99));
    // Literal texts (what a player typed) are not translated.
    Draw(kCellHeight, kTextLeft | kTextLiteral, "Greeting");
    EXPECT_EQ(Columns(0xFF000002).first, -1);
    // A key the language lacks is drawn as itself.
    Draw(kCellHeight, kTextLeft, "AB");
    EXPECT_EQ(Columns(0xFF000001), std::make_pair(80, 89));

    // An empty symbol list draws nothing.
    Language("Line01_Width=16,16\r\n");
    sprites.InitSymbolFont("English\\font01.png");
    EXPECT_EQ(sprites.IndexOfSymbol('\0'), -1);
    Draw(kCellHeight, kTextLeft, "AB");
    EXPECT_EQ(Columns(0xFF000001).first, -1);
}

// Menus switch fonts several times a draw: the language's values are kept until they may have
// changed (another language, the file written), and images kept at hand go with the table.
TEST_F(SymbolFontTest, SwitchesKeepTheLanguageValuesUntilTheyMayHaveChanged) {
    Language(
        "SymbolList=AB\r\n[OTHER]\r\nSymbolList=BA\r\nSYMBOLS_IN_ROW=8\r\nSYMBOLS_IN_COL=4\r\n");
    host.Provide("English\\font02.png", CellSheet(16, 8, 10, 10));
    sprites.SelectFont("English\\font01.png");
    sprites.SelectFont("English\\font02.png");
    sprites.SelectFont("English\\font01.png");
    EXPECT_EQ(host.loads["English\\font01.png"], 1);
    SetLanguageName("OTHER");
    sprites.SelectFont("English\\font02.png");
    EXPECT_EQ(sprites.IndexOfSymbol('A'), 1);
    EXPECT_EQ(sprites.SymbolsInRow(), 8);
    ASSERT_TRUE(WritePrivateProfileString("OTHER", "SymbolList", "XYA", "language.ini"));
    sprites.SelectFont("English\\font01.png");
    EXPECT_EQ(sprites.IndexOfSymbol('A'), 2);
    sprites.DeleteAllTextures();
    sprites.SelectFont("English\\font01.png");
    EXPECT_EQ(host.loads["English\\font01.png"], 2);
    EXPECT_EQ(sprites.FontImage(), sprites.GetTexture("English\\font01.png"));
}

}  // namespace
