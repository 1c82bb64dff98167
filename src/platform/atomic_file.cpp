// Crash-safe file replacement: write beside, flush when asked, rename over.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace Platform {
namespace {

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
    const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         Durability durability) {
    if (path.empty()) {
        return false;
    }
    static constexpr char kSuffix[] = ".tmp-XXXXXX";
    static_assert(sizeof(kSuffix) - 1 == kTemporaryNameSuffix);
    std::string temporary = path + kSuffix;
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    fchmod(fd, 0644);
    bool ok = WriteAll(fd, contents);
    if (ok && durability == Durability::kFlushToDisk) {
        ok = fsync(fd) == 0;
    }
    ok = (close(fd) == 0) && ok;
    if (ok) {
        ok = rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    if (durability == Durability::kFlushToDisk) {
        FlushFolder(path);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        contents.append(buffer, count);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

}  // namespace Platform
