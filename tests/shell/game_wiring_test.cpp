// The rules wired into the application: the pointer nudge after every screen switch and the
// stages the screen-state actions may choose.
#include "shell/game_wiring.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "shell/game_app.h"
#include "support/user_folder.h"

namespace {

using namespace Tuvo;

class GameWiringTest : public ::testing::Test {
protected:
    TestSupport::TestUserFolder user_;
    Platform::ManualClock clock_;
    // The application on the real data, never initialised: no window, no loading thread. Declared
    // last, it goes first and logs its last line into the test's folder.
    GameApp application_{std::vector<std::string>{std::string("-changedir=") + QUILLORY_DATA_DIR,
                                                  "-userdir=" + user_.Path()},
                         clock_};
};

TEST_F(GameWiringTest, EveryScreenSwitchMovesThePointerOnePixelDownAndQueuesTheMove) {
    application_.GetWindow().WarpPointer(100, 200);
    std::vector<Platform::InputEvent> drained;
    application_.GetWindow().PollEvents(drained);
    // Whoever switches, the rules or an action, the shell's nudge follows.
    application_.SetGameState(STATE_MAIN_MENU);
    application_.Game()->NewGame();  // the rules switch to the stage map themselves
    int x = 0;
    int y = 0;
    application_.GetWindow().PointerPosition(x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(100, 202));
    EXPECT_EQ(application_.ScreenState(), STATE_MAP);
    std::vector<Platform::InputEvent> events;
    application_.GetWindow().PollEvents(events);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.back().kind, Platform::EventKind::kMouseMove);
    EXPECT_EQ(events.back().y, 202);
}

TEST_F(GameWiringTest, OnlyTheMapsOwnStagesCanBeChosen) {
    Quillory::CQuilloryGame& game = *application_.Game();
    RulesActions rules(game, application_.Effects(), application_.Menu(MENU_MAP));
    game.EditState().levelNumber = 1;
    EXPECT_FALSE(rules.SelectStage(99));
    EXPECT_FALSE(rules.SelectStage(0));
    EXPECT_EQ(game.State().levelNumber, 1);
    EXPECT_TRUE(rules.SelectStage(3));
    EXPECT_EQ(game.State().levelNumber, 13);
}

}  // namespace
