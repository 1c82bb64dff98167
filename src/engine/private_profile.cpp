// The Windows private-profile functions over a cache of parsed INI files. Reads prefer the user
// folder's copy and fall back to the data folder (archive first, then disk); writes go to the
// user folder through an atomic replace.
#include "engine/private_profile.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

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
};

std::mutex gProfileMutex;
std::map<std::string, CachedFile> gCache;
std::set<std::string> gDurableFiles = {"saved.ini", "scores.ini"};

std::string UserPath(const char* fileName) {
    return Platform::UserFilePath(fileName);
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

Platform::IniDocument ReadDocument(const char* fileName, const FileSignature& signature) {
    if (!signature.exists) {
        return Platform::IniDocument();
    }
    if (signature.fromUserFolder) {
        std::string text;
        Platform::ReadWholeFile(UserPath(fileName), text);
        return Platform::IniDocument(text);
    }
    std::vector<uint8_t> bytes;
    Tuvo::PakReadWholeFile(fileName, bytes);
    return Platform::IniDocument(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The current parse of a file; the caller holds gProfileMutex.
Platform::IniDocument& Document(const char* fileName) {
    const FileSignature signature = CurrentSignature(fileName);
    auto found = gCache.find(fileName);
    if (found == gCache.end() || !(found->second.signature == signature)) {
        CachedFile& cached = gCache[fileName];
        cached.signature = signature;
        cached.document = ReadDocument(fileName, signature);
        return cached.document;
    }
    return found->second.document;
}

// Writes the edited document to the user folder and keeps the cache in step.
bool Store(const char* fileName, const Platform::IniDocument& document) {
    const bool durable = gDurableFiles.count(fileName) != 0;
    const bool written = Platform::WriteFileAtomically(
        UserPath(fileName), document.ToText(),
        durable ? Platform::Durability::kFlushToDisk : Platform::Durability::kNoFlush);
    gCache.erase(fileName);
    return written;
}

// Copies a string into the caller's buffer, cut to fit; returns the characters stored.
uint32_t CopyCut(const std::string& text, char* out, uint32_t outSize) {
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
    if (const std::optional<std::string> value = document.GetValue(section, key)) {
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

void ClearProfileCache() {
    std::lock_guard<std::mutex> lock(gProfileMutex);
    gCache.clear();
}

}  // namespace Quillory
