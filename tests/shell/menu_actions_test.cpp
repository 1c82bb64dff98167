// The screen-state actions against a fake of the rules and the application: every switch, the
// saved game and score paths, the keys and clicks of each state, and the options' check boxes.
#include "shell/menu_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/input_events.h"
#include "support/user_folder.h"

namespace {

using namespace Tuvo;
using Quillory::WindowMessage;

// The rules and the application in one: the screen state with its previous value and the
// options-from-pause flag, a saved game that may be unreadable, and every call the actions make
// as one line of `calls` ("save", "start 5", "open website.url", ...).
class FakeGame : public ActionRules, public ActionHost {
public:
    int ScreenState() const override { return state; }
    void SetGameState(int next) override {
        if (next == STATE_OPTIONS && (state == STATE_PAUSED || state == STATE_MAIN_MENU)) {
            optionsFromPause = state == STATE_PAUSED;
        }
        previous = state;
        state = next;
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
        Call(peek ? "peek" : "restore");
        if (readable && !peek) {
            SetGameState(STATE_PLAYING);
        }
        return readable;
    }
    void SaveGame() override { Call("save"); }
    void NewGame() override {
        Call("new");
        SetGameState(STATE_MAP);
    }
    void StartLevel() override {
        Call("start " + std::to_string(level));
        SetGameState(STATE_PLAYING);
    }
    void DiscardShape() override { Call("discard"); }
    bool FirstConveyorX(float& x) const override {
        x = conveyorX;
        return conveyorX >= 0;
    }
    bool SelectStage(int stage) override {
        Call("stage " + std::to_string(stage));
        return true;
    }
    void ClearEffects() override { Call("clear effects"); }
    void SetEffectsDetail(int detail) override { Call("detail " + std::to_string(detail)); }

    void Quit() override { Call("quit"); }
    void OpenUrlFile(const char* path) override { Call(std::string("open ") + path); }
    bool IsWindowed() const override { return windowed; }
    void SwitchScreenMode(bool toWindowed) override {
        windowed = toWindowed;
        Call(toWindowed ? "windowed" : "full screen");
    }
    bool Is3D() const override { return is3D; }
    void Switch3D(bool on) override {
        is3D = on && acceleratorAvailable;  // a renderer that cannot be had leaves it off
        Call(on ? "3D on" : "3D off");
    }
    void SetMusicVolume(float) override { Call("music volume"); }
    void SetSfxVolume(float) override { Call("sound volume"); }
    void LiftMusicDuck() override { Call("duck lifted"); }

    // The calls since the last look, and forgets them.
    std::string TakeCalls() { return std::exchange(calls, ""); }

