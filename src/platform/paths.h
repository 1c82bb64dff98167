// File-name services for names written the Windows way ("Graphics\Back_Menu.JPG"): separators of
// either kind, case-insensitive matching of every component against the disk, wildcard search.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// Turns every '\' into '/' and collapses runs of separators into one. A leading separator (an
// absolute path) is kept.
std::string NormaliseSeparators(std::string_view name);

// Maps a Windows-style name to a path on disk. Relative names start at the current directory.
// Each component is matched against the directory's entries without regard to case; an exact
// match wins over a case-insensitive one, and among several case-insensitive matches the first
// in byte order wins. Components that do not exist are kept as given, so the result can also
// name a file about to be created.
std::string ResolvePath(std::string_view name);

bool FileExists(std::string_view name);       // a regular file, after resolution
bool DirectoryExists(std::string_view name);  // a directory, after resolution

// Case-insensitive match with '*' (any run, also empty) and '?' (exactly one character).
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Windows file time: 100 ns units since 1601-01-01 (UTC).
uint64_t UnixTimeToFileTime(int64_t seconds, int64_t nanoseconds);

struct DirectoryEntry {
    std::string name;  // the entry's own name, in its on-disk case
    bool isDirectory = false;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;  // Windows file time
};

// Lists the entries of a folder that match the last component of `pattern` (for example
// "Graphics\*.png"), sorted by name in byte order so that results never depend on the file system.
// "." and ".." are never listed. A missing folder gives an empty list.
std::vector<DirectoryEntry> FindFiles(std::string_view pattern);

// Size and modification time of a file after resolution; false when it does not exist.
bool GetFileInfo(std::string_view name, DirectoryEntry& info);

}  // namespace Platform
