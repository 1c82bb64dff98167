#include "engine/menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ini_access.h"
#include "fake_sprite_host.h"
#include "support/user_folder.h"

namespace {

using namespace Quillory;
using TestSupport::SolidImage;
using TestSupport::TempFolder;

class FakeMenuHost : public MenuHost {
public:
    void PlaySound(const char* fileName) override { played.push_back(fileName); }
    bool IsLeftButtonDown() const override { return leftDown; }

    std::vector<std::string> played;
    bool leftDown = false;
};

std::string Repeat(const std::string& element, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += element;
    }
    return out;
}

// The screen is 100 x 100 pixels, so fractions read as percent of it.
class MenuTest : public ::testing::Test, protected TestSupport::SpriteStage {
protected:
    MenuTest() : SpriteStage(100, 100), inData_(data_.Path()) {
        user_.StartLog();
        SetLanguageName("ENGLISH");
        user_.Write("language.ini", "[ENGLISH]\r\nSymbolList=ab1_\r\nLine01_Width=16,16,16,16\r\n");
        host.Provide("font.png", SolidImage(160, 80, 0xFFFFFFFF));
        sprites.InitSymbolFont("font.png");
        menu_.Attach(&sprites, &menuHost_);
    }
    int Load(const std::string& body) {
        data_.Write("Menu/test.xml", "<?xml version=\"1.0\"?>\n" + body);
        return menu_.Load("Menu\\test.xml");
    }
    std::string Option(const char* key) const {
        char value[kConfigValueSize];
        ReadConfigString("OPTIONS", key, value);
        return value;
    }
    const char* Send(uint32_t code, int x, int y, uintptr_t wParam = 0) {
        return menu_.HandleMessage({.message = code, .wParam = wParam, .x = x, .y = y});
    }
    const char* Move(int x, int y) { return Send(kMessageMouseMove, x, y); }
    const char* Click(int x, int y) { return Send(kMessageLeftButtonDown, x, y); }
    // Both edit boxes' texts, as "first|second".
    std::string Edits() const { return std::string(menu_.Edit(0).text) + "|" + menu_.Edit(1).text; }
    void Type(const std::string& text) {
        for (char c : text) {
            Send(kMessageChar, 0, 0, static_cast<unsigned char>(c));
        }
    }

    TempFolder data_;
    TestSupport::TestUserFolder user_;
    TestSupport::ScopedCurrentDirectory inData_;
    FakeMenuHost menuHost_;
    CMenu menu_;
};

TEST_F(MenuTest, LimitsKeepTheFirstControlsAndWarnOnce) {
    ASSERT_EQ(
        Load("<Screen>" + Repeat("<Button name=\"b\"/>", 31) + Repeat("<Slider name=\"s\"/>", 6) +
             Repeat("<Edit/>", 4) + Repeat("<Image/>", 21) + Repeat("<Text/>", 46) + "</Screen>"),
        1);
    EXPECT_EQ((std::vector<int>{menu_.ButtonCount(), menu_.SliderCount(), menu_.EditCount(),
                                menu_.ImageCount(), menu_.TextCount()}),
              (std::vector<int>{30, 5, 3, 20, 45}));
    for (const char* kind :
         {"buttons in menu - 30", "sliders in menu - 5", "edit boxes in menu - 3",
          "images in menu - 20", "text strings in menu - 45"}) {
        EXPECT_EQ(user_.LogCount(std::string("WARNING: Too many ") + kind), 1) << kind;
    }
    EXPECT_EQ(user_.LogCount("Loading XML menu:  'Menu\\test.xml' ... OK"), 1);

    user_.Write("applog.htm", "");  // exactly at the limits: silent
    ASSERT_EQ(Load("<Screen>" + Repeat("<Button/>", 30) + Repeat("<Text/>", 45) + "</Screen>"), 1);
    EXPECT_EQ(user_.Log().find("WARNING"), std::string::npos);
}

