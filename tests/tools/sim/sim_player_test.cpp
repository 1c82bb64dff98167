// The built-in players: what they press where, on a hand-made screen, and whole levels of the
// game's own data won as the brief of a good player asks.
#include "sim/sim_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "game/quillory_game.h"
#include "support/json_line.h"
#include "support/sim_world.h"

namespace {

using namespace Quillory;
using QuillorySim::PlayerKind;
using QuillorySim::SimPlayer;
using TestSupport::JsonLine;

constexpr float kDiscardX = 0.1f;
constexpr float kDiscardY = 0.875f;

// A level in play: six lines of seven cells, classes 0 to 2 by turns, nothing filled.
std::unique_ptr<GameModel> Screen() {
    auto game = std::make_unique<GameModel>();
    game->screenState = STATE_PLAYING;
    game->phase = PHASE_PLAYING;
    game->shapeClassCount = 3;
    for (int k = 0; k < 3; ++k) {
        game->levelClasses[k].shapeCount = 1;
    }
    game->lineShapeCount = 7;
    game->cellCount = 42;
    for (int c = 0; c < game->cellCount; ++c) {
        const int line = c / 7;
        const int row = c % 7;
        ShapeItem& cell = game->cells[c];
        cell.x = kFirstLineX + static_cast<float>(line) * kLineSpacing;
        cell.y = static_cast<float>(row) * kRowSpacing + kFirstRowY + (line % 2 == 0 ? 0.08f : 0);
        cell.width = kCellWidth;
        cell.height = kCellHeight;
        cell.active = 1;
        cell.classIndex = (line + row) % 3;
    }
    game->lastPlaced.classIndex = -1;
    return game;
}

void AddShape(GameModel& game, int classIndex) {
    ShapeItem& shape = game.conveyor[game.conveyorCount];
    shape = ShapeItem{};
    shape.classIndex = classIndex;
    shape.x = 0.3f + static_cast<float>(game.conveyorCount) * kLineSpacing;
    shape.y = kConveyorY;
    shape.width = kCellWidth;
    shape.height = kCellHeight;
    ++game.conveyorCount;
}

// Where the player first presses the left button, within `seconds` of play.
PointerState FirstPress(PlayerKind kind, const GameModel& game, double seconds = 5) {
    SimPlayer player(kind, 1, kDiscardX, kDiscardY);
    for (int update = 1; update <= seconds * 100; ++update) {
        const PointerState pointer = player.Act(game, update * 0.01);
        if (pointer.left) {
            return pointer;
        }
    }
    ADD_FAILURE() << "no press";
    return PointerState{};
}

bool At(const PointerState& pointer, const ShapeItem& item) {
    return std::fabs(pointer.x - item.x) < 0.001f && std::fabs(pointer.y - item.y) < 0.001f;
}

TEST(SimPlayerTest, AGoodPlayerKeepsARunGoingAndACasualOneTakesTheFirstThatFits) {
    std::unique_ptr<GameModel> game = Screen();
    AddShape(*game, 0);
    AddShape(*game, 1);
    game->lastPlaced.classIndex = 1;
    EXPECT_TRUE(At(FirstPress(PlayerKind::Good, *game), game->conveyor[1]));
    EXPECT_TRUE(At(FirstPress(PlayerKind::Casual, *game), game->conveyor[0]));
}

// After the take the casual player carries the shape with the button down and lets go on the
// cell; the good one lets go at once and clicks on the cell.
TEST(SimPlayerTest, CasualDragsAndGoodClicks) {
    for (PlayerKind kind : {PlayerKind::Casual, PlayerKind::Good}) {
        std::unique_ptr<GameModel> game = Screen();
        AddShape(*game, 0);
        SimPlayer player(kind, 1, kDiscardX, kDiscardY);
        int update = 1;
        while (!player.Act(*game, update * 0.01).left && update < 500) {
            ++update;
        }
        game->held = game->conveyor[0];
        game->held.active = 1;
        game->conveyorCount = 0;
        std::vector<bool> buttons;
        PointerState pointer;
        for (int i = 1; i <= 200; ++i) {
            pointer = player.Act(*game, (update + i) * 0.01);
            buttons.push_back(pointer.left);
            if (pointer.left != buttons.front()) {
                break;
            }
        }
        if (kind == PlayerKind::Casual) {
            EXPECT_TRUE(buttons.front());  // still down after the take
            EXPECT_FALSE(buttons.back());  // released over the cell
        } else {
            EXPECT_FALSE(buttons.front());  // up after the take
            EXPECT_TRUE(buttons.back());    // pressed on the cell
        }
        EXPECT_GT(buttons.size(), 3u);
        bool onCell = false;
        for (int c = 0; c < game->cellCount; ++c) {
            const ShapeItem& cell = game->cells[c];
            onCell = onCell || (cell.classIndex == 0 && At(pointer, cell));
        }
        EXPECT_TRUE(onCell);
    }
}

TEST(SimPlayerTest, WaitsForPlayAndDiscardsAShapeThatFitsNowhere) {
    std::unique_ptr<GameModel> game = Screen();
    for (int c = 0; c < game->cellCount; ++c) {
        game->cells[c].filled = game->cells[c].classIndex == 2 ? 1 : 0;
    }
    AddShape(*game, 2);
    game->phase = PHASE_ANNOUNCE;
    SimPlayer player(PlayerKind::Good, 1, kDiscardX, kDiscardY);
    for (int update = 1; update <= 300; ++update) {
        EXPECT_FALSE(player.Act(*game, update * 0.01).left);  // no hands during the opening
    }
    game->phase = PHASE_PLAYING;
    const PointerState press = FirstPress(PlayerKind::Good, *game);
    EXPECT_FLOAT_EQ(press.x, kDiscardX);
    EXPECT_FLOAT_EQ(press.y, kDiscardY);
}

TEST(SimPlayerTest, TheTutorialsShapeIsSlotFour) {
    std::unique_ptr<GameModel> game = Screen();
    for (int i = 0; i < 7; ++i) {
        AddShape(*game, i % 3);
    }
    game->lastPlaced.classIndex = 1;  // slot 1 would continue the run
    game->tutorialOn = 1;
    game->tutorialShape = 4;
    game->tutorialCell = 4;
    EXPECT_TRUE(At(FirstPress(PlayerKind::Good, *game), game->conveyor[4]));

    // The field stands still in the tutorial; cell 4 low over the conveyor is reached from its
    // upper edge, where a drop still counts.
    game->held = game->conveyor[4];
    game->held.active = 1;
    game->cells[4].classIndex = game->held.classIndex;
    game->cells[4].y = 0.89f;
    const PointerState drop = FirstPress(PlayerKind::Good, *game);
    EXPECT_FLOAT_EQ(drop.x, game->cells[4].x);
    EXPECT_LT(drop.y, kConveyorLimit);
    EXPECT_LT(std::fabs(drop.y - game->cells[4].y), 0.45f * kCellHeight);
}

// The good player on level 1 of the game's data, seed 1: the tutorial passed as a person must,
// then the level won.
void WinLevelOne(int mode) {
    TestSupport::TempFolder user;
    QuillorySim::SimOptions options;
    options.dataFolder = TestSupport::GameDataFolder();
    options.userFolder = user.Path();
    options.mode = mode;
    options.player = PlayerKind::Good;
    int status = -1;
    const std::vector<JsonLine> lines =
        TestSupport::ParseJsonLines(TestSupport::RunSimulator(options, &status));
    ASSERT_EQ(status, 0);
    ASSERT_GE(lines.size(), 3u);

    std::vector<std::string> firstMoves;
    int takes = 0;
    double firstTake = 0;
    double lastTake = 0;
    bool won = false;
    for (const JsonLine& line : lines) {
        const std::string& event = line["event"];
        if (event == "take" || event == "turn" || event == "drop") {
            if (firstMoves.size() < 3) {
                firstMoves.push_back(event + (event == "take"   ? " " + line["slot"]
                                              : event == "drop" ? " " + line["cell"]
                                                                : ""));
            }
        }
        if (event == "take") {
            firstTake = takes++ == 0 ? line.Number("t") : firstTake;
            lastTake = line.Number("t");
        }
        won = won || event == "won";
    }
    if (mode == MODE_TRANSFORMER) {
        EXPECT_EQ(firstMoves, (std::vector<std::string>{"take 4", "turn", "drop 4"}));
    } else {
        EXPECT_EQ(firstMoves[0], "take 4");
        EXPECT_EQ(firstMoves[1], "drop 4");
    }
    EXPECT_TRUE(won);
    EXPECT_EQ(lines.back()["event"], "level_end");
    // About one pick-up every 1.2 s of game time.
    const double pace = (lastTake - firstTake) / (takes - 1);
    EXPECT_GT(pace, 1.0);
    EXPECT_LT(pace, 1.6);
}

TEST(SimPlayerTest, AGoodPlayerWinsLevelOneInClassic) {
    WinLevelOne(MODE_CLASSIC);
}

TEST(SimPlayerTest, AGoodPlayerWinsLevelOneInTransformer) {
    WinLevelOne(MODE_TRANSFORMER);
}

TEST(SimPlayerTest, ACasualPlayerDragsAtAboutHalfThePace) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"levelTime", "400"}, {"shapeClassCount", "3"}});
    QuillorySim::SimOptions options = data.Options(2);
    options.player = PlayerKind::Casual;
    int status = -1;
    const std::vector<JsonLine> lines =
        TestSupport::ParseJsonLines(TestSupport::RunSimulator(options, &status));
    ASSERT_EQ(status, 0);
    std::vector<double> takes;
    for (const JsonLine& line : lines) {
        if (line["event"] == "take") {
            takes.push_back(line.Number("t"));
        }
    }
    ASSERT_GE(takes.size(), 20u);
    const double pace = (takes.back() - takes.front()) / static_cast<double>(takes.size() - 1);
    EXPECT_GT(pace, 2.1);
    EXPECT_LT(pace, 3.2);
    EXPECT_EQ(lines.back()["event"], "level_end");
}

}  // namespace
