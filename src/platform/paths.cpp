// Windows-style names on a case-sensitive file system.
#include "platform/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

namespace Platform {
namespace {

char LowerAscii(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// Lists a folder's entry names, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The on-disk name for `component` inside `folder`: the exact name when present, else the first
// case-insensitive match, else the component as given.
std::string MatchComponent(const std::string& folder, const std::string& component) {
    if (component == "." || component == "..") {
        return component;
    }
    struct stat info;
    const std::string exact = folder.empty() ? component : folder + "/" + component;
    if (lstat(exact.c_str(), &info) == 0) {
        return component;
    }
    for (const std::string& name : ListFolder(folder)) {
        if (EqualsIgnoringCase(name, component)) {
            return name;
        }
    }
    return component;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    if (folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

}  // namespace

std::string NormaliseSeparators(std::string_view name) {
    std::string result;
    result.reserve(name.size());
    for (char c : name) {
        const char separator = (c == '\\') ? '/' : c;
        if (separator == '/' && !result.empty() && result.back() == '/') {
            continue;
        }
        result.push_back(separator);
    }
    return result;
}

std::string ResolvePath(std::string_view name) {
    const std::string normalised = NormaliseSeparators(name);
    if (normalised.empty()) {
        return normalised;
    }
    std::string resolved = normalised.front() == '/' ? "/" : "";
    size_t start = resolved.size();
    while (start <= normalised.size()) {
        size_t end = normalised.find('/', start);
        if (end == std::string::npos) {
            end = normalised.size();
        }
        const std::string component = normalised.substr(start, end - start);
        if (!component.empty()) {
            const std::string folder = resolved.empty() ? "" : resolved;
            resolved = JoinPath(folder, MatchComponent(folder, component));
        }
        start = end + 1;
    }
    if (normalised.back() == '/' && !resolved.empty() && resolved.back() != '/') {
        resolved.push_back('/');
    }
    return resolved;
}

bool FileExists(std::string_view name) {
    struct stat info;
    return stat(ResolvePath(name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(std::string_view name) {
    struct stat info;
    return stat(ResolvePath(name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative match with one backtracking point for the last '*' seen.
    size_t p = 0;
    size_t n = 0;
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

uint64_t UnixTimeToFileTime(int64_t seconds, int64_t nanoseconds) {
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    const int64_t ticks = (seconds + kSecondsFrom1601To1970) * 10000000LL + nanoseconds / 100;
    return ticks < 0 ? 0 : static_cast<uint64_t>(ticks);
}

bool GetFileInfo(std::string_view name, DirectoryEntry& info) {
    const std::string path = ResolvePath(name);
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        return false;
    }
    const size_t slash = path.find_last_of('/');
    info.name = slash == std::string::npos ? path : path.substr(slash + 1);
    info.isDirectory = S_ISDIR(status.st_mode);
    info.size = static_cast<uint64_t>(status.st_size);
    info.lastWriteTime = UnixTimeToFileTime(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
    return true;
}

std::vector<DirectoryEntry> FindFiles(std::string_view pattern) {
    const std::string normalised = NormaliseSeparators(pattern);
    const size_t slash = normalised.find_last_of('/');
    std::string folder;
    std::string namePattern = normalised;
    if (slash != std::string::npos) {
        folder = ResolvePath(normalised.substr(0, slash + 1));
        if (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        namePattern = normalised.substr(slash + 1);
    }
    std::vector<DirectoryEntry> entries;
    for (const std::string& name : ListFolder(folder)) {
        if (!WildcardMatch(namePattern, name)) {
            continue;
        }
        DirectoryEntry entry;
        if (GetFileInfo(JoinPath(folder, name), entry)) {
            entry.name = name;
            entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace Platform
