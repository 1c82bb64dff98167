#include "engine/app_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "support/temp_folder.h"

namespace {

using Quillory::LogMessage;

const std::string kSeparator(74, '*');

class AppLogTest : public ::testing::Test {
protected:
    void SetUp() override { Quillory::SetLogFilePath(folder_.File("applog.htm").c_str()); }
    void TearDown() override { Quillory::SetLogFilePath(nullptr); }
    // The log with every digit written as 9, so time stamps read "99:99:99".
    std::string Log() const {
        std::string log = folder_.Read("applog.htm");
        std::replace_if(
            log.begin(), log.end(), [](char c) { return std::isdigit(c) != 0; }, '9');
        return log;
    }

    TestSupport::TempFolder folder_;
};

TEST_F(AppLogTest, SessionStartIsFramedAndTruncatesTheOldLog) {
    LogMessage("old session");
    LogMessage("*** SESSION STARTED ***", Quillory::LOG_NEW_FILE | Quillory::LOG_FRAMED);
    LogMessage("Init()");
    LogMessage("*** Session finished ***", Quillory::LOG_FRAMED);
    EXPECT_EQ(Log(), kSeparator + "<BR>99:99:99 : *** SESSION STARTED ***<BR>" + kSeparator +
                         "<BR>99:99:99 : Init()<BR>" + kSeparator +
                         "<BR>99:99:99 : *** Session finished ***<BR>" + kSeparator + "<BR>");
}

// Only upper-case FAILED and WARNING are red; no-break joins entries; markup is kept; an
// unwritable log is silent.
TEST_F(AppLogTest, RedLinesJoinedEntriesAndAnUnwritableLog) {
    LogMessage("x", Quillory::LOG_NEW_FILE);
    LogMessage("Loading image 'a.png' ... FAILED");
    LogMessage("WARNING: Too many buttons in menu - x");
    LogMessage("Warning: couldn't find sound event - y");
    LogMessage("first", Quillory::LOG_NO_BREAK);
    LogMessage("<I>second</I>");
    EXPECT_EQ(Log(),
              "99:99:99 : x<BR><B><FONT COLOR=#FF9999>99:99:99 : Loading image 'a.png' ... "
              "FAILED</FONT></B><BR><B><FONT COLOR=#FF9999>99:99:99 : WARNING: Too many "
              "buttons in menu - x</FONT></B><BR>99:99:99 : Warning: couldn't find sound "
              "event - y<BR>99:99:99 : first99:99:99 : <I>second</I><BR>");
    EXPECT_NE(folder_.Read("applog.htm").find("<FONT COLOR=#FF0000>"), std::string::npos);
    Quillory::SetLogFilePath(folder_.File("no/such/folder/applog.htm").c_str());
    LogMessage("lost", Quillory::LOG_NEW_FILE);
}

}  // namespace
