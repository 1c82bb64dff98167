// A fresh user folder for one test: the game's user files ("config.ini", "applog.htm", ...)
// go to a temporary folder, the profile cache starts empty, and both are put back afterwards.
#pragma once

#include <string>

#include "support/temp_folder.h"

namespace TestSupport {

class TestUserFolder : public TempFolder {
public:
    TestUserFolder();
    ~TestUserFolder();

    // Sends the application log to "applog.htm" here until the end of the test.
    void StartLog();
    // What the log holds so far.
    std::string Log() const { return Read("applog.htm"); }
    // How many times `text` appears in the log ("logged once" checks).
    int LogCount(const std::string& text) const;
};

}  // namespace TestSupport
