// The game's diagnostic log "applog.htm": one HTML fragment per entry, opened and closed on every
// call so the file is complete up to the last entry even if the process dies.
#pragma once

namespace Quillory {

constexpr int LOG_NEW_FILE = 1;  // truncate: this entry becomes the first
constexpr int LOG_FRAMED = 4;    // a line of 74 asterisks before and after
constexpr int LOG_NO_BREAK = 8;  // no "<BR>" after the text

// Writes one entry. Texts containing "FAIL" or "WARNING" are set in bold red. Failures to write
// are silent.
void LogMessage(const char* text, int flags = 0);

// Where the log goes; by default "applog.htm" in the user folder.
void SetLogFilePath(const char* path);

}  // namespace Quillory
