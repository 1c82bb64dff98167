#include "engine/app_log.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace {

using Quillory::LogMessage;
using TestSupport::TempFolder;

const std::string kSeparator(74, '*');

class AppLogTest : public ::testing::Test {
protected:
    void SetUp() override { Quillory::SetLogFilePath(folder_.File("applog.htm").c_str()); }
    void TearDown() override { Quillory::SetLogFilePath(nullptr); }
    std::string Log() const { return folder_.Read("applog.htm"); }

    TempFolder folder_;
};

// True when `text` is `pattern` with every "<T>" standing for a time stamp "hh:mm:ss".
bool MatchesLog(const std::string& text, const std::string& pattern) {
    size_t t = 0;
    for (size_t p = 0; p < pattern.size();) {
        if (pattern.compare(p, 3, "<T>") == 0) {
            if (t + 8 > text.size()) {
                return false;
            }
            for (int i = 0; i < 8; ++i) {
                const char c = text[t + i];
                const bool ok = (i == 2 || i == 5) ? c == ':' : (c >= '0' && c <= '9');
                if (!ok) {
                    return false;
                }
            }
            t += 8;
            p += 3;
        } else if (t < text.size() && text[t] == pattern[p]) {
            ++t;
            ++p;
        } else {
            return false;
        }
    }
    return t == text.size();
}

TEST_F(AppLogTest, SessionStartIsFramedAndTruncatesTheOldLog) {
    LogMessage("old session");
    LogMessage("*** SESSION STARTED ***", Quillory::LOG_NEW_FILE | Quillory::LOG_FRAMED);
    LogMessage("Init()");
    LogMessage("*** Session finished ***", Quillory::LOG_FRAMED);
    EXPECT_TRUE(MatchesLog(Log(), (kSeparator + "<BR><T> : *** SESSION STARTED ***<BR>" +
                                   kSeparator + "<BR><T> : Init()<BR>" + kSeparator +
                                   "<BR><T> : *** Session finished ***<BR>" + kSeparator + "<BR>")))
        << Log();
    EXPECT_EQ(Log().find('\n'), std::string::npos);
}

TEST_F(AppLogTest, OnlyUpperCaseFailAndWarningAreRed) {
    LogMessage("x", Quillory::LOG_NEW_FILE);
    LogMessage("Loading image 'a.png' ... FAILED");
    LogMessage("WARNING: Too many buttons in menu - x");
    LogMessage("Warning: couldn't find sound event - y");
    LogMessage("it may fail");
    EXPECT_TRUE(
        MatchesLog(Log(), ("<T> : x<BR><B><FONT COLOR=#FF0000><T> : Loading image 'a.png' ... "
                           "FAILED</FONT></B><BR><B><FONT COLOR=#FF0000><T> : WARNING: Too many "
                           "buttons in menu - x</FONT></B><BR><T> : Warning: couldn't find sound "
                           "event - y<BR><T> : it may fail<BR>")))
        << Log();
}

TEST_F(AppLogTest, NoBreakJoinsEntriesAndMarkupIsKept) {
    LogMessage("first", Quillory::LOG_NEW_FILE | Quillory::LOG_NO_BREAK);
    LogMessage("<I>second</I>");
    EXPECT_TRUE(MatchesLog(Log(), ("<T> : first<T> : <I>second</I><BR>"))) << Log();
}

TEST_F(AppLogTest, AnUnwritableLogIsSilent) {
    Quillory::SetLogFilePath(folder_.File("no/such/folder/applog.htm").c_str());
    LogMessage("lost", Quillory::LOG_NEW_FILE);
    SUCCEED();
}

}  // namespace
