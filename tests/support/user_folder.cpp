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
    // Whoever started the log here, it must not outlive the folder.
    Quillory::SetLogFilePath(nullptr);
    Platform::SetUserFolderOverride("");
    Quillory::ClearProfileCache();
}

void TestUserFolder::StartLog() {
    Quillory::SetLogFilePath(File("applog.htm").c_str());
}

int TestUserFolder::LogCount(const std::string& text) const {
    return static_cast<int>(CountOccurrences(Log(), text));
}

}  // namespace TestSupport
