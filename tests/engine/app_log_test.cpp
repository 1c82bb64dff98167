#include "engine/app_log.h"

#include <gtest/gtest.h>

#include <cctype>
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
    // The log with every time stamp "hh:mm:ss" written as "<T>".
    // (A plain scan: std::regex draws a false GCC 12 warning under the sanitizers.)
    std::string Log() const {
        const std::string log = folder_.Read("applog.htm");
        const auto digit = [&](size_t i) {
            return std::isdigit(static_cast<unsigned char>(log[i]));
        };
        std::string result;
        for (size_t i = 0; i < log.size(); ++i) {
            const bool stamp = i + 8 <= log.size() && log[i + 2] == ':' && log[i + 5] == ':' &&
                               digit(i) && digit(i + 1) && digit(i + 3) && digit(i + 4) &&
                               digit(i + 6) && digit(i + 7);
            if (stamp) {
                result += "<T>";
                i += 7;
            } else {
                result += log[i];
            }
        }
        return result;
    }

    TempFolder folder_;
};

TEST_F(AppLogTest, SessionStartIsFramedAndTruncatesTheOldLog) {
    LogMessage("old session");
    LogMessage("*** SESSION STARTED ***", Quillory::LOG_NEW_FILE | Quillory::LOG_FRAMED);
    LogMessage("Init()");
    LogMessage("*** Session finished ***", Quillory::LOG_FRAMED);
    EXPECT_EQ(Log(), kSeparator + "<BR><T> : *** SESSION STARTED ***<BR>" + kSeparator +
                         "<BR><T> : Init()<BR>" + kSeparator +
                         "<BR><T> : *** Session finished ***<BR>" + kSeparator + "<BR>");
    EXPECT_EQ(Log().find('\n'), std::string::npos);
}

TEST_F(AppLogTest, OnlyUpperCaseFailAndWarningAreRed) {
    LogMessage("x", Quillory::LOG_NEW_FILE);
    LogMessage("Loading image 'a.png' ... FAILED");
    LogMessage("WARNING: Too many buttons in menu - x");
    LogMessage("Warning: couldn't find sound event - y");
    LogMessage("it may fail");
    EXPECT_EQ(Log(),
              "<T> : x<BR><B><FONT COLOR=#FF0000><T> : Loading image 'a.png' ... "
              "FAILED</FONT></B><BR><B><FONT COLOR=#FF0000><T> : WARNING: Too many "
              "buttons in menu - x</FONT></B><BR><T> : Warning: couldn't find sound "
              "event - y<BR><T> : it may fail<BR>");
}

TEST_F(AppLogTest, NoBreakJoinsEntriesMarkupIsKeptAndAnUnwritableLogIsSilent) {
    LogMessage("first", Quillory::LOG_NEW_FILE | Quillory::LOG_NO_BREAK);
    LogMessage("<I>second</I>");
    EXPECT_EQ(Log(), "<T> : first<T> : <I>second</I><BR>");
    Quillory::SetLogFilePath(folder_.File("no/such/folder/applog.htm").c_str());
    LogMessage("lost", Quillory::LOG_NEW_FILE);
}

}  // namespace
