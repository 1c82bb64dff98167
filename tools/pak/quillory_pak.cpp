// quillory-pak: packs a folder into the game's archive format, lists an archive, unpacks one.
//   quillory-pak create <folder> <file.pak>
//   quillory-pak list <file.pak>
//   quillory-pak extract <file.pak> <folder>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/archive/pak_format.h"
#include "framework/archive/pak_interface.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: quillory-pak create <folder> <file.pak>\n"
                 "       quillory-pak list <file.pak>\n"
                 "       quillory-pak extract <file.pak> <folder>\n");
    return 2;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    std::string text;
    if (!Platform::ReadWholeFile(path, text)) {
        return false;
    }
    bytes.assign(text.begin(), text.end());
    return true;
}

// Stored names use backslashes, as the game's names do.
std::string StoredName(const fs::path& relative) {
    std::string name = relative.generic_string();
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

int Create(const std::string& folder, const std::string& pakPath) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        std::fprintf(stderr, "quillory-pak: '%s' is not a folder\n", folder.c_str());
        return 1;
    }
    const fs::path output = fs::weakly_canonical(pakPath, error);
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file() && fs::weakly_canonical(entry.path(), error) != output) {
            paths.push_back(fs::relative(entry.path(), folder));
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<Tuvo::PakSourceFile> files;
    for (const fs::path& relative : paths) {
        Tuvo::PakSourceFile file;
        file.name = StoredName(relative);
        const std::string fullPath = (fs::path(folder) / relative).string();
        struct stat info;
        if (!ReadBytes(fullPath, file.data) || stat(fullPath.c_str(), &info) != 0) {
            std::fprintf(stderr, "quillory-pak: cannot read '%s'\n", fullPath.c_str());
            return 1;
        }
        file.fileTime = Platform::UnixTimeToFileTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
        files.push_back(std::move(file));
    }
    std::vector<uint8_t> archive;
    if (!Tuvo::BuildPak(files, archive)) {
        std::fprintf(stderr, "quillory-pak: a name is longer than 255 bytes or a file too big\n");
        return 1;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(archive.data()), archive.size());
    if (!Platform::WriteFileAtomically(pakPath, bytes, Platform::Durability::kFlushToDisk)) {
        std::fprintf(stderr, "quillory-pak: cannot write '%s'\n", pakPath.c_str());
        return 1;
    }
    std::printf("%zu files, %zu bytes\n", files.size(), archive.size());
    return 0;
}

bool ReadArchive(const std::string& pakPath, std::vector<uint8_t>& bytes,
                 std::vector<Tuvo::PakDirectoryEntry>& entries) {
    if (!ReadBytes(pakPath, bytes)) {
        std::fprintf(stderr, "quillory-pak: cannot read '%s'\n", pakPath.c_str());
        return false;
    }
    switch (Tuvo::ParsePakDirectory(bytes.data(), bytes.size(), entries)) {
        case Tuvo::PakParseResult::kOk:
            return true;
        case Tuvo::PakParseResult::kDamaged:
            std::fprintf(stderr, "quillory-pak: some entries lie past the end of the file\n");
            return true;
        case Tuvo::PakParseResult::kTruncated:
            std::fprintf(stderr, "quillory-pak: '%s' has a truncated directory\n", pakPath.c_str());
            return false;
        case Tuvo::PakParseResult::kNotAnArchive:
            break;
    }
    std::fprintf(stderr, "quillory-pak: '%s' is not an archive\n", pakPath.c_str());
    return false;
}

int List(const std::string& pakPath) {
    std::vector<uint8_t> bytes;
    std::vector<Tuvo::PakDirectoryEntry> entries;
    if (!ReadArchive(pakPath, bytes, entries)) {
        return 1;
    }
    for (const Tuvo::PakDirectoryEntry& entry : entries) {
        std::printf("%s %u\n", entry.name.c_str(), entry.size);
    }
    return 0;
}

// A stored name is unpacked only when it stays inside the target folder.
bool IsSafeName(const std::string& name) {
    const fs::path path(name);
    if (name.empty() || path.is_absolute()) {
        return false;
    }
    for (const fs::path& part : path) {
        if (part == "..") {
            return false;
        }
    }
    return true;
}

int Extract(const std::string& pakPath, const std::string& folder) {
    std::vector<uint8_t> bytes;
    std::vector<Tuvo::PakDirectoryEntry> entries;
    if (!ReadArchive(pakPath, bytes, entries)) {
        return 1;
    }
    int failures = 0;
    for (const Tuvo::PakDirectoryEntry& entry : entries) {
        const std::string name = Platform::NormaliseSeparators(entry.name);
        if (!IsSafeName(name)) {
            std::fprintf(stderr, "quillory-pak: unsafe name '%s' skipped\n", entry.name.c_str());
            ++failures;
            continue;
        }
        const fs::path target = fs::path(folder) / name;
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        std::string data(entry.size, '\0');
        for (uint32_t i = 0; i < entry.size; ++i) {
            data[i] = static_cast<char>(bytes[entry.dataOffset + i] ^ Tuvo::kPakScramble);
        }
        if (!Platform::WriteFileAtomically(target.string(), data, Platform::Durability::kNoFlush)) {
            std::fprintf(stderr, "quillory-pak: cannot write '%s'\n", target.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    const std::string command = argv[1];
    if (command == "create" && argc == 4) {
        return Create(argv[2], argv[3]);
    }
    if (command == "list" && argc == 3) {
        return List(argv[2]);
    }
    if (command == "extract" && argc == 4) {
        return Extract(argv[2], argv[3]);
    }
    return Usage();
}
