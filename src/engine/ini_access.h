// Options in "config.ini", texts of the current language in "language.ini", and binary blocks in
// any INI file. Values are at most 254 characters.
#pragma once

#include <cstdint>

namespace Quillory {

constexpr int kConfigValueSize = 255;  // buffer size of a value, terminator included

bool ReadConfigString(const char* section, const char* key, char* out);  // out: 255 characters
bool WriteConfigString(const char* section, const char* key, const char* value);
bool ReadConfigFloat(const char* section, const char* key, float* out);
bool ReadConfigInt(const char* section, const char* key, int* out);
bool WriteConfigInt(const char* section, const char* key, int value);
bool ReadProfileStruct(const char* section, const char* key, void* buffer, int size,
                       const char* fileName);
bool WriteProfileStruct(const char* section, const char* key, const void* buffer, int size,
                        const char* fileName);

// The language section used by GetLanguageString ("ENGLISH").
void SetLanguageName(const char* name);
const char* LanguageName();
// Grows whenever a language value may have changed (the language set, the language file read
// again), so that values read from it can be kept until it moves.
uint64_t LanguageGeneration();

// The translation of `key` in the current language, or "". The result lives in a per-thread buffer
// until this thread's next look-up.
const char* GetLanguageString(const char* key);

}  // namespace Quillory
