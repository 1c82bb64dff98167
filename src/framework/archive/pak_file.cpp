// The loaders' file functions, routed through the registered archive layer.
#include "framework/archive/pak_file.h"

#include <atomic>

#include "platform/debug_output.h"

namespace Tuvo {
namespace {

std::atomic<PakInterface*> gRegisteredLayer{nullptr};

// Serves plain disk files while no layer is registered.
PakInterface& Layer() {
    if (PakInterface* layer = gRegisteredLayer.load()) {
        return *layer;
    }
    static PakInterface diskOnly(false);
    return diskOnly;
}

}  // namespace

void RegisterPakInterface(PakInterface* layer) {
    gRegisteredLayer.store(layer);
}

PakInterface* RegisteredPakInterface() {
    return gRegisteredLayer.load();
}

PakFile* PakFileOpen(const char* name, const char* mode) {
    return Layer().PakOpen(name, mode);
}

int PakFileClose(PakFile* file) {
    return Layer().PakClose(file);
}

int PakFileSeek(PakFile* file, long offset, int origin) {
    return Layer().PakSeek(file, offset, origin);
}

long PakFileTell(PakFile* file) {
    return Layer().PakTell(file);
}

size_t PakFileRead(void* buffer, size_t elementSize, size_t count, PakFile* file) {
    return Layer().PakRead(buffer, elementSize, count, file);
}

int PakFileGetChar(PakFile* file) {
    return Layer().PakGetChar(file);
}

int PakFileUngetChar(int character, PakFile* file) {
    return Layer().PakUngetChar(character, file);
}

char* PakFileGetLine(char* buffer, int size, PakFile* file) {
    return Layer().PakGetLine(buffer, size, file);
}

int PakFileAtEnd(PakFile* file) {
    return Layer().PakAtEnd(file);
}

PakFindContext* PakFindFirstFile(const char* pattern, PakFindData* findData) {
    return Layer().PakFindFirst(pattern, findData);
}

bool PakFindNextFile(PakFindContext* context, PakFindData* findData) {
    return Layer().PakFindNext(context, findData);
}

bool PakFindCloseFile(PakFindContext* context) {
    return Layer().PakFindClose(context);
}

bool PakFileTime(const char* name, uint64_t& fileTime) {
    return Layer().GetFileTime(name, fileTime);
}

bool PakReadWholeFile(const char* name, std::vector<uint8_t>& contents, size_t maxBytes) {
    contents.clear();
    PakFile* file = PakFileOpen(name, "rb");
    if (file == nullptr) {
        return false;
    }
    PakFileSeek(file, 0, SEEK_END);
    const long size = PakFileTell(file);
    PakFileSeek(file, 0, SEEK_SET);
    bool ok = size >= 0;
    if (ok && static_cast<unsigned long>(size) > maxBytes) {
        Platform::DebugOutput("'%s' is larger than the %zu bytes allowed; not read\n", name,
                              maxBytes);
        ok = false;
    }
    if (ok) {
        contents.resize(static_cast<size_t>(size));
        ok = PakFileRead(contents.data(), 1, contents.size(), file) == contents.size();
    }
    PakFileClose(file);
    if (!ok) {
        contents.clear();
    }
    return ok;
}

}  // namespace Tuvo
