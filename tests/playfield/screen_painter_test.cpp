#include "playfield/screen_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "effects/effect2d.h"
#include "engine/fake_sprite_host.h"
#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "engine/scores.h"
#include "game/quillory_game.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "support/user_folder.h"

namespace {

using namespace Tuvo;
using TestSupport::SolidImage;

// The real rules, sprite manager and menus, drawing onto an 800 x 600 picture.
class ScreenPainterTest : public ::testing::Test, protected TestSupport::SpriteStage {
protected:
    ScreenPainterTest() : SpriteStage(800, 600) {
        user_.StartLog();
        host.Provide("Graphics\\round_time.png", SolidImage(20, 20, 0xFFFF0000));
        host.Provide("Graphics\\grey.png", SolidImage(10, 10, 0xFF808080));
        host.Provide("English\\hint2.png", SolidImage(10, 10, 0xFF00FF00));
        Clear();
    }
    void LoadMenu(MenuScreen screen, const std::string& body) {
        const std::string xml = "<Screen>" + body + "</Screen>";
        ASSERT_EQ(menus_[screen].LoadFromMemory("test", xml.data(), xml.size()), 1);
        menus_[screen].Attach(&sprites, nullptr);
    }
    // Paints the screen opaque black.
    void Clear() { std::fill_n(target.GetBits(), 800 * 600, 0xFF000000); }
    uint32_t Pixel(float x, float y) const {
        return target.GetPixel(static_cast<int>(x * 800), static_cast<int>(y * 600)) & 0xFFFFFF;
    }
    std::string TextOf(MenuScreen screen, const char* name) const {
        const Quillory::CMenu& menu = menus_[screen];
        for (int i = 0; i < menu.TextCount(); ++i) {
            if (std::strcmp(menu.Text(i).name, name) == 0) {
                return menu.Text(i).text;
            }
        }
        return "<missing>";
    }
    Quillory::GameModel& Model() { return game_.EditState(); }

