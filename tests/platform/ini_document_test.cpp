#include "platform/ini_document.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Platform::IniDocument;

// A file as Windows programs and people leave them: CR LF, odd spacing, comments, quotes,
// duplicates, no final line break.
constexpr char kWindowsFile[] =
    "; options of the game\r\n"
    "[ OPTIONS ]\r\n"
    "  MusicVolume =  0.800000 \r\n"
    "name2=\"val2\"\r\n"
    "quote1='x'\r\n"
    "half=\"open\r\n"
    "one=\"\r\n"
    "comment=b ;c\r\n"
    "empty=\r\n"
    "not a key line\r\n"
    "\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "[options]\r\n"
    "later=ignored\r\n"
    "[Video]\r\n"
    "Brightness=0.5";

TEST(IniDocumentTest, ReadsWindowsFilesByTheWindowsRules) {
    const IniDocument document(kWindowsFile);
    EXPECT_EQ(document.GetValue("options", "musicvolume"), "0.800000");
    EXPECT_EQ(document.GetValue("  OPTIONS ", " MusicVolume  "), "0.800000");
    EXPECT_EQ(document.GetValue("OPTIONS", "name2"), "val2");
    EXPECT_EQ(document.GetValue("OPTIONS", "quote1"), "x");
    EXPECT_EQ(document.GetValue("OPTIONS", "half"), "\"open");
    EXPECT_EQ(document.GetValue("OPTIONS", "one"), "\"");
    EXPECT_EQ(document.GetValue("OPTIONS", "comment"), "b ;c");
    EXPECT_EQ(document.GetValue("OPTIONS", "empty"), "");
    EXPECT_EQ(document.GetValue("OPTIONS", "dup"), "first");
    EXPECT_FALSE(document.GetValue("OPTIONS", "not a key line"));
    EXPECT_FALSE(document.GetValue("OPTIONS", "later"));  // only the first section counts
    EXPECT_FALSE(document.GetValue("OPTIONS", "; options of the game"));
    EXPECT_EQ(document.GetValue("VIDEO", "Brightness"), "0.5");  // last line, no break
    EXPECT_FALSE(document.GetValue("Missing", "x"));
    EXPECT_EQ(document.SectionNames(), (std::vector<std::string>{"OPTIONS", "options", "Video"}));

    // Every line break, and the end-of-file character.
    const IniDocument breaks("[a]\rk1=1\nk2=2\r\nk3=3\x1a");
    EXPECT_EQ(breaks.GetValue("a", "k1"), "1");
    EXPECT_EQ(breaks.GetValue("a", "k2"), "2");
    EXPECT_EQ(breaks.GetValue("a", "k3"), "3");
}

TEST(IniDocumentTest, NewFileIsWrittenExactlyAsWindowsDoes) {
    IniDocument document;
    document.SetValue("App", "key", "string");
    document.SetValue("App", "empty", "");
    document.SetValue("Other", "k", "v");
    EXPECT_EQ(document.ToText(), "[App]\r\nkey=string\r\nempty=\r\n[Other]\r\nk=v\r\n");
}

TEST(IniDocumentTest, EditsLeaveEveryOtherLineAsItWas) {
    IniDocument document(kWindowsFile);
    document.SetValue("options", "musicvolume", "0.5");
    document.SetValue("Video", "Gamma", "2");
    const std::string text = document.ToText();
    EXPECT_NE(text.find("; options of the game\r\n[ OPTIONS ]\r\nMusicVolume=0.5\r\nname2="),
              std::string::npos);
    EXPECT_NE(text.find("Brightness=0.5\r\nGamma=2\r\n"), std::string::npos);
    EXPECT_NE(text.find("not a key line\r\n\r\ndup=first"), std::string::npos);
    // A new key goes after the last key of its section, before comments and blank lines.
    IniDocument other("[a]\nx=1\n; trailing comment\n\n[b]\ny=2\n");
    other.SetValue("a", "z", "3");
    EXPECT_EQ(other.ToText(), "[a]\nx=1\nz=3\r\n; trailing comment\n\n[b]\ny=2\n");
    IniDocument emptySection("[a]\n[b]\n");
    emptySection.SetValue("a", "k", "v");
    EXPECT_EQ(emptySection.ToText(), "[a]\nk=v\r\n[b]\n");
}

TEST(IniDocumentTest, StructDecodingRejectsAnythingOffAndLeavesTheBufferAlone) {
    const char untouched[] = "keep!!";
    char buffer[7];
    const char* bad[] = {
        "616261637573006",     // too short
        "616261637573006F00",  // too long
        "616261637573006E",    // checksum off
        "61626163757300GF",    // not hex
        "",
    };
    for (const char* text : bad) {
        std::memcpy(buffer, untouched, sizeof(buffer));
        EXPECT_FALSE(Platform::DecodeProfileStruct(text, buffer, 7)) << text;
        EXPECT_EQ(std::memcmp(buffer, untouched, sizeof(buffer)), 0) << text;
    }
    // Lower-case digits are read too (the writing side is checked with the profile functions).
    ASSERT_TRUE(Platform::DecodeProfileStruct("616261637573006f", buffer, 7));
    EXPECT_STREQ(buffer, "abacus");
}

}  // namespace

// Deletes leave every other line; look-ups go through tables kept beside the lines, so every
// edit that moves lines must leave them finding what a scan of the text would find.
TEST(IniDocumentTest, DeletesAndLookUpsFollowEveryEdit) {
    IniDocument document("[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nlater=3\r\n");
    document.SetValue("a", "new", "n");  // inserted above [b]: every later line moves down
    EXPECT_EQ(document.GetValue("B", "Y"), "2");
    EXPECT_EQ(document.GetValue("a", "NEW"), "n");
    EXPECT_FALSE(document.GetValue("a", "later"));
    document.DeleteKey("a", "X");
    EXPECT_EQ(document.ToText(), "[a]\r\nnew=n\r\n[b]\r\ny=2\r\n[A]\r\nlater=3\r\n");
    EXPECT_EQ(document.GetValue("a", "new"), "n");
    EXPECT_EQ(document.GetValue("b", "y"), "2");
    document.DeleteSection("A");  // the second [A] is now the first of its name
    EXPECT_EQ(document.GetValue("a", "later"), "3");
    EXPECT_FALSE(document.GetValue("a", "new"));
    document.DeleteSection("missing");
    document.DeleteKey("b", "missing");
    document.SetValue("c", "z", "4");
    EXPECT_EQ(document.GetValue("C", "z"), "4");
    EXPECT_EQ(document.ToText(), "[b]\r\ny=2\r\n[A]\r\nlater=3\r\n[c]\r\nz=4\r\n");
}
