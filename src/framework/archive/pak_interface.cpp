// The archive layer: a mapped, scrambled archive served like a set of files, with the disk behind.
#include "framework/archive/pak_interface.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <set>

#include "framework/archive/pak_file.h"
#include "framework/archive/pak_format.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace Tuvo {

struct PakArchive {
    int fd = -1;
    const uint8_t* view = nullptr;
    size_t size = 0;

    ~PakArchive() {
        if (view != nullptr) {
            munmap(const_cast<uint8_t*>(view), size);
        }
        if (fd >= 0) {
            close(fd);
        }
    }
};

struct PakFindContext {
    std::string pattern;  // normalised
    std::string lastKey;  // last archive match; empty before the first
    bool searchingDisk = false;
    std::vector<Platform::DirectoryEntry> diskEntries;
    size_t nextDiskEntry = 0;
    std::set<std::string> archiveKeys;  // what the archive listed, so the disk never repeats it
};

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

bool IsReadMode(const char* mode) {
    return std::strcmp(mode, "r") == 0 || std::strcmp(mode, "rb") == 0 ||
           std::strcmp(mode, "rt") == 0;
}

// Opens only a regular file, without blocking: a FIFO would stall the open and a device such as
// /dev/zero would read without end.
FILE* OpenRegularFileForReading(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Platform::DebugOutput("'%s' is not a regular file; not opened\n", path.c_str());
        close(fd);
        return nullptr;
    }
    FILE* stream = fdopen(fd, "rb");
    if (stream == nullptr) {
        close(fd);
    }
    return stream;
}

