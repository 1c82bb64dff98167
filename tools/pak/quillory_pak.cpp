// quillory-pak: packs a folder into the game's archive format, lists an archive, unpacks one.
//   quillory-pak create <folder> <file.pak>
//   quillory-pak list <file.pak>
//   quillory-pak extract <file.pak> <folder>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
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

// Longest part of a stored name between separators that create accepts and extract can write:
// the file system's name limit, less the suffix of the temporary file extract writes through.
constexpr size_t kMaxNamePart = NAME_MAX - Platform::kTemporaryNameSuffix;

bool NamePartsFit(const std::string& name) {
    size_t partStart = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            if (i - partStart > kMaxNamePart) {
                return false;
            }
            partStart = i + 1;
        }
    }
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
        if (!NamePartsFit(file.name)) {
            std::fprintf(stderr, "quillory-pak: '%s' has a name part longer than %zu bytes\n",
                         file.name.c_str(), kMaxNamePart);
            return 1;
        }
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

// Reads the archive's directory; `complete` is cleared when entries had to be left out.
bool ReadArchive(const std::string& pakPath, std::vector<uint8_t>& bytes,
                 std::vector<Tuvo::PakDirectoryEntry>& entries, bool& complete) {
    complete = true;
    if (!ReadBytes(pakPath, bytes)) {
        std::fprintf(stderr, "quillory-pak: cannot read '%s'\n", pakPath.c_str());
        return false;
    }
    switch (Tuvo::ParsePakDirectory(bytes.data(), bytes.size(), entries)) {
        case Tuvo::PakParseResult::kOk:
            return true;
        case Tuvo::PakParseResult::kDamaged:
            std::fprintf(stderr,
                         "quillory-pak: some entries lie past the end of the file and "
                         "were skipped\n");
            complete = false;
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
    bool complete = true;
    if (!ReadArchive(pakPath, bytes, entries, complete)) {
        return 1;
    }
    for (const Tuvo::PakDirectoryEntry& entry : entries) {
        std::printf("%s %u\n", entry.name.c_str(), entry.size);
    }
    return complete ? 0 : 1;
}

// A stored name is unpacked only when it stays inside the target folder.
bool IsSafeName(const std::string& name) {
    const fs::path path(name);
    if (name.empty() || path.is_absolute() || !NamePartsFit(name)) {
        return false;
    }
    for (const fs::path& part : path) {
        if (part == "..") {
            return false;
        }
    }
    return true;
}

// A path in quotes for messages. Built by appending: GCC 12 warns falsely (-Wrestrict) when
// inlining "'" + path.string().
std::string Quoted(const fs::path& path) {
    std::string text = "'";
    text += path.string();
    text += '\'';
    return text;
}

// Makes the folders of `name` below `folder`, never following a symbolic link and never
// replacing anything: a link planted inside the target would lead the write outside it. The
// target folder itself is the user's choice and may be a link.
bool MakeParentFolders(const fs::path& folder, const fs::path& name, std::string& problem) {
    fs::path walk = folder;
    const fs::path parent = name.parent_path();
    for (const fs::path& part : parent) {
        walk /= part;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(walk, error);
        if (fs::is_symlink(status)) {
            problem = Quoted(walk) + " is a symbolic link";
            return false;
        }
        if (!fs::exists(status) && !fs::create_directory(walk, error)) {
            problem = "cannot create '" + walk.string() + "'";
            return false;
        }
        if (fs::exists(status) && !fs::is_directory(status)) {
            problem = Quoted(walk) + " is not a folder";
            return false;
        }
    }
    return true;
}

// Writes one entry; false with a message when it was skipped.
bool ExtractEntry(const std::vector<uint8_t>& bytes, const Tuvo::PakDirectoryEntry& entry,
                  const std::string& folder) {
    const std::string name = Platform::NormaliseSeparators(entry.name);
    if (!IsSafeName(name)) {
        std::fprintf(stderr, "quillory-pak: unsafe or too long name '%s' skipped\n",
                     entry.name.c_str());
        return false;
    }
    std::string problem;
    const fs::path target = fs::path(folder) / name;
    if (MakeParentFolders(folder, name, problem)) {
        std::error_code error;
        const fs::file_status existing = fs::symlink_status(target, error);
        if (fs::exists(existing) && !fs::is_regular_file(existing)) {
            problem = Quoted(target) + " is not a regular file";
        }
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "quillory-pak: '%s' skipped: %s\n", entry.name.c_str(),
                     problem.c_str());
        return false;
    }
    std::string data(entry.size, '\0');
    for (uint32_t i = 0; i < entry.size; ++i) {
        data[i] = static_cast<char>(bytes[entry.dataOffset + i] ^ Tuvo::kPakScramble);
    }
    if (!Platform::WriteFileAtomically(target.string(), data, Platform::Durability::kNoFlush)) {
        std::fprintf(stderr, "quillory-pak: cannot write '%s'\n", target.c_str());
        return false;
    }
    return true;
}

// Unpacks every entry it safely can; exits non-zero when anything was skipped.
int Extract(const std::string& pakPath, const std::string& folder) {
    std::vector<uint8_t> bytes;
    std::vector<Tuvo::PakDirectoryEntry> entries;
    bool complete = true;
    if (!ReadArchive(pakPath, bytes, entries, complete)) {
        return 1;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) {
        std::fprintf(stderr, "quillory-pak: cannot create the folder '%s'\n", folder.c_str());
        return 1;
    }
    size_t written = 0;
    for (const Tuvo::PakDirectoryEntry& entry : entries) {
        written += ExtractEntry(bytes, entry, folder) ? 1 : 0;
    }
    if (!complete || written != entries.size()) {
        std::fprintf(stderr, "quillory-pak: %zu of %zu listed entries extracted%s\n", written,
                     entries.size(), complete ? "" : ", and entries past the end skipped");
        return 1;
    }
    return 0;
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
