#include "engine/scores.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "fake_sprite_host.h"
#include "support/user_folder.h"

namespace {

using namespace Quillory;

class ScoresTest : public ::testing::Test {
protected:
    static WindowMessage Key(int code, uint32_t kind = kMessageKeyDown) {
        return {.message = kind, .wParam = static_cast<uint8_t>(code)};
    }
    static WindowMessage Char(char c) { return Key(c, kMessageChar); }
    void Type(const std::string& text) {
        for (char c : text) {
            scores_.HandleKey(Char(c));
        }
    }
    std::string Name(int row) const { return scores_.Entry(row).name; }

    TestSupport::TestUserFolder user_;
    CScores scores_;
};

TEST_F(ScoresTest, AnEqualScoreGoesBelowAndTheLastRowDrops) {
    scores_.Load();
    EXPECT_EQ(scores_.AddScore(900, "Ann"), 1);
    EXPECT_EQ(scores_.AddScore(500, "Bob"), 1);
    EXPECT_EQ(scores_.AddScore(100, "Cy"), 1);
    EXPECT_EQ(scores_.AddScore(500, "Dee"), 1);
    EXPECT_EQ(scores_.EditRow(), 2);
    EXPECT_EQ(Name(1) + " " + Name(2) + " " + Name(3), "Bob Dee Cy");
    EXPECT_TRUE(scores_.IsHighlighted());
    EXPECT_FALSE(scores_.IsEditing());
    EXPECT_EQ(scores_.AddScore(0, "Zero"), 0);
    for (int i = 0; i < 6; ++i) {
        scores_.AddScore(1000 + i, "Top");
    }
    EXPECT_EQ(scores_.Entry(9).score, 100u);
    // A full table whose last row is higher or equal takes nothing.
    EXPECT_EQ(scores_.AddScore(100, "Late"), 0);
    EXPECT_EQ(scores_.AddScore(101, "Just"), 1);
    EXPECT_EQ(Name(9), "Just");
    // Names given by the game are cut to the typed length.
    scores_.AddScore(5000, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(Name(0), "ABCDEFGHIJKLMNOP");
}

TEST_F(ScoresTest, TablesRoundTripThroughTheFileAndADamagedFileGivesEmptyTables) {
    scores_.SetTable(2);
    scores_.AddScore(0xFEDCBA98u, "Relaxed");
    scores_.SetTable(0);
    scores_.AddScore(42, "Classic");
    CScores other;
    ASSERT_EQ(other.Load(), 1);
    EXPECT_EQ(std::string(other.Entry(0).name), "Classic");
    other.SetTable(2);
    EXPECT_EQ(other.Entry(0).score, 0xFEDCBA98u);
    EXPECT_EQ(std::string(other.Entry(0).name), "Relaxed");
    // The block: 3600 bytes as hex pairs and a checksum; the score is little-endian after the
    // 32 name bytes of its entry.
    const std::string file = user_.Read("scores.ini");
    const size_t data = file.find("Data=");
    ASSERT_NE(data, std::string::npos);
    const std::string hex = file.substr(data + 5, 7202);
    EXPECT_EQ(hex.substr(0, 14), "436C6173736963");            // "Classic"
    EXPECT_EQ(hex.substr(64, 8), "2A000000");                  // 42
    EXPECT_EQ(hex.substr((20 * 36 + 32) * 2, 8), "98BADCFE");  // table 2, row 0
    // SetTable beyond 9 keeps the table; switching tables clears the highlight.
    scores_.SetTable(10);
    EXPECT_EQ(scores_.CurrentTable(), 0);
    EXPECT_TRUE(scores_.IsHighlighted());
    scores_.SetTable(1);
    EXPECT_FALSE(scores_.IsHighlighted());
    // A block whose checksum no longer matches, or a short one, gives empty tables; ClearAll
    // empties and saves.
    const size_t digit = data + 5;
    user_.Write("scores.ini",
                file.substr(0, digit) + (file[digit] == '4' ? '5' : '4') + file.substr(digit + 1));
    ClearProfileCache();
    CScores damaged;
    damaged.AddScore(300, "");  // in memory only: an unnamed entry is not saved yet
    EXPECT_EQ(damaged.Load(), 0);
    EXPECT_EQ(damaged.Entry(0).score, 0u);
    user_.Write("scores.ini", "[HIGH SCORES]\r\nData=00FF\r\n");
    ClearProfileCache();
    EXPECT_EQ(damaged.Load(), 0);
    scores_.ClearAll();
    ASSERT_EQ(damaged.Load(), 1);
    EXPECT_EQ(damaged.Entry(0).score, 0u);
}

TEST_F(ScoresTest, NameEntryAndFinishingAnOpenEntry) {
    scores_.AddScore(800, "Saved");
    EXPECT_EQ(scores_.AddScore(900, ""), 1);
    EXPECT_TRUE(scores_.IsEditing());
    // Enter needs a name; control characters are not typed.
    scores_.HandleKey(Key(13));
    scores_.HandleKey(Char('\r'));
    EXPECT_TRUE(scores_.IsEditing());
    EXPECT_EQ(Name(0), "");
    Type("Quill Writer 12345678");
    EXPECT_EQ(Name(0), "Quill Writer 123");
    scores_.HandleKey(Key(8));
    scores_.HandleKey(Char('!'));
    EXPECT_EQ(Name(0), "Quill Writer 12!");
    scores_.HandleKey(Key(13));
    EXPECT_FALSE(scores_.IsEditing());
    // Keys do nothing once the name is accepted.
    Type("zz");
    EXPECT_EQ(Name(0), "Quill Writer 12!");
    CScores other;
    other.Load();
    EXPECT_EQ(std::string(other.Entry(0).name), "Quill Writer 12!");

    // Escape drops the new entry: the table reverts to the file.
    scores_.AddScore(950, "");
    Type("Gone");
    scores_.HandleKey(Key(27));
    EXPECT_FALSE(scores_.IsEditing());
    EXPECT_EQ(scores_.Entry(0).score, 900u);
    EXPECT_EQ(Name(1), "Saved");

    // An open entry is saved when finished (a typed one in the menu actions' test), an untyped
    // name kept empty as the table shows it; finishing twice changes nothing.
    scores_.AddScore(800, "");
    scores_.FinishEditing();
    EXPECT_TRUE(scores_.IsHighlighted());
    scores_.FinishEditing();
    ASSERT_EQ(other.Load(), 1);
    EXPECT_EQ(other.Entry(2).score, 800u);
    EXPECT_EQ(std::string(other.Entry(2).name), "");
    EXPECT_EQ(other.Entry(3).score, 0u);
}

TEST_F(ScoresTest, TheEditedRowIsRedWithABlinkingCursor) {
    TestSupport::SpriteStage stage(160, 80);
    stage.host.Provide("font.png", TestSupport::SolidImage(160, 80, 0xFFFFFFFF));
    user_.Write("language.ini", "[ENGLISH]\r\nSymbolList=_\r\nLine01_Width=16\r\n");
    SetLanguageName("ENGLISH");
    ClearProfileCache();
    stage.sprites.InitSymbolFont("font.png");

    // Rows are size * 1.25 apart; row 1 is at y + 1.25 * size = 0.25 (pixel 20), row 2 at 35.
    auto draw = [&](uint32_t milliseconds) {
        stage.host.milliseconds = milliseconds;
        stage.target.FillRect(Tuvo::Rect(0, 0, 160, 80), Tuvo::kColorBlack, Tuvo::kDrawModeNormal);
        scores_.DrawTable(stage.sprites, 0.1f, 0.12f, 0.1f, 0.5f, 0.8f, false);
    };
    scores_.AddScore(10, "");
    // The name is empty, so the cursor "_" stands at the name's x.
    draw(0);
    const uint32_t cursor = stage.target.GetPixel(84, 20);
    EXPECT_GE((cursor >> 16) & 0xFF, 0xF0u);
    EXPECT_LE((cursor >> 8) & 0xFF, 0x60u);
    EXPECT_GE((cursor >> 8) & 0xFF, 0x50u);
    draw(500);  // the cursor is a blank for the next half second
    EXPECT_EQ(stage.target.GetPixel(84, 20), 0xFF000000u);

    // A named entry pulses: (nearly) full white when sin(3t) = 1 (t = pi / 6), dimmer at t = 0.
    scores_.HandleKey(Char('_'));
    scores_.HandleKey(Key(13));
    scores_.AddScore(20, "__");
    ASSERT_TRUE(scores_.IsHighlighted());
    draw(524);
    EXPECT_GE(stage.target.GetPixel(84, 20), 0xFFFEFEFEu);
    EXPECT_EQ(stage.target.GetPixel(84, 35), 0xFFFFFFFFu);  // the row below is plain white
    draw(0);
    const uint32_t dim = stage.target.GetPixel(84, 20);
    EXPECT_GT(dim & 0xFF, 0x60u);
    EXPECT_LT(dim & 0xFF, 0xC0u);
}

}  // namespace
