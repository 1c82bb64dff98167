// The Windows private-profile functions over a cache of parsed INI files. Reads prefer the user
// folder's copy and fall back to the data folder (archive first, then disk); writes go to the
// user folder through an atomic replace.
#include "engine/private_profile.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/app_log.h"
#include "framework/archive/pak_file.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"
#include "platform/ini_document.h"
#include "platform/paths.h"

namespace Quillory {
namespace {

// What a cached copy was read from; a change means the copy is stale.
struct FileSignature {
    bool fromUserFolder = false;
    bool exists = false;
    uint64_t size = 0;
    uint64_t time = 0;

    bool operator==(const FileSignature&) const = default;
};

struct CachedFile {
    FileSignature signature;
    Platform::IniDocument document;
    // The user's copy exists but could not be read: the defaults serve, and it is never written.
    bool unreadable = false;
    bool warned = false;
    // The revalidation round in which the signature was last compared with the disk.
    uint64_t checkedRound = 0;
};

std::mutex gProfileMutex;
std::map<std::string, CachedFile> gCache;
std::set<std::string> gDurableFiles = {"saved.ini", "scores.ini"};
// Look-ups compare a cached file with the disk once per round, not on every call: texts are
// looked up many times a frame. A round ends at a screen change (RevalidateProfileFiles).
uint64_t gRound = 1;
std::atomic<uint64_t> gGeneration{0};

// The user folder's copy of a file, without creating the folder (reads must not touch the disk).
std::string UserPath(const char* fileName) {
    return Platform::UserFolder() + "/" + fileName;
}

FileSignature CurrentSignature(const char* fileName) {
    FileSignature signature;
    Platform::DirectoryEntry info;
    if (Platform::GetFileInfo(UserPath(fileName), info) && !info.isDirectory) {
        signature = {true, true, info.size, info.lastWriteTime};
        return signature;
    }
    uint64_t time = 0;
    if (Tuvo::PakFileTime(fileName, time)) {
        signature.exists = true;
        signature.time = time;
        if (Platform::GetFileInfo(fileName, info)) {
            signature.size = info.size;
        }
    }
    return signature;
}

void ReadDocument(const char* fileName, CachedFile& cached) {
    ++gGeneration;
    cached.document = Platform::IniDocument();
    cached.unreadable = false;
    if (!cached.signature.exists) {
        return;
    }
    if (cached.signature.fromUserFolder) {
        std::string text;
        const Platform::ReadStatus status =
            Platform::ReadRegularFile(UserPath(fileName), text, Platform::kMaxTextFileBytes);
        if (status == Platform::ReadStatus::kUnreadable) {
            cached.unreadable = true;
            if (!cached.warned) {
                cached.warned = true;
                char line[600];
                std::snprintf(line, sizeof(line),
                              "WARNING: '%s' could not be read; defaults are used and the file "
                              "will not be overwritten",
                              UserPath(fileName).c_str());
                LogMessage(line);
            }
        }
        cached.document = Platform::IniDocument(text);
        return;
    }
    std::vector<uint8_t> bytes;
    Tuvo::PakReadWholeFile(fileName, bytes, Platform::kMaxTextFileBytes);
    cached.document = Platform::IniDocument(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The current parse of a file; the caller holds gProfileMutex.
CachedFile& Cached(const char* fileName) {
    auto found = gCache.find(fileName);
    if (found != gCache.end() && found->second.checkedRound == gRound) {
        return found->second;
    }
    const FileSignature signature = CurrentSignature(fileName);
    CachedFile& cached = gCache[fileName];
    if (found == gCache.end() || !(cached.signature == signature) || cached.unreadable) {
        cached.signature = signature;
        ReadDocument(fileName, cached);
    }
    cached.checkedRound = gRound;
    return cached;
}

Platform::IniDocument& Document(const char* fileName) {
    return Cached(fileName).document;
}

// Writes the edited document to the user folder and keeps the cache in step. A user file that
// exists but could not be read is never replaced: that would lose what it holds.
bool Store(const char* fileName, const Platform::IniDocument& document) {
    if (Cached(fileName).unreadable) {
        return false;
    }
    const bool durable = gDurableFiles.count(fileName) != 0;
    const bool written = Platform::WriteFileAtomically(
        Platform::UserFilePath(fileName), document.ToText(),
        durable ? Platform::Durability::kFlushToDisk : Platform::Durability::kNoFlush);
    gCache.erase(fileName);
    ++gGeneration;
    return written;
}

// Copies a string into the caller's buffer, cut to fit; returns the characters stored.
uint32_t CopyCut(std::string_view text, char* out, uint32_t outSize) {
    const uint32_t count = static_cast<uint32_t>(std::min<size_t>(text.size(), outSize - 1));
    std::memcpy(out, text.data(), count);
    out[count] = '\0';
    return count;
}

// A list of names, each followed by a NUL, then one more NUL. A list that does not fit has its
// last name cut and two NULs at the end of the buffer, and counts as size - 2.
uint32_t CopyNameList(const std::vector<std::string>& names, char* out, uint32_t outSize,
                      bool exactFitIsTooSmall) {
    size_t total = 1;
    for (const std::string& name : names) {
        total += name.size() + 1;
    }
    if (total < outSize || (total == outSize && !exactFitIsTooSmall)) {
        char* cursor = out;
        for (const std::string& name : names) {
            std::memcpy(cursor, name.c_str(), name.size() + 1);
            cursor += name.size() + 1;
        }
        *cursor = '\0';
        return static_cast<uint32_t>(total - 1);
    }
    if (outSize < 2) {
        out[0] = '\0';
        return 0;
    }
    uint32_t used = 0;
    for (const std::string& name : names) {
        for (size_t i = 0; i <= name.size() && used < outSize - 2; ++i) {
            out[used++] = i < name.size() ? name[i] : '\0';
        }
    }
    out[outSize - 2] = '\0';
    out[outSize - 1] = '\0';
    return outSize - 2;
}

bool IsBlankForDefault(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                 char* out, uint32_t outSize, const char* fileName) {
    if (out == nullptr || outSize == 0 || fileName == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(gProfileMutex);
    const Platform::IniDocument& document = Document(fileName);
    if (section == nullptr) {
        return CopyNameList(document.SectionNames(), out, outSize, false);
    }
    if (key == nullptr) {
        return CopyNameList(document.KeyNames(section), out, outSize, false);
    }
    if (const std::optional<std::string_view> value = document.FindValue(section, key)) {
        return CopyCut(*value, out, outSize);
    }
    std::string fallback = defaultValue == nullptr ? "" : defaultValue;
    while (!fallback.empty() && IsBlankForDefault(fallback.back())) {
        fallback.pop_back();
    }
    return CopyCut(fallback, out, outSize);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName) {
    if (section == nullptr || fileName == nullptr) {
        return false;
    }
    std::lock_guard<std::mutex> lock(gProfileMutex);
    Platform::IniDocument document = Document(fileName);
    if (key == nullptr) {
        document.DeleteSection(section);
    } else if (value == nullptr) {
        document.DeleteKey(section, key);
    } else {
        document.SetValue(section, key, value);
    }
    return Store(fileName, document);
}

bool GetPrivateProfileStruct(const char* section, const char* key, void* data, uint32_t size,
                             const char* fileName) {
    if (section == nullptr || key == nullptr || data == nullptr || fileName == nullptr) {
        return false;
    }
    std::lock_guard<std::mutex> lock(gProfileMutex);
    const std::optional<std::string> value = Document(fileName).GetValue(section, key);
    return value && Platform::DecodeProfileStruct(*value, data, size);
}

bool WritePrivateProfileStruct(const char* section, const char* key, const void* data,
                               uint32_t size, const char* fileName) {
    if (section == nullptr || key == nullptr || fileName == nullptr) {
        return false;
    }
    if (data == nullptr) {
        return WritePrivateProfileString(section, key, nullptr, fileName);
    }
    return WritePrivateProfileString(section, key,
                                     Platform::EncodeProfileStruct(data, size).c_str(), fileName);
}

uint32_t GetPrivateProfileSectionNames(char* out, uint32_t outSize, const char* fileName) {
    if (out == nullptr || outSize == 0 || fileName == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(gProfileMutex);
    return CopyNameList(Document(fileName).SectionNames(), out, outSize, true);
}

void SetProfileFileDurable(const char* fileName, bool durable) {
    if (fileName == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(gProfileMutex);
    if (durable) {
        gDurableFiles.insert(fileName);
    } else {
        gDurableFiles.erase(fileName);
    }
}

void RevalidateProfileFiles() {
    std::lock_guard<std::mutex> lock(gProfileMutex);
    ++gRound;
    ++gGeneration;
}

void ClearProfileCache() {
    std::lock_guard<std::mutex> lock(gProfileMutex);
    gCache.clear();
    ++gGeneration;
}

uint64_t ProfileGeneration() {
    return gGeneration.load();
}

}  // namespace Quillory