// Only direct children count; long values are cut to the field; non-numbers read as 0; a broken
// file keeps the last screen and a file without a screen is empty.
TEST_F(MenuTest, AttributesAreReadKindByKindAndBrokenFilesKeepTheLastScreen) {
    const std::string longName(60, 'n');
    ASSERT_EQ(
        Load("<Screen bgImage=\"back.jpg\"><Text name=\"txtScore\" xc=\"0.25\" "
             "yc=\"0.75abc\" size=\"x\"/><Image img=\"one.png\" xc=\"0.1\"/><Button name=\"" +
             longName +
             "\" xc=\"nan\" width=\"1e40\"/><Nested><Button name=\"deep\"/></Nested>"
             "<Image img=\"two.png\"/><Text name=\"other\"/><Text name=\"txtScore\"/></Screen>"),
        1);
    EXPECT_STREQ(menu_.BackgroundImage(), "back.jpg");
    ASSERT_EQ(menu_.ImageCount(), 2);  // images after a text are read too
    EXPECT_STREQ(menu_.Image(1).img, "two.png");
    ASSERT_EQ(menu_.ButtonCount(), 1);
    EXPECT_EQ(std::string(menu_.Button(0).name), longName.substr(0, 39));
    EXPECT_EQ((std::vector<float>{menu_.Image(0).xc, menu_.Text(0).xc, menu_.Text(0).yc,
                                  menu_.Text(0).size, menu_.Button(0).xc, menu_.Button(0).width}),
              (std::vector<float>{0.1f, 0.25f, 0.75f, 0, 0, 0}));
    // SetText fills every record of the name, cut to the field.
    menu_.SetText("txtScore", std::string(150, '9').c_str());
    EXPECT_EQ(std::string(menu_.Text(0).text), std::string(99, '9'));
    EXPECT_EQ(std::string(menu_.Text(2).text), std::string(99, '9'));
    EXPECT_STREQ(menu_.Text(1).text, "");

    EXPECT_EQ(Load("<Screen><Button name=\"x\"></Screen>"), 0);
    EXPECT_EQ(menu_.ButtonCount(), 1);
    EXPECT_EQ(std::string(menu_.Button(0).name), longName.substr(0, 39));
    EXPECT_EQ(menu_.Load("Menu\\absent.xml"), 0);
    EXPECT_EQ(user_.LogCount("Loading XML menu:  'Menu\\absent.xml' ... FAILED"), 1);
    EXPECT_EQ(Load("<Menu><Button name=\"x\"/></Menu>"), 1);
    EXPECT_EQ(menu_.ButtonCount(), 0);
}

// Two overlapping buttons and a check box. (No menu of the game has radio groups.)
constexpr char kButtons[] =
    "<Screen clickSound=\"click.ogg\" overSound=\"over.ogg\">"
    "<Button name=\"btnA\" xc=\"0.2\" yc=\"0.2\" width=\"0.2\" height=\"0.2\" action=\"procA\"/>"
    "<Button name=\"btnB\" xc=\"0.3\" yc=\"0.3\" width=\"0.2\" height=\"0.2\" action=\"procB\"/>"
    "<Button name=\"btnCheck\" xc=\"0.7\" yc=\"0.2\" width=\"0.1\" height=\"0.1\" "
    "outImgChecked=\"on.png\" action=\"procCheck\"/></Screen>";

