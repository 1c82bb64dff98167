// The file functions every loader calls. They use the registered archive layer, or the plain
// disk (through the case-insensitive path resolver) while none is registered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/archive/pak_interface.h"
#include "platform/atomic_file.h"

namespace Tuvo {

// Registers the process-wide layer; the first PakInterface constructed calls it. nullptr removes
// the registration (the layer's destructor does that for itself).
void RegisterPakInterface(PakInterface* layer);
PakInterface* RegisteredPakInterface();

PakFile* PakFileOpen(const char* name, const char* mode);
int PakFileClose(PakFile* file);
int PakFileSeek(PakFile* file, long offset, int origin);
long PakFileTell(PakFile* file);
size_t PakFileRead(void* buffer, size_t elementSize, size_t count, PakFile* file);
int PakFileGetChar(PakFile* file);
int PakFileUngetChar(int character, PakFile* file);
char* PakFileGetLine(char* buffer, int size, PakFile* file);
int PakFileAtEnd(PakFile* file);
PakFindContext* PakFindFirstFile(const char* pattern, PakFindData* findData);
bool PakFindNextFile(PakFindContext* context, PakFindData* findData);
bool PakFindCloseFile(PakFindContext* context);

// Last-write time (Windows file time) of a file in the archive or on disk; false when missing.
bool PakFileTime(const char* name, uint64_t& fileTime);

// Reads a whole file through the layer; false (and an empty buffer) when it cannot be opened or
// is larger than `maxBytes` (logged), so that a huge file cannot exhaust the memory.
bool PakReadWholeFile(const char* name, std::vector<uint8_t>& contents,
                      size_t maxBytes = Platform::kMaxWholeFileBytes);

}  // namespace Tuvo