    int state = STATE_MAIN_MENU;
    int previous = STATE_LOADING;
    bool optionsFromPause = false;
    int mode = 0;
    int score = 0;
    int level = 1;
    int startLevels[2] = {1, 1};
    bool saved = false;
    bool readable = true;
    float conveyorX = 0.3f;  // below 0: the conveyor is empty
    bool windowed = true;
    bool is3D = true;
    bool acceleratorAvailable = true;
    int switches = 0;

private:
    void Call(const std::string& call) { calls += (calls.empty() ? "" : ", ") + call; }
    std::string calls;
};

WindowMessage Message(uint32_t code, uintptr_t wParam = 0, int x = 0, int y = 0) {
    return {.message = code, .wParam = wParam, .x = x, .y = y};
}

// Menus with a few real buttons, a user folder of its own for the check boxes and the scores.
class MenuActionsTest : public ::testing::Test {
protected:
    MenuActionsTest() : actions_(game_, game_, menus_, scores_) {
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
    void Key(uintptr_t code) { actions_.DispatchInput(Message(Quillory::kMessageKeyDown, code)); }
    void Run(const char* action) { actions_.RunAction(game_.state, action); }
    struct Step {
        const char* action;
        int state;          // the state it leads to
        const char* calls;  // the calls it makes
    };
    // From `state`, runs each action and checks where it leads and what it calls.
    void Walk(int state, std::initializer_list<Step> steps) {
        game_.state = state;
        for (const Step& step : steps) {
            Run(step.action);
            EXPECT_EQ(game_.state, step.state) << step.action;
            EXPECT_EQ(game_.TakeCalls(), step.calls) << step.action;
        }
    }

    TestSupport::TestUserFolder user_;
    FakeGame game_;
    MenuSet menus_;
    Quillory::CScores scores_;
    MenuActions actions_;
};

TEST_F(MenuActionsTest, EveryScreenLeadsWhereItShouldAndCallsWhatItShould) {
    Walk(STATE_MAIN_MENU, {{"procOptions", STATE_OPTIONS, ""},
                           {"procCredits", STATE_CREDITS, ""},
                           {"procOk", STATE_OPTIONS, ""},
                           {"procClose", STATE_MAIN_MENU, ""},
                           {"procInstructions", STATE_INSTRUCTIONS1, ""},
                           {"procPrevious", STATE_INSTRUCTIONS1, ""},
                           {"procNext", STATE_INSTRUCTIONS2, ""},
                           {"procNext", STATE_INSTRUCTIONS3, ""},
                           {"procNext", STATE_INSTRUCTIONS3, ""},
                           {"procPrevious", STATE_INSTRUCTIONS2, ""},
                           {"procClose", STATE_MAIN_MENU, ""},
                           {"procNoSuchThing", STATE_MAIN_MENU, ""},
                           {"procLogo", STATE_MAIN_MENU, "open website.url"},
                           {"procMoreGames", STATE_MAIN_MENU, "open moregames.url"},
                           {"procTellAFriend", STATE_MAIN_MENU, "open tellafriend.url"},
                           {"procSubscribe", STATE_MAIN_MENU, "open subscribe.url"},
                           {"procClassicGame", STATE_MAP, "new"},
                           {"procStage3", STATE_MAP, "stage 3"},
                           {"procStageX", STATE_MAP, ""},
                           {"procStagger", STATE_MAP, ""},
                           {"procStart", STATE_PLAYING, "start 1"},
                           {"procDiscard", STATE_PLAYING, "discard"},
                           {"procMenu", STATE_PAUSED, ""},
                           // The options close to where they were opened.
                           {"procOptions", STATE_OPTIONS, ""},
                           {"procCredits", STATE_CREDITS, ""},
                           {"procOk", STATE_OPTIONS, ""},
                           {"procClose", STATE_PAUSED, ""},
                           {"procResume", STATE_PLAYING, ""},
                           {"procMenu", STATE_PAUSED, ""},
                           {"procEnd", STATE_MAIN_MENU, "save, clear effects"},  // no score
                           {"procExit", STATE_MAIN_MENU, "quit"}});
    EXPECT_EQ(game_.mode, kModeClassic);
    // The start-level steppers count to forty and wrap, each on its own.
    for (int i = 1; i <= 40; ++i) {
        Run("procLevelAdvanced");
        EXPECT_EQ(game_.startLevels[1], i % 40 + 1) << i;
    }
    Run("procLevelSimple");
    EXPECT_EQ(std::pair(game_.startLevels[0], game_.startLevels[1]), std::pair(2, 1));
}

TEST_F(MenuActionsTest, AModeWithASavedGameAsksFirstAndAnUnreadableOneStartsANewGame) {
    game_.saved = true;
    Walk(STATE_MAIN_MENU, {{"procTransformerGame", STATE_CONTINUE_CONFIRM, "peek"},
                           {"procCancel", STATE_MAIN_MENU, ""},
                           {"procClassicGame", STATE_CONTINUE_CONFIRM, "peek"},
                           {"procNew", STATE_MAP, "new"}});
    Walk(STATE_CONTINUE_CONFIRM, {{"procLoad", STATE_PLAYING, "restore"}});
    game_.readable = false;
    Walk(STATE_MAIN_MENU, {{"procRelaxGame", STATE_MAP, "peek, new"}});
    EXPECT_EQ(game_.mode, kModeRelax);
    // A saved game that went bad between the question and the answer starts a new game.
    Walk(STATE_CONTINUE_CONFIRM, {{"procLoad", STATE_MAP, "restore, new"}});
}

TEST_F(MenuActionsTest, EndSavesAndOffersTheScoreThenTheNameIsTypedAndKept) {
    game_.score = 2500;
    game_.mode = kModeRelax;
    Walk(STATE_PAUSED, {{"procEnd", STATE_HIGH_SCORES, "save, clear effects"}});
    ASSERT_TRUE(scores_.IsEditing());

    // The table gets the keys first; the menu has nothing to say to them.
    actions_.DispatchInput(Message(Quillory::kMessageChar, 'A'));
    actions_.DispatchInput(Message(Quillory::kMessageChar, 'l'));
    // Leaving while typing keeps the name so far, on disk too.
    Walk(STATE_HIGH_SCORES, {{"procClose", STATE_MAIN_MENU, ""}});
    EXPECT_FALSE(scores_.IsEditing());
    Quillory::CScores reloaded;
    ASSERT_EQ(reloaded.Load(), 1);
    reloaded.SetTable(kModeRelax);
    EXPECT_STREQ(reloaded.Entry(0).name, "Al");
    EXPECT_EQ(reloaded.Entry(0).score, 2500u);
}

// The end screens lift the music's duck (never the player's own volume) and offer only scores
// above zero.
TEST_F(MenuActionsTest, TheEndScreensLiftTheMusicDuckAndOfferOnlyScoresAboveZero) {
    game_.level = 5;
    Walk(STATE_GAME_OVER, {{"procContinue", STATE_PLAYING, "duck lifted, start 5"}});
    // A Relax score below zero never enters the table (it would lead to the table).
    game_.mode = kModeRelax;
    game_.score = -120;
    Walk(STATE_GAME_OVER, {{"procExit", STATE_MAIN_MENU, "duck lifted, clear effects"}});
    game_.score = 15000;
    Walk(STATE_GAME_COMPLETE, {{"procMenu", STATE_HIGH_SCORES, "duck lifted, clear effects"}});
}

TEST_F(MenuActionsTest, HighScoresBrowseAllThreeModesAndClearingAsksFirst) {
    // Previous stops at the first mode and Next at the last, on the same screen.
    game_.state = STATE_HIGH_SCORES;
    std::vector<int> modes;
    for (const char* action : {"procPrevious", "procNext", "procNext", "procNext"}) {
        Run(action);
        modes.push_back(game_.mode);
    }
    EXPECT_EQ(modes, (std::vector<int>{0, 1, kModeRelax, kModeRelax}));
    EXPECT_EQ(game_.switches, 0);

    scores_.SetTable(1);
    scores_.AddScore(90, "Zed");
    Walk(STATE_HIGH_SCORES, {{"procClear", STATE_CLEAR_CONFIRM, ""},
                             {"procNo", STATE_HIGH_SCORES, ""},
                             {"procClear", STATE_CLEAR_CONFIRM, ""}});
    EXPECT_EQ(scores_.Entry(0).score, 90u);
    Walk(STATE_CLEAR_CONFIRM, {{"procYes", STATE_HIGH_SCORES, ""}});
    EXPECT_EQ(scores_.Entry(0).score, 0u);
}

TEST_F(MenuActionsTest, F1TogglesTheFrameRateInEveryStateKeysAndClicksGoToTheCurrentScreen) {
    for (int state = 0; state < kScreenStateCount; ++state) {
        game_.state = state;
        const bool before = actions_.ShowFrameRate();
        Key(Platform::Key::kF1);
        EXPECT_NE(actions_.ShowFrameRate(), before) << "state " << state;
    }
    // Space throws away the first shape only before the middle.
    game_.state = STATE_PLAYING;
    const std::pair<float, const char*> spaces[] = {{0.6f, ""}, {0.49f, "discard"}, {-1, ""}};
    for (const auto& [conveyorX, calls] : spaces) {
        game_.conveyorX = conveyorX;
        Key(Platform::Key::kSpace);
        EXPECT_EQ(game_.TakeCalls(), calls) << conveyorX;
    }
    Key(Platform::Key::kEscape);
    EXPECT_EQ(game_.state, STATE_PAUSED);
    // Clicks reach the menu of the current state only; loading and level end take no input.
    const std::tuple<int, float, int> clicks[] = {
        {STATE_PLAYING, 0.5f, STATE_PLAYING},  // the main menu's button is not on this screen
        {STATE_PLAYING, 0.9f, STATE_PAUSED},
        {STATE_MAIN_MENU, 0.5f, STATE_MAP},
        {STATE_LOADING, 0.5f, STATE_LOADING},
        {STATE_LEVEL_END, 0.5f, STATE_LEVEL_END}};
    for (const auto& [state, xy, next] : clicks) {
        game_.state = state;
        ClickAt(xy, xy);
        EXPECT_EQ(game_.state, next) << state << " at " << xy;
    }
}

TEST_F(MenuActionsTest, FullScreenAndHardwareFollowTheirCheckBoxes) {
    game_.state = STATE_OPTIONS;
    ClickAt(0.5f, 0.1f);  // checks full screen
    EXPECT_EQ(game_.TakeCalls(), "full screen");
    Run("procFullScreenMode");  // the box agrees with the window: nothing to do
    ClickAt(0.5f, 0.1f);
    EXPECT_EQ(game_.TakeCalls(), "windowed");

    menus_[MENU_OPTIONS].SetButtonChecked("btn3DHardware", true);
    ClickAt(0.5f, 0.3f);  // unchecks
    EXPECT_EQ(game_.TakeCalls(), "3D off, detail 5");
    game_.acceleratorAvailable = false;
    ClickAt(0.5f, 0.3f);  // asks for it, but it cannot be had
    EXPECT_EQ(game_.TakeCalls(), "3D on, detail 5");
    game_.acceleratorAvailable = true;
    Run("proc3DHardware");
    EXPECT_EQ(game_.TakeCalls(), "3D on, detail 10");
}

}  // namespace
