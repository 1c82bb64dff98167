// End to end: the real program, headless, plays the recordings kept beside this test, one chain
// of sessions in one user folder as a player's restarts would, and each session's files, log and
// last screenshot are checked against the rules. tools/recordings/re-record.sh makes them again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/private_profile.h"
#include "engine/scores.h"
#include "imagefiles/readers.h"
#include "shell/demo_file.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/user_folder.h"

namespace {

using TestSupport::ReadWholeFile;
using TestSupport::TempFolder;
using TestSupport::TestUserFolder;

const std::string kRecordings = std::string(QUILLORY_SOURCE_DIR) + "/tests/shell/recordings/";

struct GameRun {
    int status = -1;  // exit code, or -1 when it did not end by itself
    std::string log;
    std::string errors;
};

// Runs the program headless on the game's data folder (a -changedir in `options` wins) until it
// ends, or kills it after five minutes; the user folder's log and the program's stderr (kept
// there as "stderr.txt") come back.
GameRun RunGame(const std::string& userFolder, std::vector<std::string> options,
                const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    options.insert(options.begin(), std::string("-changedir=") + QUILLORY_DATA_DIR);
    TestSupport::ProgramRun program{
        .program = QUILLORY_EXECUTABLE,
        .arguments = std::move(options),
        .environment = {{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}},
        .unsetEnvironment = {"QUILLORY_INPUT_SCRIPT"},
        .errorFile = userFolder + "/stderr.txt"};
    program.environment.insert(program.environment.end(), environment.begin(), environment.end());
    const int status = TestSupport::WaitForExit(TestSupport::StartProgram(program), 300);
    return {status, ReadWholeFile(userFolder + "/applog.htm"), ReadWholeFile(program.errorFile)};
}

// Plays one recording in `user`, expecting it to go exactly as recorded, on the game's data or on
// a data folder beside the recordings.
void Play(const TempFolder& user, const std::string& name, const std::string& data = "") {
    std::vector<std::string> options = {"-userdir=" + user.Path(), "-play",
                                        "-demofile=" + kRecordings + name + ".txt"};
    if (!data.empty()) {
        options.push_back("-changedir=" + kRecordings + data);
    }
    const GameRun run = RunGame(user.Path(), options);
    const std::string tail = run.log.substr(run.log.size() > 3000 ? run.log.size() - 3000 : 0);
    ASSERT_EQ(run.status, 0) << name << "\n" << run.errors << "\n" << tail;
    EXPECT_NE(run.log.find("Playback finished"), std::string::npos) << tail;
    // No failure, and no warning: each session started from exactly the files it was recorded
    // from, which the session before it had left.
    EXPECT_EQ(run.log.find("FAILED"), std::string::npos) << tail;
    EXPECT_EQ(run.log.find("WARNING"), std::string::npos) << tail;
    EXPECT_NE(run.log.find("*** Session finished ***"), std::string::npos);
}

// The screenshot F12 took: a whole 800x600 frame with a picture on it (not one flat colour, not
// faded to black). The rendering is deterministic, but art changes should not break this test;
// that the picture is opaque is the screenshot writer's test.
void ExpectScreenshot(const TempFolder& user, int number) {
    char name[48];
    std::snprintf(name, sizeof(name), "screenshots/quillory-%04d.png", number);
    const std::string bytes = user.Read(name);
    const auto image =
        ImageLib::DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_NE(image, nullptr) << name;
    ASSERT_EQ(std::pair(image->width, image->height), std::pair(800, 600));
    const std::vector<uint32_t>& bits = image->bits;
    const std::set<uint32_t> colours(bits.begin(), bits.end());
    EXPECT_GT(colours.size(), 500u) << name;
    const size_t dark =
        std::count_if(bits.begin(), bits.end(), [](uint32_t p) { return (p & 0x00F0F0F0u) == 0; });
    EXPECT_LT(dark, bits.size() / 2) << name;
}

int32_t ReadInt32(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

// Reads the test's user folder afresh through the game's own readers.
class UserFiles {
public:
    UserFiles() {
        Quillory::ClearProfileCache();
        EXPECT_EQ(scores_.Load(), 1);
    }
    // A mode's saved game as "saved=1 level=3 score=2550" (level and score 0 without data).
    std::string Saved(const char* mode) {
        int32_t saved = 0;
        Quillory::GetPrivateProfileStruct(mode, "IsGameSaved", &saved, 4, "saved.ini");
        std::vector<uint8_t> record(10588);
        int32_t level = 0;
        int32_t score = 0;
        if (Quillory::GetPrivateProfileStruct(mode, "Data", record.data(),
                                              static_cast<uint32_t>(record.size()), "saved.ini")) {
            level = ReadInt32(record, 10560);
            score = ReadInt32(record, 10564);
        }
        return "saved=" + std::to_string(saved) + " level=" + std::to_string(level) +
               " score=" + std::to_string(score);
    }
    // Row `row` of a mode's high-score table as "name score".
    std::string Score(int table, int row = 0) {
        scores_.SetTable(table);
        return std::string(scores_.Entry(row).name) + " " +
               std::to_string(scores_.Entry(row).score);
    }

private:
    Quillory::CScores scores_;
};

TEST(RecordedPlayTest, ATutorialIsSavedScoredContinuedAfterARestartAndTheScoresCleared) {
    TestUserFolder user;
    // The tutorial's one drop is 50 points; the pause menu's End saves the game at level 1 and
    // opens the high-score table for a name.
    ASSERT_NO_FATAL_FAILURE(Play(user, "tutorial-saved"));
    ExpectScreenshot(user, 1);
    EXPECT_EQ(UserFiles().Saved("Classic"), "saved=1 level=1 score=50");
    EXPECT_EQ(UserFiles().Score(0), "Tester 50");

    // After a restart the saved game is loaded with its score, played on and ended again.
    ASSERT_NO_FATAL_FAILURE(Play(user, "continue-saved"));
    ExpectScreenshot(user, 2);
    EXPECT_EQ(UserFiles().Saved("Classic"), "saved=1 level=1 score=50");

    // Clearing the table after the confirmation leaves no score in it.
    ASSERT_NO_FATAL_FAILURE(Play(user, "clear-scores"));
    ExpectScreenshot(user, 3);
    UserFiles files;
    for (int table = 0; table < 3; ++table) {
        EXPECT_EQ(files.Score(table), " 0") << table;
    }
    // The saved game is not the table's: it stays.
    EXPECT_EQ(files.Saved("Classic"), "saved=1 level=1 score=50");
}

// The visible states of a recording after each change, which its playback was held to.
std::vector<Tuvo::RecordedCheck> Checks(const std::string& name) {
    Tuvo::Recording recording;
    std::string error;
    EXPECT_TRUE(Tuvo::ParseRecording(ReadWholeFile(kRecordings + name + ".txt"), recording, error))
        << error;
    return recording.checks;
}

// The first change at or after `from` into `screen` at `level`; fails the test when none.
size_t Find(const std::vector<Tuvo::RecordedCheck>& checks, int screen, int level,
            size_t from = 0) {
    for (size_t i = from; i < checks.size(); ++i) {
        if (checks[i].screenState == screen && checks[i].level == level) {
            return i;
        }
    }
    ADD_FAILURE() << "no screen " << screen << " at level " << level;
    return checks.size() - 1;
}

// A level won shows its screen (11) and then the next level (6) with the time left in whole
// seconds (1 to `levelTime`) and 1500 added; returns that next level's first state.
size_t ExpectLevelWon(const std::vector<Tuvo::RecordedCheck>& checks, int level, int levelTime,
                      size_t from) {
    const size_t won = Find(checks, 11, level, from);
    const size_t next = Find(checks, 6, level + 1, won);
    const int bonus = checks[next].score - checks[won].score - 1500;
    EXPECT_GE(bonus, 1) << "level " << level;
    EXPECT_LE(bonus, levelTime) << "level " << level;
    return next;
}

TEST(RecordedPlayTest, AShortGameIsWonLostContinuedAndCompletedThroughItsBonusLevel) {
    TestUserFolder user;
    user.Write("config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    ASSERT_NO_FATAL_FAILURE(Play(user, "short-won-lost", "short-game"));
    const std::string log = user.Read("applog.htm");
    EXPECT_EQ(TestSupport::CountOccurrences(log, "StartLevel(1)"), 1u);
    EXPECT_EQ(TestSupport::CountOccurrences(log, "StartLevel(2)"), 2u);  // lost and tried again
    EXPECT_EQ(TestSupport::CountOccurrences(log, "StartLevel(3)"), 1u);
    ExpectScreenshot(user, 1);  // the game-over screen
    auto checks = Checks("short-won-lost");
    const size_t second = ExpectLevelWon(checks, 1, 60, 0);
    // Lost on time with no drop; Try Again restarts the level with the score kept.
    const size_t lost = Find(checks, 13, 2, second);
    EXPECT_EQ(checks[lost].score, checks[second].score);
    ASSERT_LT(lost + 1, checks.size());
    EXPECT_EQ(std::pair(checks[lost + 1].screenState, checks[lost + 1].score),
              std::pair(6, checks[lost].score));
    const int atBonusLevel = checks[ExpectLevelWon(checks, 2, 6, lost)].score;
    EXPECT_NE(user.Read("config.ini").find("LastOpenedLevel=3"), std::string::npos);
    const std::string bonusScore = std::to_string(atBonusLevel);
    EXPECT_EQ(UserFiles().Saved("Classic"), "saved=1 level=3 score=" + bonusScore);
    EXPECT_EQ(UserFiles().Score(0), "Tester " + bonusScore);

    // After a restart the saved bonus level is won: 1000 with the last drop, then 5 x 750; no
    // level follows, so the game is complete and its 15 pictures add 1000 each.
    ASSERT_NO_FATAL_FAILURE(Play(user, "short-bonus-complete", "short-game"));
    ExpectScreenshot(user, 2);  // the game-complete screen
    checks = Checks("short-bonus-complete");
    const size_t won = Find(checks, 11, 3);
    const int lastDrop = checks[won].score - checks[won - 1].score - 1000;
    EXPECT_TRUE(lastDrop > 0 && lastDrop % 50 == 0) << lastDrop;
    const size_t complete = Find(checks, 12, 4, won);
    EXPECT_EQ(checks[complete].score, checks[won].score + 5 * 750);
    const int final = checks[Find(checks, 8, 4, complete)].score;
    EXPECT_EQ(final, checks[complete].score + 15 * 1000);
    EXPECT_NE(user.Read("config.ini").find("LastOpenedLevel=4"), std::string::npos);
    UserFiles files;
    EXPECT_EQ(files.Saved("Classic").substr(0, 7), "saved=0");  // nothing left to continue
    EXPECT_EQ(files.Score(0), "Finisher " + std::to_string(final));
    EXPECT_EQ(files.Score(0, 1), "Tester " + bonusScore);
}

// Transformer with its turns, the bug, bonus shapes, the stage map after the sixth level and
// Relax past its clock: every score and screen change is held to the recording, and the saved
// Transformer game is found under [Relax], where the original game's files keep it.
TEST(RecordedPlayTest, AStageInTransformerWithTheBugThenRelaxPastItsClock) {
    TestUserFolder user;
    user.Write("config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    ASSERT_NO_FATAL_FAILURE(Play(user, "stage-transformer", "stage-game"));
    const auto checks = Checks("stage-transformer");
    const size_t map = Find(checks, 2, 7, Find(checks, 11, 6));  // the bonus level ends a stage
    Find(checks, 12, 8, map);
    EXPECT_NE(user.Read("config.ini").find("LastOpenedLevel=8"), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(Play(user, "stage-relax", "stage-game"));
    EXPECT_EQ(UserFiles().Score(1).substr(0, 7), "Turner ");
    EXPECT_EQ(UserFiles().Score(2).substr(0, 6), "Idler ");
}

TEST(RecordedPlayTest, AnOptionChangedIsKeptAfterARestart) {
    TempFolder user;
    ASSERT_NO_FATAL_FAILURE(Play(user, "options-changed"));
    ASSERT_NO_FATAL_FAILURE(Play(user, "options-kept"));
    EXPECT_NE(user.Read("config.ini").find("btnFullScreen=1"), std::string::npos)
        << user.Read("config.ini");
    ExpectScreenshot(user, 1);
}

TEST(RecordedPlayTest, BadRecordingsAreRefusedAndThePlayersFolderIsNeverPlayedOn) {
    TempFolder player;
    player.Write("config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    player.Write("scores.ini", "mine");
    auto play = [&](const std::string& file) {
        // The player's folder is the environment's; only -userdir would name another.
        return RunGame(player.Path(), {"-play", "-demofile=" + file},
                       {{"QUILLORY_USERDIR", player.Path()}});
    };
    // A recording made on other data is refused like a damaged or an old one (the demo session's
    // test has each reason).
    GameRun run = play(kRecordings + "short-bonus-complete.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("other game data"), std::string::npos) << run.errors;

    // A good one plays on a folder of its own, removed at the end.
    run = play(kRecordings + "options-changed.txt");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(player.Read("scores.ini"), "mine");
    EXPECT_EQ(player.Read("config.ini"), "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    EXPECT_EQ(player.Read("applog.htm"), "");
}

}  // namespace
