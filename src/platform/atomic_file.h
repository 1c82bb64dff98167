// Replacing a file so that a crash leaves either the old or the new contents, never a mix.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Platform {

// The temporary file's name is the file's own name plus this many bytes (".tmp-XXXXXX"), so a
// file name within that much of the file system's limit cannot be written.
constexpr size_t kTemporaryNameSuffix = 11;

enum class Durability { kNoFlush, kFlushToDisk };

// Writes `contents` to a temporary file beside `path`, flushes it to disk when asked, and renames
// it over `path` (also flushing the folder entry when asked). On any failure the old file is
// untouched, the temporary file is removed, and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view contents, Durability durability);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

}  // namespace Platform
