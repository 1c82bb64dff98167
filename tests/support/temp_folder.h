// A fresh temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace TestSupport {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes a file (creating its folders); returns its path.
    std::string Write(const std::string& name, const std::string& contents) const;
    // Reads a file back; empty when missing.
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};

// Runs the test body with the current directory changed, restoring it afterwards.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& folder);
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::string previous_;
};

}  // namespace TestSupport
