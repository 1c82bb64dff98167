#include "engine/ini_access.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/user_folder.h"

namespace {

using namespace Quillory;
using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

class IniAccessTest : public ::testing::Test {
protected:
    IniAccessTest() : inData_(data_.Path()) { SetLanguageName("ENGLISH"); }

    TempFolder data_;
    TestSupport::TestUserFolder user_;
    ScopedCurrentDirectory inData_;
};

TEST_F(IniAccessTest, NumbersConvertLikeTheCLibrary) {
    user_.Write("config.ini",
                "[N]\r\na=3.9\r\nb=-3.9\r\nc=abc\r\nd=\r\ne=0.75\r\nf=12px\r\ng=1e30\r\n");
    const std::pair<const char*, int> cases[] = {
        {"a", 3}, {"b", -3}, {"c", 0}, {"f", 12}, {"g", INT32_MAX}};
    for (const auto& [key, expected] : cases) {
        int value = 99;
        ASSERT_TRUE(ReadConfigInt("N", key, &value)) << key;
        EXPECT_EQ(value, expected) << key;
    }
    int value = 99;
    EXPECT_FALSE(ReadConfigInt("N", "d", &value));
    EXPECT_FALSE(ReadConfigInt("N", "missing", &value));
    EXPECT_EQ(value, 99);
    float number = -1;
    ASSERT_TRUE(ReadConfigFloat("N", "e", &number));
    EXPECT_FLOAT_EQ(number, 0.75f);
    number = -1;
    EXPECT_FALSE(ReadConfigFloat("N", "d", &number));
    EXPECT_EQ(number, -1);
}

// The cut of long values and the struct block's format are the profile functions' own.
TEST_F(IniAccessTest, LanguageLookUpsWithAResultBufferPerThreadAndStructSizes) {
    data_.Write("language.ini", "[ENGLISH]\r\nQuillory=Quillory\r\nScore=Score\r\n");
    EXPECT_STREQ(GetLanguageString("Score"), "Score");
    EXPECT_STREQ(GetLanguageString("Unknown"), "");
    const char* mainResult = GetLanguageString("Quillory");
    std::thread other([] { EXPECT_STREQ(GetLanguageString("Score"), "Score"); });
    other.join();
    EXPECT_STREQ(mainResult, "Quillory");
    // Without a language name every look-up warns.
    user_.StartLog();
    SetLanguageName("");
    EXPECT_STREQ(GetLanguageString("Score"), "");
    EXPECT_STREQ(GetLanguageString("Score"), "");
    EXPECT_EQ(user_.LogCount("Warning: language not defined in 'config.ini'"), 2);

    // A missing value reads empty. Struct blocks round-trip in the high-score and saved-game
    // tests; a negative size is refused before it becomes a huge one.
    char out[kConfigValueSize];
    EXPECT_FALSE(ReadConfigString("OPTIONS", "Missing", out));
    EXPECT_STREQ(out, "");
    int32_t block[3] = {100, -1, 7};
    ASSERT_TRUE(WriteProfileStruct("Classic", "Table", block, sizeof(block), "scores.ini"));
    EXPECT_FALSE(ReadProfileStruct("Classic", "Table", block, -1, "scores.ini"));
    EXPECT_FALSE(WriteProfileStruct("Classic", "Table", block, -1, "scores.ini"));
}

}  // namespace