// Removes the current directory from the front of an absolute name, as the archive's names are
// relative to the data folder.
std::string_view WithoutCurrentDirectory(std::string_view name, std::string& storage) {
    if (name.empty() || name.front() != '/') {
        return name;
    }
    storage = Platform::CurrentDirectory();
    if (name.size() > storage.size() && name.compare(0, storage.size(), storage) == 0 &&
        IsSeparator(name[storage.size()])) {
        return name.substr(storage.size() + 1);
    }
    return name;
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CopyName(char (&destination)[260], const std::string& name) {
    const size_t length = std::min(name.size(), sizeof(destination) - 1);
    std::memcpy(destination, name.data(), length);
    destination[length] = '\0';
}

// The archive's pattern rule: the key starts with the text before the '*', then the pattern ends
// there, or its rest is ".*", or the key ends with the rest. Sets `inSubfolder` when the part of
// the key after that text holds a backslash.
bool ArchivePatternMatches(const std::string& pattern, const std::string& key, bool& inSubfolder) {
    const size_t star = pattern.find('*');
    if (star == std::string::npos) {
        return false;
    }
    const std::string_view prefix(pattern.data(), star);
    const std::string_view rest(pattern.data() + star + 1, pattern.size() - star - 1);
    if (key.size() < prefix.size() || key.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    const std::string_view tail(key.data() + prefix.size(), key.size() - prefix.size());
    const bool matches = rest.empty() || rest == ".*" ||
                         (tail.size() >= rest.size() &&
                          tail.compare(tail.size() - rest.size(), rest.size(), rest) == 0);
    inSubfolder = tail.find('\\') != std::string_view::npos;
    return matches;
}

}  // namespace

PakInterface::PakInterface(bool registerProcessWide) {
    if (registerProcessWide && RegisteredPakInterface() == nullptr) {
        RegisterPakInterface(this);
    }
}

PakInterface::~PakInterface() {
    if (RegisteredPakInterface() == this) {
        RegisterPakInterface(nullptr);
    }
}

std::string PakInterface::NormaliseName(std::string_view name) {
    std::string storage;
    name = WithoutCurrentDirectory(name, storage);
    std::string result;
    result.reserve(name.size());
    bool skipSeparator = false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (IsSeparator(c)) {
            if (!skipSeparator && (result.empty() || result.back() != '\\')) {
                result.push_back('\\');
            }
            skipSeparator = false;
            continue;
        }
        skipSeparator = false;
        const bool wholeDotDot = c == '.' && i + 1 < name.size() && name[i + 1] == '.' &&
                                 (i + 2 == name.size() || IsSeparator(name[i + 2]));
        if (wholeDotDot && !result.empty() && result.back() == '\\') {
            result.pop_back();
            const size_t previous = result.find_last_of('\\');
            result.erase(previous == std::string::npos ? 0 : previous + 1);
            skipSeparator = result.empty();
            ++i;
            continue;
        }
        result.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return result;
}

bool PakInterface::MountArchive(const char* fileName) {
    if (fileName == nullptr) {
        return false;
    }
    auto archive = std::make_unique<PakArchive>();
    // Without blocking, as a FIFO in the archive's place would stall the open.
    archive->fd = open(Platform::ResolvePath(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (archive->fd < 0) {
        return false;
    }
    struct stat info;
    if (fstat(archive->fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Platform::DebugOutput("Archive '%s': not a regular file; not mounted\n", fileName);
        return false;
    }
    if (info.st_size <= 0 || info.st_size > INT32_MAX) {
        Platform::DebugOutput("Archive '%s': empty or over 2 GB; not mounted\n", fileName);
        return false;
    }
    archive->size = static_cast<size_t>(info.st_size);
    void* view = mmap(nullptr, archive->size, PROT_READ, MAP_PRIVATE, archive->fd, 0);
    if (view == MAP_FAILED) {
        Platform::DebugOutput("Archive '%s': cannot be mapped; not mounted\n", fileName);
        return false;
    }
    archive->view = static_cast<const uint8_t*>(view);
    PakArchive& mounted = *archive;
    archives_.push_back(std::move(archive));
    return ReadDirectory(mounted, fileName);
}

bool PakInterface::ReadDirectory(PakArchive& archive, const char* fileName) {
    std::vector<PakDirectoryEntry> listed;
    const PakParseResult result = ParsePakDirectory(archive.view, archive.size, listed);
    if (result == PakParseResult::kNotAnArchive) {
        Platform::DebugOutput("Archive '%s': not an archive of this kind\n", fileName);
    } else if (result == PakParseResult::kTruncated) {
        Platform::DebugOutput("Archive '%s': directory truncated, no entries added\n", fileName);
    } else if (result == PakParseResult::kDamaged) {
        Platform::DebugOutput("Archive '%s': entries past the end of the file skipped\n", fileName);
    }
    for (const PakDirectoryEntry& entry : listed) {
        PakRecord record;
        record.archive = &archive;
        record.name = entry.name;
        record.fileTime = entry.fileTime;
        record.offset = static_cast<int32_t>(entry.dataOffset);
        record.size = static_cast<int32_t>(entry.size);
        entries_[UpperCase(record.name)] = std::move(record);
    }
    return !listed.empty();
}

const PakRecord* PakInterface::FindRecord(const char* name) const {
    const auto found = entries_.find(NormaliseName(name));
    return found == entries_.end() ? nullptr : &found->second;
}

PakFile* PakInterface::PakOpen(const wchar_t*, const wchar_t*) {
    return nullptr;
}

PakFile* PakInterface::PakOpen(const char* name, const char* mode) {
    if (name == nullptr || mode == nullptr) {
        return nullptr;
    }
    if (IsReadMode(mode)) {
        if (const PakRecord* record = FindRecord(name)) {
            return new PakFile{*record, 0, nullptr};
        }
    }
    // A folder opens as a stream on Linux and would then report a nonsense size.
    if (IsReadMode(mode) && Platform::DirectoryExists(name)) {
        return nullptr;
    }
    FILE* stream = IsReadMode(mode) ? OpenRegularFileForReading(Platform::ResolvePath(name))
                                    : std::fopen(Platform::ResolvePath(name).c_str(), mode);
    if (stream == nullptr) {
        return nullptr;
    }
    return new PakFile{std::nullopt, 0, stream};
}

int PakInterface::PakClose(PakFile* file) {
    if (file == nullptr) {
        return -1;
    }
    if (file->stream != nullptr) {
        std::fclose(file->stream);
    }
    delete file;
    return 0;
}

int PakInterface::PakSeek(PakFile* file, long offset, int origin) {
    if (file == nullptr) {
        return -1;
    }
    if (!file->record) {
        return std::fseek(file->stream, offset, origin);
    }
    int64_t position = file->position;
    if (origin == SEEK_SET) {
        position = offset;
    } else if (origin == SEEK_CUR) {
        position += offset;
    } else if (origin == SEEK_END) {
        position = static_cast<int64_t>(file->record->size) + offset;
    }
    file->position = static_cast<int32_t>(std::clamp<int64_t>(position, 0, file->record->size));
    return 0;
}

long PakInterface::PakTell(PakFile* file) {
    if (file == nullptr) {
        return -1;
    }
    return !file->record ? std::ftell(file->stream) : file->position;
}

size_t PakInterface::PakRead(void* buffer, size_t elementSize, size_t count, PakFile* file) {
    if (file == nullptr || buffer == nullptr || elementSize == 0) {
        return 0;
    }
    if (!file->record) {
        return std::fread(buffer, elementSize, count, file->stream);
    }
    const size_t left = static_cast<size_t>(file->record->size - file->position);
    const bool overflows = count > SIZE_MAX / elementSize;
    const size_t n = overflows ? left : std::min(elementSize * count, left);
    const uint8_t* source = file->record->archive->view + file->record->offset + file->position;
    auto* destination = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < n; ++i) {
        destination[i] = source[i] ^ kPakScramble;
    }
    file->position += static_cast<int32_t>(n);
    return n / elementSize;
}

int PakInterface::PakGetChar(PakFile* file) {
    if (file == nullptr) {
        return -1;
    }
    if (!file->record) {
        return std::fgetc(file->stream);
    }
    const uint8_t* data = file->record->archive->view + file->record->offset;
    while (file->position < file->record->size) {
        const int c = data[file->position++] ^ kPakScramble;
        if (c != '\r') {
            return c;
        }
    }
    return -1;
}

int PakInterface::PakUngetChar(int character, PakFile* file) {
    if (file == nullptr) {
        return -1;
    }
    if (!file->record) {
        return std::ungetc(character, file->stream);
    }
    file->position = std::max(file->position - 1, 0);
    return character;
}

wchar_t* PakInterface::PakGetWideLine(wchar_t* buffer, int, PakFile*) {
    return buffer;
}

char* PakInterface::PakGetLine(char* buffer, int size, PakFile* file) {
    if (file == nullptr || buffer == nullptr || size <= 0) {
        return nullptr;
    }
    if (!file->record) {
        return std::fgets(buffer, size, file->stream);
    }
    const uint8_t* data = file->record->archive->view + file->record->offset;
    if (file->position >= file->record->size) {
        return nullptr;
    }
    int stored = 0;
    while (stored < size - 1 && file->position < file->record->size) {
        const char c = static_cast<char>(data[file->position++] ^ kPakScramble);
        if (c == '\r') {
            continue;
        }
        buffer[stored++] = c;
        if (c == '\n') {
            break;
        }
    }
    buffer[stored] = '\0';
    return buffer;
}

int PakInterface::PakAtEnd(PakFile* file) {
    if (file == nullptr) {
        return 1;
    }
    if (!file->record) {
        return std::feof(file->stream);
    }
    return file->position >= file->record->size ? 1 : 0;
}

bool PakInterface::SearchArchive(PakFindContext* context, PakFindData* findData) {
    auto entry =
        context->lastKey.empty() ? entries_.begin() : entries_.upper_bound(context->lastKey);
    for (; entry != entries_.end(); ++entry) {
        bool inSubfolder = false;
        if (!ArchivePatternMatches(context->pattern, entry->first, inSubfolder)) {
            continue;
        }
        const PakRecord& record = entry->second;
        *findData = PakFindData{};
        findData->attributes = inSubfolder ? kFileAttributeDirectory : 0;
        findData->creationTime = record.fileTime;
        findData->lastAccessTime = record.fileTime;
        findData->lastWriteTime = record.fileTime;
        findData->sizeLow = static_cast<uint32_t>(record.size);
        CopyName(findData->fileName, FileNamePart(record.name));
        context->lastKey = entry->first;
        context->archiveKeys.insert(entry->first);
        return true;
    }
    return false;
}

bool PakInterface::SearchDisk(PakFindContext* context, PakFindData* findData, bool first) {
    if (first) {
        context->searchingDisk = true;
        context->diskEntries = Platform::FindFiles(context->pattern);
        context->nextDiskEntry = 0;
    }
    const size_t slash = context->pattern.find_last_of('\\');
    const std::string folder =
        slash == std::string::npos ? "" : context->pattern.substr(0, slash + 1);
    while (context->nextDiskEntry < context->diskEntries.size()) {
        const Platform::DirectoryEntry& entry = context->diskEntries[context->nextDiskEntry++];
        if (context->archiveKeys.count(NormaliseName(folder + entry.name)) != 0) {
            continue;
        }
        *findData = PakFindData{};
        findData->attributes = entry.isDirectory ? kFileAttributeDirectory : 0;
        findData->creationTime = entry.lastWriteTime;
        findData->lastAccessTime = entry.lastWriteTime;
        findData->lastWriteTime = entry.lastWriteTime;
        findData->sizeLow = static_cast<uint32_t>(entry.size);
        CopyName(findData->fileName, entry.name);
        return true;
    }
    return false;
}

PakFindContext* PakInterface::PakFindFirst(const char* pattern, PakFindData* findData) {
    if (pattern == nullptr || findData == nullptr) {
        return kInvalidFindHandle;
    }
    auto* context = new PakFindContext;
    context->pattern = NormaliseName(pattern);
    if (SearchArchive(context, findData) || SearchDisk(context, findData, true)) {
        return context;
    }
    delete context;
    return kInvalidFindHandle;
}

bool PakInterface::PakFindNext(PakFindContext* context, PakFindData* findData) {
    if (context == nullptr || findData == nullptr) {
        return false;
    }
    if (context->searchingDisk) {
        return SearchDisk(context, findData, false);
    }
    return SearchArchive(context, findData) || SearchDisk(context, findData, true);
}

bool PakInterface::PakFindClose(PakFindContext* context) {
    delete context;
    return true;
}

bool PakInterface::GetFileTime(const char* name, uint64_t& fileTime) {
    if (name == nullptr) {
        return false;
    }
    if (const PakRecord* record = FindRecord(name)) {
        fileTime = record->fileTime;
        return true;
    }
    Platform::DirectoryEntry info;
    if (!Platform::GetFileInfo(name, info) || info.isDirectory) {
        return false;
    }
    fileTime = info.lastWriteTime;
    return true;
}

}  // namespace Tuvo
