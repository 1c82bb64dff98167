// The archive file layer: serves every file request from the packed archive ("main.pak") when it
// holds the file, and from the disk otherwise, with the shape of the standard stream functions.
//
// Archive format (every byte stored XOR 0xA3; little-endian): magic 0xBAC04AC0, version 0, then
// directory entries (flags byte; bit 0x80 ends the directory; name length, name, size, 8-byte
// Windows file time), then the files' data back to back in directory order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Tuvo {

constexpr uint32_t kPakMagic = 0xBAC04AC0;
constexpr uint32_t kPakVersion = 0;
constexpr uint8_t kPakScramble = 0xA3;
constexpr uint8_t kPakEndOfDirectory = 0x80;
constexpr uint32_t kFileAttributeDirectory = 16;

// What a search reports for one match (the fields of the Windows find data that callers use).
struct PakFindData {
    uint32_t attributes = 0;
    uint64_t creationTime = 0;  // Windows file times
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    uint32_t sizeLow = 0;
    char fileName[260] = {};
};

struct PakArchive;

struct PakRecord {
    PakArchive* archive = nullptr;
    std::string name;  // as stored, in its own case
    uint64_t fileTime = 0;
    int32_t offset = 0;  // absolute data offset within the archive file
    int32_t size = 0;
};

// An open file: an archive entry (record set) or a disk stream. The handle keeps its own copy
// of the entry, so a later mount that replaces the entry in the table cannot change the size
// or the data under an open file (archives stay mapped until the layer goes).
struct PakFile {
    std::optional<PakRecord> record;
    int32_t position = 0;
    FILE* stream = nullptr;
};

struct PakFindContext;
constexpr PakFindContext* kInvalidFindHandle = nullptr;

class PakInterfaceBase {
public:
    virtual ~PakInterfaceBase() = default;
    virtual PakFile* PakOpen(const wchar_t* name, const wchar_t* mode) = 0;
    virtual PakFile* PakOpen(const char* name, const char* mode) = 0;
    virtual int PakClose(PakFile* file) = 0;
    virtual int PakSeek(PakFile* file, long offset, int origin) = 0;
    virtual long PakTell(PakFile* file) = 0;
    virtual size_t PakRead(void* buffer, size_t elementSize, size_t count, PakFile* file) = 0;
    virtual int PakGetChar(PakFile* file) = 0;
    virtual int PakUngetChar(int character, PakFile* file) = 0;
    virtual wchar_t* PakGetWideLine(wchar_t* buffer, int size, PakFile* file) = 0;
    virtual char* PakGetLine(char* buffer, int size, PakFile* file) = 0;
    virtual int PakAtEnd(PakFile* file) = 0;
    virtual PakFindContext* PakFindFirst(const char* pattern, PakFindData* findData) = 0;
    virtual bool PakFindNext(PakFindContext* context, PakFindData* findData) = 0;
    virtual bool PakFindClose(PakFindContext* context) = 0;
};

class PakInterface : public PakInterfaceBase {
public:
    // The first layer constructed registers itself process-wide (see pak_file.h) unless asked not
    // to; an unregistered layer with no archive serves plain disk files.
    explicit PakInterface(bool registerProcessWide = true);
    ~PakInterface() override;
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // Maps an archive and adds its entries; false when nothing was added. A damaged directory
    // adds only the entries that lie wholly inside the file.
    bool MountArchive(const char* fileName);

    PakFile* PakOpen(const wchar_t* name, const wchar_t* mode) override;
    PakFile* PakOpen(const char* name, const char* mode) override;
    int PakClose(PakFile* file) override;
    int PakSeek(PakFile* file, long offset, int origin) override;
    long PakTell(PakFile* file) override;
    size_t PakRead(void* buffer, size_t elementSize, size_t count, PakFile* file) override;
    int PakGetChar(PakFile* file) override;
    int PakUngetChar(int character, PakFile* file) override;
    wchar_t* PakGetWideLine(wchar_t* buffer, int size, PakFile* file) override;
    char* PakGetLine(char* buffer, int size, PakFile* file) override;
    int PakAtEnd(PakFile* file) override;
    PakFindContext* PakFindFirst(const char* pattern, PakFindData* findData) override;
    bool PakFindNext(PakFindContext* context, PakFindData* findData) override;
    bool PakFindClose(PakFindContext* context) override;

    // Last-write time (Windows file time) of an archive entry or, failing that, a disk file.
    bool GetFileTime(const char* name, uint64_t& fileTime);
    // Number of entries in the table.
    size_t EntryCount() const { return entries_.size(); }

    // Name normalisation shared by opening and searching: upper case, one backslash per run of
    // separators, ".." after a separator removing the component before it.
    static std::string NormaliseName(std::string_view name);

private:
    const PakRecord* FindRecord(const char* name) const;
    bool SearchArchive(PakFindContext* context, PakFindData* findData);
    bool SearchDisk(PakFindContext* context, PakFindData* findData, bool first);

    bool ReadDirectory(PakArchive& archive, const char* fileName);

    std::vector<std::unique_ptr<PakArchive>> archives_;
    std::map<std::string, PakRecord> entries_;
};

}  // namespace Tuvo