    TestSupport::TestUserFolder user_;
    Platform::ManualClock clock_;
    Platform::RandomGenerator random_;
    Quillory::CEffect2d effects_{clock_, random_, nullptr, &sprites};
    MenuSet menus_;
    Quillory::CScores scores_;
    Quillory::CQuilloryGame game_{Quillory::GameServices{
        .clock = &clock_, .rulesRandom = &random_, .cosmeticRandom = &random_}};
    ScreenPainter painter_{game_, sprites, menus_, effects_, scores_};
};

TEST(ScreenPainterRules, FadeTintsCellEdgesAndHintPlaces) {
    EXPECT_EQ(ScreenPainter::FadeTint(1.0f), 0x00FFFFFFu);  // wraps to 0: opaque
    EXPECT_EQ(ScreenPainter::FadeTint(0.0f), 0x01FFFFFFu);

    // A 20-pixel picture at y 6 px would start above the top edge: one pixel higher.
    EXPECT_FLOAT_EQ(ScreenPainter::CellDrawY(0.01f, 20), 0.01f - 1.0f / 600.0f);
    EXPECT_FLOAT_EQ(ScreenPainter::CellDrawY(12.0f / 600.0f, 20), 12.0f / 600.0f);

    const ScreenPainter::HintPlace above = ScreenPainter::HintPlaceFor(0.5f, 0.004f);
    EXPECT_FLOAT_EQ(above.arrowY, 0.5f - 0.13f + 0.004f);
    EXPECT_FLOAT_EQ(above.arrowAngle, 0.0f);
    const ScreenPainter::HintPlace below = ScreenPainter::HintPlaceFor(0.2f, 0.004f);
    EXPECT_FLOAT_EQ(below.arrowY, 0.2f + 0.13f - 0.004f);
    EXPECT_NEAR(below.arrowAngle, 3.14159265f, 1e-5);
}

TEST_F(ScreenPainterTest, TheHudWritesItsNumbersAndBlinksTheClockBelowTenSeconds) {
    LoadMenu(MENU_INGAME,
             "<Text name=\"txtScoreNum\" xc=\"0.1\" yc=\"0.1\" size=\"0.04\"/>"
             "<Text name=\"txtTimeNum\" xc=\"0.5\" yc=\"0.5\" size=\"0.04\"/>"
             "<Text name=\"txtLevelNum\" xc=\"0.1\" yc=\"0.3\" size=\"0.04\"/>");
    Model().score = 1234;
    Model().levelNumber = 7;
    Model().timeLeft = 12.7f;
    Model().now = 0.5f;
    painter_.DrawHud();
    EXPECT_EQ(TextOf(MENU_INGAME, "txtScoreNum"), "1234");
    EXPECT_EQ(TextOf(MENU_INGAME, "txtTimeNum"), "12");
    EXPECT_EQ(TextOf(MENU_INGAME, "txtLevelNum"), "7");
    EXPECT_EQ(Pixel(0.5f, 0.5f), 0u);

    // Half way up the triangle: half opaque red.
    Model().timeLeft = 5.0f;
    painter_.DrawHud();
    EXPECT_NEAR(static_cast<int>(Pixel(0.5f, 0.5f) >> 16), 128, 2);
    // Relax runs past zero: still blinking, and the number goes negative.
    Clear();
    Model().timeLeft = -3.5f;
    Model().now = 1.75f;  // on the way down: 0.25
    painter_.DrawHud();
    EXPECT_EQ(TextOf(MENU_INGAME, "txtTimeNum"), "-3");
    EXPECT_NEAR(static_cast<int>(Pixel(0.5f, 0.5f) >> 16), 64, 2);

    // The missing meter control is logged once, however many frames are drawn.
    painter_.DrawHud();
    EXPECT_EQ(user_.LogCount("txtMeterBar"), 1);
}

TEST_F(ScreenPainterTest, TheStageMapGreysTheLockedStagesOnly) {
    LoadMenu(MENU_MAP,
             "<Button name=\"btnStart\" xc=\"0.5\" yc=\"0.9\" width=\"0.1\" height=\"0.05\"/>"
             "<Button name=\"btnStage1\" xc=\"0.25\" yc=\"0.5\" width=\"0.1\" height=\"0.1\"/>"
             "<Button name=\"btnStage2\" xc=\"0.75\" yc=\"0.5\" width=\"0.1\" height=\"0.1\"/>");
    menus_[MENU_MAP].SetButtonEnabled("btnStage2", false);
    menus_[MENU_MAP].SetButtonEnabled("btnStart", false);
    Model().screenState = STATE_MAP;
    Model().phase = Quillory::PHASE_MAP_SHOWN;
    painter_.PaintScreen(STATE_MAP);
    EXPECT_EQ(Pixel(0.75f, 0.5f), 0x808080u);
    EXPECT_EQ(Pixel(0.25f, 0.5f), 0u);
    EXPECT_EQ(Pixel(0.5f, 0.9f), 0u);  // not a stage
}

TEST_F(ScreenPainterTest, TheDropHintGoesBelowACellNearTheTop) {
    Model().tutorialOn = 1;
    Model().tutorialStep = Quillory::TUTORIAL_DROP;
    Model().cellCount = 6;
    Model().cells[4].x = 0.5f;
    Model().cells[4].y = 0.2f;
    painter_.DrawHints();
    EXPECT_EQ(Pixel(0.5f, 0.45f), 0x00FF00u);
    Clear();
    Model().cells[4].y = 0.6f;
    painter_.DrawHints();
    EXPECT_EQ(Pixel(0.5f, 0.35f), 0x00FF00u);
}

TEST_F(ScreenPainterTest, HighScoresNameEveryModeAndTheConfirmationShowsTheSavedGame) {
    LoadMenu(MENU_HIGHSCORES, "<Text name=\"txtGameType\" xc=\"0.5\" yc=\"0.2\" size=\"0.04\"/>");
    LoadMenu(MENU_CONTINUE_CONFIRMATION,
             "<Text name=\"txtLevelNum\" xc=\"0.5\" yc=\"0.4\" size=\"0.04\"/>"
             "<Text name=\"txtScoreNum\" xc=\"0.5\" yc=\"0.5\" size=\"0.04\"/>");
    const char* names[] = {"Classic", "Transformer", "Relax"};
    for (int mode = 0; mode < 3; ++mode) {
        Model().mode = mode;
        painter_.PaintScreen(STATE_HIGH_SCORES);
        EXPECT_EQ(TextOf(MENU_HIGHSCORES, "txtGameType"), names[mode]);
    }
    user_.Write("language.ini", "[ENGLISH]\r\nLevelText=Level\r\nScoreText=Score\r\n");
    Quillory::RevalidateProfileFiles();  // as a screen change does
    Quillory::SetLanguageName("ENGLISH");
    Model().levelNumber = 13;
    Model().score = 4200;
    painter_.PaintScreen(STATE_CONTINUE_CONFIRM);
    EXPECT_EQ(TextOf(MENU_CONTINUE_CONFIRMATION, "txtLevelNum"), "Level  13");
    EXPECT_EQ(TextOf(MENU_CONTINUE_CONFIRMATION, "txtScoreNum"), "Score  4200");
}

TEST_F(ScreenPainterTest, TheRelaxPanelRisesWhileItsButtonIsUnderThePointer) {
    LoadMenu(MENU_MAIN,
             "<Button name=\"btnRelaxGame\" xc=\"0.5\" yc=\"0.5\" width=\"0.2\" height=\"0.1\"/>");
    Quillory::WindowMessage move{.message = Quillory::kMessageMouseMove, .x = 400, .y = 300};
    menus_[MENU_MAIN].HandleMessage(move);
    painter_.UpdateRelaxPanel(0.1f);
    EXPECT_FLOAT_EQ(painter_.RelaxPanelAlpha(), 0.4f);
    painter_.UpdateRelaxPanel(0.5f);
    EXPECT_FLOAT_EQ(painter_.RelaxPanelAlpha(), 1.0f);
    move.x = 10;
    menus_[MENU_MAIN].HandleMessage(move);
    painter_.UpdateRelaxPanel(0.2f);
    EXPECT_NEAR(painter_.RelaxPanelAlpha(), 0.2f, 1e-6);
    painter_.UpdateRelaxPanel(1.0f);
    EXPECT_FLOAT_EQ(painter_.RelaxPanelAlpha(), 0.0f);
}

}  // namespace
