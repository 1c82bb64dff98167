// The per-test user folder.
#include "support/user_folder.h"

#include "engine/app_log.h"
#include "engine/private_profile.h"
#include "platform/folders.h"
#include "support/program_run.h"

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
    return static_cast<int>(CountOccurrences(Log(), text));
}

}  // namespace TestSupport
