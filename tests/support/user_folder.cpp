// The per-test user folder.
#include "support/user_folder.h"

#include "engine/app_log.h"
#include "engine/private_profile.h"
#include "platform/folders.h"

namespace TestSupport {

TestUserFolder::TestUserFolder() {
    Platform::SetUserFolderOverride(Path());
    Quillory::ClearProfileCache();
}

TestUserFolder::~TestUserFolder() {
    StopLog();
    Platform::SetUserFolderOverride("");
    Quillory::ClearProfileCache();
}

void TestUserFolder::StartLog() {
    Quillory::SetLogFilePath(File("applog.htm").c_str());
    logging_ = true;
}

void TestUserFolder::StopLog() {
    if (logging_) {
        Quillory::SetLogFilePath(nullptr);
        logging_ = false;
    }
}

int TestUserFolder::LogCount(const std::string& text) const {
    const std::string log = Log();
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace TestSupport
