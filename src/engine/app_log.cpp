// "applog.htm": each entry opens the file, writes one HTML fragment and closes it again.
#include "engine/app_log.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/folders.h"

namespace Quillory {
namespace {

constexpr char kSeparator[] =
    "**************************************************************************";
constexpr char kAlertStart[] = "<B><FONT COLOR=#FF0000>";
constexpr char kAlertEnd[] = "</FONT></B>";

std::mutex gLogMutex;
std::string gLogFilePath;

std::string LogFilePath() {
    if (!gLogFilePath.empty()) {
        return gLogFilePath;
    }
    return Platform::UserFilePath("applog.htm");
}

// The local time of day as "hh:mm:ss".
std::string TimeStamp() {
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::snprintf(text, sizeof(text), "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace

void SetLogFilePath(const char* path) {
    std::lock_guard<std::mutex> lock(gLogMutex);
    gLogFilePath = path == nullptr ? "" : path;
}

void LogMessage(const char* text, int flags) {
    if (text == nullptr) {
        text = "";
    }
    const bool alert =
        std::strstr(text, "FAIL") != nullptr || std::strstr(text, "WARNING") != nullptr;
    std::string entry;
    if (flags & LOG_FRAMED) {
        entry += kSeparator;
        entry += "<BR>";
    }
    if (alert) {
        entry += kAlertStart;
    }
    entry += TimeStamp() + " : " + text;
    if (alert) {
        entry += kAlertEnd;
    }
    if (!(flags & LOG_NO_BREAK)) {
        entry += "<BR>";
    }
    if (flags & LOG_FRAMED) {
        entry += kSeparator;
        entry += "<BR>";
    }

    std::lock_guard<std::mutex> lock(gLogMutex);
    FILE* file = std::fopen(LogFilePath().c_str(), (flags & LOG_NEW_FILE) ? "wb" : "ab");
    if (file == nullptr) {
        return;
    }
    std::fwrite(entry.data(), 1, entry.size(), file);
    std::fclose(file);
}

}  // namespace Quillory
