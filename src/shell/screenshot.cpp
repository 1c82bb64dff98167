// Numbered, never-clobbering PNG screenshots.
#include "shell/screenshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imagefiles/png_writer.h"

namespace Tuvo {

namespace {

// Writes all of `bytes` to a new file that must not exist yet; false when it exists or fails.
bool WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes, int& errorNumber) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        errorNumber = errno;
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            errorNumber = errno;
            ::close(fd);
            ::unlink(path.c_str());  // our own half-written file, never someone else's
            return false;
        }
        done += static_cast<size_t>(written);
    }
    if (::close(fd) != 0) {
        errorNumber = errno;
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string WriteScreenshot(const std::string& folder, const uint32_t* pixels, int width,
                            int height, std::string& error) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        error = "no frame to write";
        return "";
    }
    // The back buffer's alpha bytes are whatever the blitters left: the picture is opaque.
    std::vector<uint32_t> opaque(pixels, pixels + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : opaque) {
        pixel |= 0xFF000000u;
    }
    std::vector<uint8_t> png;
    if (!ImageLib::EncodePng(opaque.data(), width, height, png)) {
        error = "the PNG could not be encoded";
        return "";
    }
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        error = "cannot create '" + folder + "': " + std::strerror(errno);
        return "";
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "'" + folder + "' is not a folder";
        return "";
    }
    for (int number = 1; number <= kMaxScreenshots; ++number) {
        char name[32];
        std::snprintf(name, sizeof(name), "/quillory-%04d.png", number);
        const std::string path = folder + name;
        int errorNumber = 0;
        if (WriteNewFile(path, png, errorNumber)) {
            return path;
        }
        if (errorNumber != EEXIST) {
            error = "cannot write '" + path + "': " + std::strerror(errorNumber);
            return "";
        }
    }
    error = "'" + folder + "' already holds " + std::to_string(kMaxScreenshots) + " screenshots";
    return "";
}

}  // namespace Tuvo
