// The archive format: a scrambled header and directory followed by the files' data.
#include "framework/archive/pak_format.h"

#include <cstdint>

#include "framework/archive/pak_interface.h"

namespace Tuvo {
namespace {

uint32_t Read32(const uint8_t* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[i] ^ kPakScramble);
    }
    return value;
}

void Append(std::vector<uint8_t>& out, uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

PakParseResult ParsePakDirectory(const uint8_t* bytes, size_t size,
                                 std::vector<PakDirectoryEntry>& entries) {
    entries.clear();
    if (bytes == nullptr || size < 8 || Read32(bytes) != kPakMagic ||
        Read32(bytes + 4) != kPakVersion) {
        return PakParseResult::kNotAnArchive;
    }
    std::vector<PakDirectoryEntry> listed;
    size_t position = 8;
    uint64_t runningOffset = 0;
    bool complete = false;
    while (position < size) {
        const uint8_t flags = bytes[position++] ^ kPakScramble;
        if (flags & kPakEndOfDirectory) {
            complete = true;
            break;
        }
        if (position >= size) {
            break;
        }
        const size_t nameLength = bytes[position++] ^ kPakScramble;
        if (size - position < nameLength + 12) {
            break;
        }
        PakDirectoryEntry entry;
        entry.name.resize(nameLength);
        for (size_t i = 0; i < nameLength; ++i) {
            entry.name[i] = static_cast<char>(bytes[position + i] ^ kPakScramble);
        }
        position += nameLength;
        entry.size = Read32(bytes + position);
        entry.fileTime =
            Read32(bytes + position + 4) | (uint64_t{Read32(bytes + position + 8)} << 32);
        position += 12;
        entry.dataOffset = runningOffset;
        runningOffset += entry.size;
        listed.push_back(std::move(entry));
    }
    if (!complete) {
        // Without the end marker nothing says where the data starts.
        return PakParseResult::kTruncated;
    }
    PakParseResult result = PakParseResult::kOk;
    for (PakDirectoryEntry& entry : listed) {
        entry.dataOffset += position;
        if (entry.dataOffset + entry.size > size || entry.dataOffset + entry.size > INT32_MAX) {
            result = PakParseResult::kDamaged;
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return result;
}

bool BuildPak(const std::vector<PakSourceFile>& files, std::vector<uint8_t>& archive) {
    archive.clear();
    std::vector<uint8_t> plain;
    Append(plain, kPakMagic, 4);
    Append(plain, kPakVersion, 4);
    for (const PakSourceFile& file : files) {
        if (file.name.size() > 255 || file.data.size() >= 0x80000000u) {
            return false;
        }
        plain.push_back(0);
        plain.push_back(static_cast<uint8_t>(file.name.size()));
        plain.insert(plain.end(), file.name.begin(), file.name.end());
        Append(plain, file.data.size(), 4);
        Append(plain, file.fileTime, 8);
    }
    plain.push_back(kPakEndOfDirectory);
    for (const PakSourceFile& file : files) {
        plain.insert(plain.end(), file.data.begin(), file.data.end());
    }
    archive.resize(plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        archive[i] = plain[i] ^ kPakScramble;
    }
    return true;
}

}  // namespace Tuvo
