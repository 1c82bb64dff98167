// The private-profile functions that the game's INI files go through, with the Windows file format
// and rules. A file name is a bare name ("config.ini"): reads use the user folder's copy when it
// exists, else the data folder's copy through the archive layer; writes always go to the user
// folder, atomically. Parsed files are cached and compared with the disk again only after
// RevalidateProfileFiles, so that looking up a text touches no file. A user file that exists but
// cannot be read serves the defaults and is never overwritten. Safe to call from several threads.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Quillory {

// GetPrivateProfileString: `section` null lists the section names, `key` null lists the keys of the
// section (each name followed by a NUL, then one more NUL). Returns the count of characters stored,
// not counting the terminator.
uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                 char* out, uint32_t outSize, const char* fileName);

// WritePrivateProfileString: null `value` deletes the key, null `key` deletes the section.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName);

bool GetPrivateProfileStruct(const char* section, const char* key, void* data, uint32_t size,
                             const char* fileName);
// Null `data` deletes the key.
bool WritePrivateProfileStruct(const char* section, const char* key, const void* data,
                               uint32_t size, const char* fileName);

uint32_t GetPrivateProfileSectionNames(char* out, uint32_t outSize, const char* fileName);

// Files whose writes are flushed to disk before they replace the old copy (the player's results).
// "saved.ini" and "scores.ini" are durable from the start.
void SetProfileFileDurable(const char* fileName, bool durable);

// Drops every cached parse (tests, or after the user folder changes).
void ClearProfileCache();

// Makes the next access of each file compare its cached parse with the disk again (by size and
// modification time). Called at every screen change; between calls, reads touch no file.
void RevalidateProfileFiles();

// Grows whenever what a look-up returns may have changed (a file parsed, written, revalidated or
// dropped from the cache), so that callers can keep values read before until it moves.
uint64_t ProfileGeneration();

}  // namespace Quillory
