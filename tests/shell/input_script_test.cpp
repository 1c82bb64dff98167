// Scripted play on a hand-made screen: the clicks that take, turn, drop and throw away shapes,
// answered by a small stand-in for the rules.
#include "shell/input_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/app_log.h"
#include "game/quillory_game.h"
#include "support/temp_folder.h"

namespace {

using namespace Quillory;

constexpr float kDiscardX = 0.1f;
constexpr float kDiscardY = 0.875f;

ShapeItem Shape(int classIndex, int variant, float x, float y) {
    ShapeItem item;
    item.classIndex = classIndex;
    item.variant = variant;
    item.x = x;
    item.y = y;
    item.width = kCellWidth;
    item.height = kCellHeight;
    item.active = 1;
    return item;
}

// The rules as far as a click goes: a press takes the conveyor shape under the pointer, drops the
// held one on a matching cell under it, or throws a shape away at the Discard button; a right
// press turns the held shape. The conveyor gets a shape for the first empty cell when it runs
// empty, and the level is won when every cell is filled.
class Table : public Tuvo::ScriptTarget {
public:
    Table() : game_(std::make_unique<GameModel>()) {
        game_->screenState = STATE_PLAYING;
        game_->phase = PHASE_PLAYING;
        game_->shapeClassCount = 3;
        for (int k = 0; k < 3; ++k) {
            game_->levelClasses[k].shapeCount = 4;
        }
        game_->lastPlaced.classIndex = -1;
    }
    GameModel& Game() { return *game_; }
    void AddCell(int classIndex, int variant, float x, float y) {
        game_->cells[game_->cellCount++] = Shape(classIndex, variant, x, y);
    }
    void AddShape(int classIndex) {
        const float x = 0.3f + static_cast<float>(game_->conveyorCount) * kLineSpacing;
        game_->conveyor[game_->conveyorCount++] = Shape(classIndex, 0, x, kConveyorY);
    }
    int turns = 0;
    int discards = 0;

    int ScriptScreenState() const override { return game_->screenState; }
    int ScriptTutorialStep() const override { return 0; }
    const GameModel& ScriptGame() const override { return *game_; }
    bool ScriptControlCentre(const std::string& menu, const std::string& control, float& x,
                             float& y) const override {
        x = kDiscardX;
        y = kDiscardY;
        return menu == "menu-ingame.xml" && control == "btnDiscard";
    }
    bool ScriptShapeCentre(bool, int, float&, float&) const override { return false; }
    void ScriptMovePointer(float x, float y) override {
        x_ = x;
        y_ = y;
    }
    void ScriptButton(bool down, bool right, float x, float y) override {
        ScriptMovePointer(x, y);
        ShapeItem& held = game_->held;
        if (!down) {
            return;
        }
        if (right) {
            held.variant = (held.variant + 1) % 4;
            ++turns;
        } else if (std::fabs(x - kDiscardX) < 0.01f && std::fabs(y - kDiscardY) < 0.01f) {
            if (held.active == 0 && game_->conveyorCount > 0) {
                Take(0);
            }
            held.active = 0;
            ++discards;
        } else if (held.active == 0) {
            for (int i = 0; i < game_->conveyorCount; ++i) {
                if (std::fabs(game_->conveyor[i].x - x) < kCellWidth / 2) {
                    Take(i);
                    break;
                }
            }
        } else {
            Drop(x, y);
        }
        if (game_->conveyorCount == 0) {
            for (int c = 0; c < game_->cellCount; ++c) {
                if (game_->cells[c].filled == 0) {
                    AddShape(game_->cells[c].classIndex);
                    break;
                }
            }
        }
    }
    void ScriptPointer(float& x, float& y) const override {
        x = x_;
        y = y_;
    }
    void ScriptKey(int) override {}
    void ScriptCharacter(char) override {}
    void ScriptQuit() override {}
    bool ScriptScreenshot(const std::string&) override { return false; }
    void ScriptSetState(int) override {}
    void ScriptGameComplete() override {}

private:
    void Take(int slot) {
        game_->held = game_->conveyor[slot];
        for (int i = slot + 1; i < game_->conveyorCount; ++i) {
            game_->conveyor[i - 1] = game_->conveyor[i];
        }
        --game_->conveyorCount;
    }
    void Drop(float x, float y) {
        int filled = 0;
        for (int c = 0; c < game_->cellCount; ++c) {
            ShapeItem& cell = game_->cells[c];
            if (cell.filled == 0 && game_->held.active != 0 &&
                std::fabs(cell.x - x) < 0.45f * cell.width &&
                std::fabs(cell.y - y) < 0.45f * cell.height &&
                cell.classIndex == game_->held.classIndex && cell.variant == game_->held.variant) {
                cell.filled = 1;
                game_->held.active = 0;
            }
            filled += cell.filled;
        }
        game_->screenState = filled == game_->cellCount ? STATE_LEVEL_END : STATE_PLAYING;
    }

    std::unique_ptr<GameModel> game_;
    float x_ = 0.5f;
    float y_ = 0.5f;
};

// Runs `script` on the table for at most `updates` steps; whether it finished without failing
// (a failure is logged and ends the script).
bool RunScript(Table& table, const std::string& script, int updates = 2000) {
    TestSupport::TempFolder folder;
    SetLogFilePath(folder.File("applog.htm").c_str());
    Tuvo::InputScript runner;
    EXPECT_TRUE(runner.Load(folder.Write("script.txt", script)));
    for (int step = 0; step < updates && !runner.Finished(); ++step) {
        runner.Step(table);
    }
    SetLogFilePath(nullptr);
    return runner.Finished() && folder.Read("applog.htm").find("FAILED") == std::string::npos;
}

TEST(InputScriptTest, PlayLevelTakesTurnsDropsThrowsAwayWhatFitsNowhereAndEndsWithTheLevel) {
    Table table;
    table.Game().mode = MODE_TRANSFORMER;
    table.AddCell(0, 3, 0.4f, 0.3f);
    table.AddCell(1, 0, 0.6f, 0.5f);
    table.AddShape(2);  // fits no cell: in the way until thrown away
    table.AddShape(0);  // fits the first cell after three turns (variant 0 to 3)
    // No hands before play begins.
    table.Game().phase = PHASE_ANNOUNCE;
    EXPECT_FALSE(RunScript(table, "play-level\n", 500));
    EXPECT_EQ(table.Game().conveyorCount, 2);
    table.Game().phase = PHASE_PLAYING;
    ASSERT_TRUE(RunScript(table, "play-level\n"));
    EXPECT_EQ(table.Game().screenState, STATE_LEVEL_END);
    EXPECT_EQ(table.turns, 3);
    EXPECT_EQ(table.discards, 1);
    EXPECT_EQ(table.Game().held.active, 0);
}

}  // namespace
