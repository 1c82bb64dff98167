// The saved game: the record's layout, the lines' places, the tutorial not restored, damaged files.
// The swapped Relax and Transformer sections are the recorded plays'.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

// Little-endian fields of the record, whatever the host.
int32_t I32At(const uint8_t* bytes, int offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | bytes[offset + i];
    }
    return static_cast<int32_t>(value);
}

float F32At(const uint8_t* bytes, int offset) {
    return std::bit_cast<float>(static_cast<uint32_t>(I32At(bytes, offset)));
}

void PutI32(uint8_t* bytes, int offset, int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    }
}

class SavedGameTest : public ::testing::Test {
protected:
    SavedGameTest() {
        world_.WriteClasses(5, 3);
        world_.WriteLevel(1, {{"shapeClassList", "c0,c1,c2"}});
        world_.WriteLevel(2, {{"shapeClassList", "c0,c1,c2"}, {"levelTime", "120"}});
        world_.CreateGame();
    }
    const GameModel& M() const { return world_.game->State(); }
    // A new run of the program: a fresh rules object over the same folders.
    void Restart() {
        world_.game.reset();
        world_.effects->Clear();
        world_.CreateGame();
    }
    void SaveAndRead(uint8_t* bytes) {
        world_.game->SaveGame();
        ASSERT_TRUE(ReadProfileStruct("Classic", "Data", bytes, kSavedRecordSize, "saved.ini"));
    }

    GameWorld world_;
};

// The layout of the original game's files, a field or two of each part (the level and the score
// are read back by the recorded plays).
TEST_F(SavedGameTest, TheRecordHoldsEveryFieldAtItsOffset) {
    world_.StartPlaying(2);
    for (int drops = 0; drops < 3; ++drops) {  // so the record has something in it
        world_.TakeAndDrop(0, world_.FindCell(M().conveyor[0]));
    }
    uint8_t bytes[kSavedRecordSize] = {};
    SaveAndRead(bytes);
    const GameModel& m = M();
    EXPECT_EQ(I32At(bytes, 10400), m.conveyorCount);
    EXPECT_EQ(I32At(bytes, 10404), 42);
    EXPECT_EQ(I32At(bytes, 10556), m.linesLeft);
    EXPECT_EQ(I32At(bytes, 10584), m.shapesIssued);
    // Conveyor slot 1, cell 9 and line 2.
    EXPECT_FLOAT_EQ(F32At(bytes, 52 + 12), m.conveyor[1].x);
    EXPECT_EQ(I32At(bytes, 52 + 48), 0);  // image handles are not stored
    const int at = 1040 + 9 * 52;
    EXPECT_EQ(I32At(bytes, at), m.cells[9].classIndex);
    EXPECT_FLOAT_EQ(F32At(bytes, at + 16), m.cells[9].y);
    EXPECT_EQ(I32At(bytes, at + 36), m.cells[9].filled);
    EXPECT_FLOAT_EQ(F32At(bytes, 10408 + 2 * 24), 0.5275f);
    EXPECT_FLOAT_EQ(F32At(bytes, 10408 + 2 * 24 + 20), 0.01f);
}

TEST_F(SavedGameTest, LinesAreStoredAtTheirPlacesNotHalfWayThroughASlide) {
    world_.StartPlaying(2);
    GameModel& m = world_.game->EditState();
    for (int row = 0; row < 7; ++row) {
        m.cells[7 + row].filled = 1;
    }
    world_.game->RemoveCompleteLines();
    world_.RunSeconds(0.5f);
    ASSERT_TRUE(M().lines[0].x > 0.29f && M().lines[0].x < 0.40875f) << M().lines[0].x;
    uint8_t bytes[kSavedRecordSize] = {};
    SaveAndRead(bytes);
    EXPECT_FLOAT_EQ(F32At(bytes, 10408), 0.40875f);
    EXPECT_FLOAT_EQ(F32At(bytes, 10408 + 24 + 12), 0.0f);  // line 1 is gone, not half faded
    EXPECT_EQ(I32At(bytes, 10408 + 24 + 16), 1);
    EXPECT_FLOAT_EQ(F32At(bytes, 1040 + 12), 0.40875f);  // cell 0 rides with line 0
    Restart();
    ASSERT_TRUE(world_.game->LoadSavedGame(false));
    EXPECT_FLOAT_EQ(M().lines[0].x, 0.40875f);
    EXPECT_EQ(M().linesLeft, 5);
}

TEST_F(SavedGameTest, ARestoredFirstLevelHasNoTutorial) {
    world_.StartPlaying(1);
    world_.Step();
    ASSERT_EQ(M().tutorialOn, 1);
    world_.game->SaveGame();
    Restart();
    ASSERT_TRUE(world_.game->LoadSavedGame(false));
    world_.RunSeconds(3);
    EXPECT_EQ(M().tutorialOn, 0);
    EXPECT_LT(M().timeLeft, 100.0f);          // the clock runs
    EXPECT_TRUE(world_.game->IsGameSaved());  // a restore keeps it for another time
}

TEST_F(SavedGameTest, DamagedFilesAreLoggedAndStartANewGame) {
    world_.StartPlaying(2);
    world_.game->SaveGame();
    // A changed digit breaks the checksum.
    std::string text = world_.user.Read("saved.ini");
    const size_t data = text.find("Data=");
    ASSERT_NE(data, std::string::npos);
    text[data + 5] = text[data + 5] == '0' ? '1' : '0';
    world_.user.Write("saved.ini", text);
    ClearProfileCache();
    Restart();
    world_.game->ChooseMode(MODE_CLASSIC);
    EXPECT_EQ(world_.game->ScreenState(), STATE_MAP);
    EXPECT_EQ(world_.user.LogCount("File 'saved.ini' is corrupted!"), 1);
    EXPECT_EQ(world_.user.Read("saved.ini"), text);  // left as it was

    // A record with a sound checksum and impossible contents: refused before any use.
    uint8_t bytes[kSavedRecordSize] = {};
    world_.StartPlaying(2);
    SaveAndRead(bytes);
    PutI32(bytes, 10400, 21);
    WriteProfileStruct("Classic", "Data", bytes, kSavedRecordSize, "saved.ini");
    EXPECT_FALSE(world_.game->LoadSavedGame(true));
    PutI32(bytes, 10400, 3);
    PutI32(bytes, 10560, 9);  // no such level
    WriteProfileStruct("Classic", "Data", bytes, kSavedRecordSize, "saved.ini");
    EXPECT_FALSE(world_.game->LoadSavedGame(true));
    PutI32(bytes, 10560, 2);
    PutI32(bytes, 1040 + 5 * 52, 17);  // a cell of a class the level does not have
    WriteProfileStruct("Classic", "Data", bytes, kSavedRecordSize, "saved.ini");
    world_.game->SetGameState(STATE_MAIN_MENU);
    world_.game->ChooseMode(MODE_CLASSIC);
    ASSERT_EQ(world_.game->ScreenState(), STATE_CONTINUE_CONFIRM);  // the peek cannot tell
    EXPECT_FALSE(world_.game->LoadSavedGame(false));
    EXPECT_EQ(world_.game->ScreenState(), STATE_MAP);  // a new game instead
    EXPECT_EQ(M().score, 0);
}

}  // namespace
