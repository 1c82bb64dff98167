// The screen-state actions against fake rules and a fake application: every switch, the saved
// game and score paths, the keys and clicks of each state, and the options' check boxes.
#include "shell/menu_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/input_events.h"
#include "support/user_folder.h"

namespace {

using namespace Tuvo;
using Quillory::WindowMessage;

// The rules' side of the contract: the screen state with its previous value, the pause pairing
// and the options-from-pause flag, and a record of every call the table makes.
class FakeRules : public ActionRules {
public:
    int ScreenState() const override { return state; }
    void SetGameState(int next) override {
        previous = state;
        state = next;
        if (next == STATE_OPTIONS && previous == STATE_PAUSED) {
            optionsFromPause = true;
        } else if (next == STATE_OPTIONS && previous == STATE_MAIN_MENU) {
            optionsFromPause = false;
        }
        ++switches;
    }
    int PreviousState() const override { return previous; }
    bool OptionsFromPause() const override { return optionsFromPause; }
    int Mode() const override { return mode; }
    void SetMode(int value) override { mode = value; }
    int Score() const override { return score; }
    int LevelNumber() const override { return level; }
    int StartLevelOption(int which) const override { return startLevels[which]; }
    void SetStartLevelOption(int which, int value) override { startLevels[which] = value; }
    bool IsGameSaved() override { return saved; }
    bool LoadSavedGame(bool peek) override {
        calls.push_back(peek ? "peek" : "restore");
        if (!readable) {
            return false;
        }
        level = savedLevel;
        score = savedScore;
        if (!peek) {
            SetGameState(STATE_PLAYING);
        }
        return true;
    }
    void SaveGame() override {
        calls.push_back("save");
        saved = true;
    }
    void NewGame() override {
        calls.push_back("new");
        level = startLevels[mode == 1 ? 1 : 0];
        score = 0;
        SetGameState(STATE_MAP);
    }
    void StartLevel() override {
        calls.push_back("start " + std::to_string(level));
        SetGameState(STATE_PLAYING);
    }
    void DiscardShape() override { calls.push_back("discard"); }
    bool FirstConveyorX(float& x) const override {
        x = conveyorX;
        return hasConveyor;
    }
    bool SelectStage(int stage) override {
        calls.push_back("stage " + std::to_string(stage));
        return true;
    }
    void ClearEffects() override { calls.push_back("clear effects"); }
    void SetEffectsDetail(int detail) override { this->detail = detail; }

    int state = STATE_MAIN_MENU;
    int previous = STATE_LOADING;
    bool optionsFromPause = false;
    int mode = 0;
    int score = 0;
    int level = 1;
    int startLevels[2] = {1, 1};
    bool saved = false;
    bool readable = true;
    int savedLevel = 9;
    int savedScore = 4321;
    float conveyorX = 0.3f;
    bool hasConveyor = true;
    int detail = 10;
    int switches = 0;
    std::vector<std::string> calls;
};

class FakeHost : public ActionHost {
public:
    void Quit() override { quit = true; }
    void OpenUrlFile(const char* path) override { opened.push_back(path); }
    bool IsWindowed() const override { return windowed; }
    void SwitchScreenMode(bool toWindowed) override {
        windowed = toWindowed;
        ++modeSwitches;
    }
    bool Is3D() const override { return is3D; }
    void Switch3D(bool on) override {
        // A renderer that cannot be had leaves acceleration off.
        is3D = on && acceleratorAvailable;
        ++renderers;
    }
    void SetMusicVolume(float volume) override { volumes.push_back(volume); }
    void LiftMusicDuck() override { music.push_back(1.0f); }
    void SetSfxVolume(float) override {}

