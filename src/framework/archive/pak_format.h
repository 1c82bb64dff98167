// Reading and writing the archive format itself, apart from serving files: the directory parser
// shared by the layer and the tools, and the writer of new archives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Tuvo {

struct PakDirectoryEntry {
    std::string name;  // as stored, backslashes, its own case
    uint32_t size = 0;
    uint64_t fileTime = 0;    // Windows file time
    uint64_t dataOffset = 0;  // absolute offset of the data in the archive file
};

enum class PakParseResult {
    kOk,            // every entry lies inside the file
    kNotAnArchive,  // wrong magic or version, or shorter than the header
    kTruncated,     // the directory has no end marker inside the file: no entries
    kDamaged,       // some entries lie past the end: only the others are listed
};

// Parses the (scrambled) bytes of a whole archive file. Entries whose data would lie past the end
// are left out; nothing is ever read outside `bytes`.
PakParseResult ParsePakDirectory(const uint8_t* bytes, size_t size,
                                 std::vector<PakDirectoryEntry>& entries);

struct PakSourceFile {
    std::string name;  // stored name, for example "Graphics\back_menu.jpg"
    uint64_t fileTime = 0;
    std::vector<uint8_t> data;
};

// The scrambled bytes of an archive holding `files` in the given order. False when a name is
// longer than 255 bytes or a file is 2 GiB or larger.
bool BuildPak(const std::vector<PakSourceFile>& files, std::vector<uint8_t>& archive);

}  // namespace Tuvo