TEST_F(MenuTest, ButtonsHoverClickAndCheckByTheFirstHit) {
    ASSERT_EQ(Load(kButtons), 1);
    EXPECT_STREQ(Move(25, 25), "");
    EXPECT_TRUE(menu_.IsButtonHover("btnA"));
    EXPECT_TRUE(menu_.IsButtonHover("btnB"));
    EXPECT_EQ(menuHost_.played, (std::vector<std::string>{"over.ogg", "over.ogg"}));
    Move(15, 15);  // still over A: no new sound
    EXPECT_EQ(menuHost_.played.size(), 2u);
    EXPECT_FALSE(menu_.IsButtonHover("btnB"));
    // The hit test is strict: the edge pixel is outside.
    Move(10, 15);
    EXPECT_FALSE(menu_.IsButtonHover("btnA"));
    EXPECT_STREQ(Click(25, 25), "procA");
    EXPECT_EQ(menuHost_.played.back(), "click.ogg");
    EXPECT_STREQ(Click(35, 35), "procB");
    EXPECT_STREQ(Click(95, 95), "");

    // A disabled button is skipped.
    menu_.SetButtonEnabled("btnA", false);
    EXPECT_STREQ(Click(25, 25), "procB");
    Move(15, 15);
    EXPECT_FALSE(menu_.IsButtonHover("btnA"));

    // Check boxes keep their state in the options.
    EXPECT_STREQ(Click(70, 20), "procCheck");
    EXPECT_TRUE(menu_.IsButtonChecked("btnCheck"));
    EXPECT_EQ(Option("btnCheck"), "1");
    Click(70, 20);
    EXPECT_FALSE(menu_.IsButtonChecked("btnCheck"));
    EXPECT_EQ(Option("btnCheck"), "0");

    // Huge controls: both factors saturate near the int range; their sum must not wrap (UBSan).
    ASSERT_EQ(Load("<Screen><Button name=\"far\" xc=\"1e38\" yc=\"1e38\" width=\"1e38\" "
                   "height=\"1e38\" action=\"procFar\"/>"
                   "<Button name=\"all\" xc=\"0.5\" yc=\"0.5\" width=\"3e7\" height=\"3e7\" "
                   "action=\"procAll\"/></Screen>"),
              1);
    EXPECT_STREQ(Click(50, 50), "procAll");
    EXPECT_FALSE(menu_.IsButtonHover("far"));
}

// Check boxes and sliders come back from the options (a slider without one at 0.75, a number
// out of range at 1); a slider follows the held button.
TEST_F(MenuTest, CheckBoxesAndSlidersComeFromTheOptionsAndSlidersFollowTheHeldButton) {
    WriteConfigInt("OPTIONS", "btnFullScreen", 1);
    WriteConfigInt("OPTIONS", "btnPlain", 1);
    WriteConfigString("OPTIONS", "SfxVolume", "0.300000");
    WriteConfigString("OPTIONS", "Broken", "7.5");
    host.Provide("bar.png", SolidImage(40, 10, 0xFF808080));
    host.Provide("thumb.png", SolidImage(4, 10, 0xFFFFFFFF));
    ASSERT_EQ(Load("<Screen overSound=\"over.ogg\" clickSound=\"click.ogg\">"
                   "<Slider name=\"MusicVolume\" xc=\"0.5\" yc=\"0.5\" outSliderImg=\"bar.png\" "
                   "outThumbImg=\"thumb.png\" action=\"procMusic\"/><Slider name=\"SfxVolume\"/>"
                   "<Slider name=\"Broken\"/><Button name=\"btnFullScreen\" "
                   "outImgChecked=\"on.png\"/><Button name=\"btnPlain\"/></Screen>"),
              1);
    EXPECT_TRUE(menu_.IsButtonChecked("btnFullScreen"));
    EXPECT_FALSE(menu_.IsButtonChecked("btnPlain"));  // not a check box
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.3f);
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("Broken"), 1.0f);
    // Not measured before the first draw: nothing hits.
    EXPECT_STREQ(Click(50, 50), "");
    menu_.Draw();
    // The bar spans pixels 30..70; moving without the button only hovers.
    EXPECT_STREQ(Move(40, 50), "");
    EXPECT_EQ(menu_.Slider(0).hover, 1);
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("MusicVolume"), 0.75f);
    EXPECT_EQ(menuHost_.played, std::vector<std::string>{"over.ogg"});
    menuHost_.leftDown = true;
    EXPECT_STREQ(Move(40, 50), "procMusic");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("MusicVolume"), 0.25f);
    EXPECT_STREQ(Move(60, 50), "procMusic");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("MusicVolume"), 0.75f);
    EXPECT_EQ(Option("MusicVolume"), "0.750000");
    EXPECT_STREQ(Move(60, 80), "");
    EXPECT_EQ(menu_.Slider(0).hover, 0);
    menuHost_.leftDown = false;
    EXPECT_STREQ(Click(35, 50), "procMusic");
    EXPECT_NEAR(menu_.GetSliderValue("MusicVolume"), 0.125f, 1e-5);
    EXPECT_EQ(menuHost_.played.back(), "click.ogg");
    EXPECT_EQ(Option("MusicVolume"), "0.125000");

    // The thumb sits at value along the bar.
    Clear();
    menu_.Draw();
    EXPECT_EQ(target.GetPixel(35, 50), 0xFFFFFFFFu);
    EXPECT_EQ(target.GetPixel(45, 50), 0xFF808080u);
}

