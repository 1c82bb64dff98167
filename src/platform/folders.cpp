// Locating the data folder and the user folder.
#include "platform/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "platform/paths.h"

namespace Platform {
namespace {

std::mutex gFolderMutex;
std::string gUserFolderOverride;

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    struct stat info;
    // Nearly always there already: one stat instead of a mkdir for every component.
    if (stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A folder that holds the game's data has its archive or its menus.
bool HoldsGameData(const std::string& folder) {
    return FileExists(folder + "/main.pak") || FileExists(folder + "/classes.xml") ||
           DirectoryExists(folder + "/Menu");
}

}  // namespace

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) {
        return CurrentDirectory();
    }
    std::string path(buffer, static_cast<size_t>(length));
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? CurrentDirectory() : path.substr(0, slash);
}

std::string UserFolder() {
    {
        std::lock_guard<std::mutex> lock(gFolderMutex);
        if (!gUserFolderOverride.empty()) {
            return gUserFolderOverride;
        }
    }
    const std::string fromEnvironment = EnvironmentValue("QUILLORY_USERDIR");
    if (!fromEnvironment.empty()) {
        return WithoutTrailingSlash(fromEnvironment);
    }
    const std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
    if (!dataHome.empty() && dataHome.front() == '/') {
        return WithoutTrailingSlash(dataHome) + "/Quillory";
    }
    const std::string home = EnvironmentValue("HOME");
    return WithoutTrailingSlash(home.empty() ? "/tmp" : home) + "/.local/share/Quillory";
}

void SetUserFolderOverride(const std::string& folder) {
    std::lock_guard<std::mutex> lock(gFolderMutex);
    gUserFolderOverride = folder.empty() ? folder : WithoutTrailingSlash(folder);
}

bool EnsureUserFolder() {
    return MakeFolders(UserFolder());
}

std::string UserFilePath(const std::string& fileName) {
    EnsureUserFolder();
    return UserFolder() + "/" + fileName;
}

std::string FindDataFolder(const std::string& changeDirOption) {
    if (!changeDirOption.empty()) {
        return WithoutTrailingSlash(changeDirOption);
    }
    const std::string programFolder = ProgramFolder();
    if (HoldsGameData(programFolder)) {
        return programFolder;
    }
    const std::string installed = programFolder + "/../share/quillory";
    if (HoldsGameData(installed)) {
        return installed;
    }
    return programFolder;
}

bool CheckDataFolder(const std::string& folder, std::string& problem) {
    if (folder.empty()) {
        problem = "The -changedir option names no folder.";
        return false;
    }
    if (!DirectoryExists(folder)) {
        problem = "The data folder '" + folder + "' does not exist or is not a folder.";
        return false;
    }
    if (!HoldsGameData(folder)) {
        problem = "The data folder '" + folder +
                  "' holds no game data (no main.pak, classes.xml or Menu folder).";
        return false;
    }
    return true;
}

bool ChangeCurrentDirectory(const std::string& folder) {
    return !folder.empty() && chdir(ResolvePath(folder).c_str()) == 0;
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof(buffer)) == nullptr) {
        return ".";
    }
    return buffer;
}

}  // namespace Platform