    bool quit = false;
    std::vector<std::string> opened;
    bool windowed = true;
    int modeSwitches = 0;
    bool is3D = true;
    bool acceleratorAvailable = true;
    int renderers = 0;
    std::vector<float> volumes;
    std::vector<float> music;  // the ducks
};

WindowMessage Message(uint32_t code, uintptr_t wParam = 0, int x = 0, int y = 0) {
    return {.message = code, .wParam = wParam, .x = x, .y = y};
}

// Menus with a few real buttons, a user folder of its own for the check boxes and the scores.
class MenuActionsTest : public ::testing::Test {
protected:
    MenuActionsTest() : actions_(rules_, host_, menus_, scores_) {
        user_.StartLog();
        LoadMenu(MENU_OPTIONS,
                 "<Button name=\"btnFullScreen\" xc=\"0.5\" yc=\"0.1\" width=\"0.1\" "
                 "height=\"0.1\" outImg=\"a.png\" outImgChecked=\"b.png\" "
                 "action=\"procFullScreenMode\"/>"
                 "<Button name=\"btn3DHardware\" xc=\"0.5\" yc=\"0.3\" width=\"0.1\" "
                 "height=\"0.1\" outImg=\"a.png\" outImgChecked=\"b.png\" "
                 "action=\"proc3DHardware\"/>");
        LoadMenu(MENU_MAIN,
                 "<Button name=\"btnClassicGame\" xc=\"0.5\" yc=\"0.5\" width=\"0.2\" "
                 "height=\"0.1\" action=\"procClassicGame\"/>");
        LoadMenu(MENU_INGAME,
                 "<Button name=\"btnMenu\" xc=\"0.9\" yc=\"0.9\" width=\"0.1\" "
                 "height=\"0.1\" action=\"procMenu\"/>");
    }
    void LoadMenu(MenuScreen screen, const std::string& body) {
        const std::string xml =
            "<Screen xc=\"0.5\" yc=\"0.5\" width=\"1\" height=\"1\">" + body + "</Screen>";
        ASSERT_EQ(menus_[screen].LoadFromMemory("test", xml.data(), xml.size()), 1);
    }
    // A left press at a screen fraction, in 800 x 600 pixels.
    void ClickAt(float x, float y) {
        actions_.DispatchInput(Message(Quillory::kMessageLeftButtonDown, 0,
                                       static_cast<int>(x * 800), static_cast<int>(y * 600)));
    }
    void Run(const char* action) { actions_.RunAction(rules_.state, action); }
    // Runs each action and checks the state it leads to.
    void RunAll(std::initializer_list<std::pair<const char*, int>> steps) {
        for (const auto& [action, state] : steps) {
            Run(action);
            EXPECT_EQ(rules_.state, state) << action;
        }
    }

