// Safe whole-file reads and crash-safe file replacement: write beside, flush when asked, rename.
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace Platform {
namespace {

constexpr char kTemporaryInfix[] = ".tmp-";
constexpr size_t kTemporarySuffixLength = 6;  // the XXXXXX of mkstemp
static_assert(sizeof(kTemporaryInfix) - 1 + kTemporarySuffixLength == kTemporaryNameSuffix);
constexpr int kMaxLinkDepth = 16;

bool WriteAll(int fd, std::string_view contents) {
    size_t written = 0;
    while (written < contents.size()) {
        const ssize_t count = write(fd, contents.data() + written, contents.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void FlushFolder(const std::string& path) {
    const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Reads up to `size` bytes (the size fstat reported); false on an error or a read cut short.
bool ReadExactly(int fd, std::string& contents, size_t size) {
    contents.resize(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t count = read(fd, contents.data() + done, size - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        done += static_cast<size_t>(count);
    }
    return true;
}

bool IsTemporaryName(const std::string& name) {
    const size_t at = name.rfind(kTemporaryInfix);
    return at != std::string::npos && at > 0 &&
           name.size() == at + std::strlen(kTemporaryInfix) + kTemporarySuffixLength;
}

}  // namespace

ReadStatus ReadRegularFile(const std::string& path, std::string& contents, size_t maxBytes) {
    contents.clear();
    // Non-blocking, so that a FIFO in the folder cannot stall the game on open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::kMissing
                                                     : ReadStatus::kUnreadable;
    }
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<uint64_t>(info.st_size) <= maxBytes;
    if (ok) {
        ok = ReadExactly(fd, contents, static_cast<size_t>(info.st_size));
    }
    close(fd);
    if (!ok) {
        contents.clear();
        return ReadStatus::kUnreadable;
    }
    return ReadStatus::kOk;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    return ReadRegularFile(path, contents, kMaxWholeFileBytes) == ReadStatus::kOk;
}

std::string WriteTarget(const std::string& path) {
    std::string target = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target;
        }
        char buffer[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), buffer, sizeof(buffer) - 1);
        if (length <= 0) {
            return target;
        }
        const std::string link(buffer, static_cast<size_t>(length));
        target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
    }
    return target;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         Durability durability) {
    if (path.empty()) {
        return false;
    }
    const std::string target = WriteTarget(path);
    mode_t mode = 0644;
    struct stat info;
    if (stat(target.c_str(), &info) == 0) {
        // A read-only file stays read-only and unchanged; only plain files are replaced.
        if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 ||
            access(target.c_str(), W_OK) != 0) {
            return false;
        }
        mode = info.st_mode & 07777;
    }
    std::string temporary = target + kTemporaryInfix + "XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = fchmod(fd, mode) == 0;
    ok = ok && WriteAll(fd, contents);
    if (ok && durability == Durability::kFlushToDisk) {
        ok = fsync(fd) == 0;
    }
    ok = (close(fd) == 0) && ok;
    if (ok) {
        ok = rename(temporary.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    if (durability == Durability::kFlushToDisk) {
        FlushFolder(target);
    }
    return true;
}

namespace {

// The game's own subfolders (the sound cache mirrors the data's folders) are a few levels deep.
constexpr int kStaleSearchDepth = 8;

int RemoveStaleIn(const std::string& folder, int depthLeft) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = folder + "/" + name;
        struct stat info;
        if (lstat(path.c_str(), &info) != 0) {
            continue;
        }
        // Links are never followed: only what lies inside the folder itself is tidied.
        if (S_ISDIR(info.st_mode) && depthLeft > 0) {
            removed += RemoveStaleIn(path, depthLeft - 1);
        } else if (S_ISREG(info.st_mode) && IsTemporaryName(name) && unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    closedir(dir);
    return removed;
}

}  // namespace

int RemoveStaleTemporaryFiles(const std::string& folder) {
    return RemoveStaleIn(folder, kStaleSearchDepth);
}

}  // namespace Platform