TEST_F(MenuTest, EditBoxesTakeKnownCharactersUpToTheirLimit) {
    ASSERT_EQ(Load("<Screen><Edit name=\"short\" maxlen=\"7.6\" blockedchars=\"1\"/>"
                   "<Edit name=\"long\" maxlen=\"50\"/></Screen>"),
              1);
    // "c" is not in the symbol list, "1" is blocked in the first box; a blank is accepted.
    Type("a bc1");
    EXPECT_EQ(Edits(), "a b|a b");
    Type(std::string(30, 'a'));
    EXPECT_EQ(Edits(), "a baaaaa|a b" + std::string(17, 'a'));
    // Backspace edits only the first box with text.
    Send(kMessageKeyDown, 0, 0, 8);
    EXPECT_EQ(Edits(), "a baaaa|a b" + std::string(17, 'a'));
}

TEST_F(MenuTest, ButtonsDrawByStateWithCaptionsAndAlphaScalesTheColour) {
    host.Provide("out.png", SolidImage(20, 10, 0xFF0000FF));
    host.Provide("over.png", SolidImage(20, 10, 0xFF00FF00));
    ASSERT_EQ(Load("<Screen buttonFont=\"font.png\">"
                   "<Button name=\"btn\" text=\"ab\" align=\"left\" stretch=\"no\" xc=\"0.3\" "
                   "yc=\"0.5\" outImg=\"out.png\" overImg=\"over.png\"/></Screen>"),
              1);
    menu_.Draw();
    // Natural size: the image's 20 x 10 pixels, and captions one font cell high (10 / 100).
    EXPECT_FLOAT_EQ(menu_.Button(0).textSize, 0.1f);
    EXPECT_EQ(target.GetPixel(25, 50), 0xFF0000FFu);
    // The left-aligned caption starts one button width right of the centre.
    EXPECT_EQ(target.GetPixel(48, 50), 0u);
    EXPECT_NE(target.GetPixel(52, 50), 0u);
    Move(30, 50);
    menu_.Draw();
    EXPECT_EQ(target.GetPixel(25, 50), 0xFF00FF00u);

    // The menu alpha scales the drawing colour.
    host.Provide("white.png", SolidImage(10, 10, 0xFFFFFFFF));
    ASSERT_EQ(Load("<Screen><Image img=\"white.png\" xc=\"0.5\" yc=\"0.5\" stretch=\"no\"/>"
                   "</Screen>"),
              1);
    EXPECT_EQ(menu_.DrawingColour(), 0x00FFFFFFu);  // 255 + 1 wraps to opaque
    menu_.SetAlpha(0.5f);
    target.FillRect(Tuvo::Rect(0, 0, 100, 100), Tuvo::kColorBlack, Tuvo::kDrawModeNormal);
    menu_.Draw();
    EXPECT_NEAR(static_cast<int>(target.GetPixel(50, 50) & 0xFF), 128, 2);
    EXPECT_EQ(target.GetPixel(40, 50), 0xFF000000u);
}

}  // namespace