    TestSupport::TestUserFolder user_;
    FakeRules rules_;
    FakeHost host_;
    MenuSet menus_;
    Quillory::CScores scores_;
    MenuActions actions_;
};

TEST_F(MenuActionsTest, AModeWithASavedGameAsksFirstAndAnUnreadableOneStartsANewGame) {
    rules_.saved = true;
    Run("procTransformerGame");
    EXPECT_EQ(rules_.mode, kModeTransformer);
    EXPECT_EQ(rules_.state, STATE_CONTINUE_CONFIRM);
    EXPECT_EQ(rules_.level, 9);  // the peek shows the saved level and score
    Run("procCancel");
    EXPECT_EQ(rules_.state, STATE_MAIN_MENU);

    rules_.readable = false;
    rules_.calls.clear();
    Run("procClassicGame");
    EXPECT_EQ(rules_.calls, (std::vector<std::string>{"peek", "new"}));
    EXPECT_EQ(rules_.state, STATE_MAP);

    // A saved game that went bad between the question and the answer starts a new game.
    rules_.state = STATE_CONTINUE_CONFIRM;
    Run("procLoad");
    EXPECT_EQ(rules_.state, STATE_MAP);
}

TEST_F(MenuActionsTest, EndSavesAndOffersTheScoreThenTheNameIsTypedAndKept) {
    rules_.state = STATE_PAUSED;
    rules_.score = 2500;
    rules_.mode = kModeRelax;
    Run("procEnd");
    EXPECT_EQ(rules_.calls, (std::vector<std::string>{"save", "clear effects"}));
    ASSERT_EQ(rules_.state, STATE_HIGH_SCORES);
    ASSERT_TRUE(scores_.IsEditing());
    EXPECT_EQ(scores_.CurrentTable(), kModeRelax);

    // The table gets the keys first; the menu has nothing to say to them.
    actions_.DispatchInput(Message(Quillory::kMessageChar, 'A'));
    actions_.DispatchInput(Message(Quillory::kMessageChar, 'l'));
    // Leaving while typing keeps the name so far, on disk too.
    Run("procClose");
    EXPECT_EQ(rules_.state, STATE_MAIN_MENU);
    EXPECT_FALSE(scores_.IsEditing());
    Quillory::CScores reloaded;
    ASSERT_EQ(reloaded.Load(), 1);
    reloaded.SetTable(kModeRelax);
    EXPECT_STREQ(reloaded.Entry(0).name, "Al");
    EXPECT_EQ(reloaded.Entry(0).score, 2500u);
}

TEST_F(MenuActionsTest, TheEndScreensLiftTheMusicDuckAndOfferOnlyScoresAboveZero) {
    rules_.state = STATE_GAME_OVER;
    rules_.level = 5;
    Run("procContinue");  // Try Again: the same level, the score kept
    EXPECT_EQ(rules_.calls.back(), "start 5");
    // A Relax score below zero never enters the table.
    rules_.state = STATE_GAME_OVER;
    rules_.mode = kModeRelax;
    rules_.score = -120;
    Run("procExit");
    EXPECT_EQ(rules_.state, STATE_MAIN_MENU);
    scores_.SetTable(kModeRelax);
    EXPECT_EQ(scores_.Entry(0).score, 0u);
    rules_.state = STATE_GAME_COMPLETE;
    rules_.score = 15000;
    Run("procMenu");
    EXPECT_EQ(rules_.state, STATE_HIGH_SCORES);
    EXPECT_EQ(host_.music, (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(host_.volumes.empty());  // the player's own volume is left alone
}

TEST_F(MenuActionsTest, HighScoresBrowseAllThreeModesAndClearingAsksFirst) {
    rules_.state = STATE_HIGH_SCORES;
    rules_.mode = 0;
    Run("procPrevious");
    EXPECT_EQ(rules_.mode, 0);
    Run("procNext");
    Run("procNext");
    EXPECT_EQ(rules_.mode, kModeRelax);
    Run("procNext");
    EXPECT_EQ(rules_.mode, kModeRelax);
    EXPECT_EQ(rules_.switches, 0);

    scores_.SetTable(1);
    scores_.AddScore(90, "Zed");
    Run("procClear");
    ASSERT_EQ(rules_.state, STATE_CLEAR_CONFIRM);
    Run("procNo");
    EXPECT_EQ(rules_.state, STATE_HIGH_SCORES);
    EXPECT_EQ(scores_.Entry(0).score, 90u);
}

TEST_F(MenuActionsTest, F1TogglesTheFrameRateInEveryStateKeysAndClicksGoToTheCurrentScreen) {
    for (int state = 0; state < kScreenStateCount; ++state) {
        rules_.state = state;
        const bool before = actions_.ShowFrameRate();
        actions_.DispatchInput(Message(Quillory::kMessageKeyDown, Platform::Key::kF1));
        EXPECT_NE(actions_.ShowFrameRate(), before) << "state " << state;
    }
    rules_.state = STATE_PLAYING;
    rules_.conveyorX = 0.6f;
    actions_.DispatchInput(Message(Quillory::kMessageKeyDown, Platform::Key::kSpace));
    EXPECT_TRUE(rules_.calls.empty());  // the first shape is past the middle
    rules_.conveyorX = 0.49f;
    actions_.DispatchInput(Message(Quillory::kMessageKeyDown, Platform::Key::kSpace));
    EXPECT_EQ(rules_.calls, std::vector<std::string>{"discard"});
    rules_.hasConveyor = false;
    actions_.DispatchInput(Message(Quillory::kMessageKeyDown, Platform::Key::kSpace));
    EXPECT_EQ(rules_.calls.size(), 1u);
    actions_.DispatchInput(Message(Quillory::kMessageKeyDown, Platform::Key::kEscape));
    EXPECT_EQ(rules_.state, STATE_PAUSED);
    // Clicks reach the menu of the current state only.
    rules_.state = STATE_PLAYING;
    ClickAt(0.5f, 0.5f);  // the main menu's button is not on this screen
    EXPECT_EQ(rules_.state, STATE_PLAYING);
    ClickAt(0.9f, 0.9f);
    EXPECT_EQ(rules_.state, STATE_PAUSED);
    rules_.state = STATE_MAIN_MENU;
    ClickAt(0.5f, 0.5f);
    EXPECT_EQ(rules_.state, STATE_MAP);
    // Loading and level end take no input.
    for (int state : {STATE_LOADING, STATE_LEVEL_END}) {
        rules_.state = state;
        ClickAt(0.5f, 0.5f);
        EXPECT_EQ(rules_.state, state);
    }
}

TEST_F(MenuActionsTest,
       FullScreenAndHardwareFollowTheirCheckBoxesAndOptionsCloseToWhereTheyWereOpened) {
    rules_.state = STATE_OPTIONS;
    host_.windowed = true;
    ClickAt(0.5f, 0.1f);  // checks full screen
    EXPECT_FALSE(host_.windowed);
    Run("procFullScreenMode");  // the box agrees with the window: nothing to do
    EXPECT_EQ(host_.modeSwitches, 1);
    ClickAt(0.5f, 0.1f);
    EXPECT_TRUE(host_.windowed);

    host_.is3D = true;
    menus_[MENU_OPTIONS].SetButtonChecked("btn3DHardware", true);
    ClickAt(0.5f, 0.3f);  // unchecks
    EXPECT_FALSE(host_.is3D);
    EXPECT_EQ(rules_.detail, 5);
    host_.acceleratorAvailable = false;
    ClickAt(0.5f, 0.3f);  // asks for it, but it cannot be had
    EXPECT_EQ(host_.renderers, 2);
    EXPECT_FALSE(host_.is3D);
    EXPECT_EQ(rules_.detail, 5);
    host_.acceleratorAvailable = true;
    Run("proc3DHardware");
    EXPECT_TRUE(host_.is3D);
    EXPECT_EQ(rules_.detail, 10);

    // The options close to where they were opened; the credits return to them.
    rules_.state = STATE_MAIN_MENU;
    RunAll({{"procOptions", STATE_OPTIONS},
            {"procCredits", STATE_CREDITS},
            {"procOk", STATE_OPTIONS},
            {"procClose", STATE_MAIN_MENU}});
    rules_.state = STATE_PLAYING;
    RunAll({{"procMenu", STATE_PAUSED},
            {"procOptions", STATE_OPTIONS},
            {"procCredits", STATE_CREDITS},
            {"procOk", STATE_OPTIONS},
            {"procClose", STATE_PAUSED},
            {"procResume", STATE_PLAYING}});
}

TEST_F(MenuActionsTest, StagesStartLevelsShortcutsInstructionsAndExit) {
    rules_.state = STATE_MAP;
    for (const char* action : {"procStage3", "procStageX", "procStagger", "procStart"}) {
        Run(action);
    }
    EXPECT_EQ(rules_.calls, (std::vector<std::string>{"stage 3", "start 1"}));

    rules_.state = STATE_MAIN_MENU;
    // The start-level steppers wrap after forty, each on its own.
    for (int i = 0; i < 40; ++i) {
        Run("procLevelSimple");
    }
    for (int i = 0; i < 39; ++i) {
        Run("procLevelAdvanced");
    }
    EXPECT_EQ(rules_.startLevels[0], 1);
    EXPECT_EQ(rules_.startLevels[1], 40);
    Run("procLevelAdvanced");
    EXPECT_EQ(rules_.startLevels[1], 1);
    for (const char* action : {"procLogo", "procMoreGames", "procTellAFriend", "procSubscribe"}) {
        Run(action);
    }
    EXPECT_EQ(host_.opened, (std::vector<std::string>{"website.url", "moregames.url",
                                                      "tellafriend.url", "subscribe.url"}));
    RunAll({{"procInstructions", STATE_INSTRUCTIONS1},
            {"procPrevious", STATE_INSTRUCTIONS1},
            {"procNext", STATE_INSTRUCTIONS2},
            {"procNext", STATE_INSTRUCTIONS3},
            {"procNext", STATE_INSTRUCTIONS3},
            {"procPrevious", STATE_INSTRUCTIONS2},
            {"procClose", STATE_MAIN_MENU},
            {"procNoSuchThing", STATE_MAIN_MENU}});
    EXPECT_FALSE(host_.quit);
    Run("procExit");
    EXPECT_TRUE(host_.quit);
}

}  // namespace
