// Replacing a file so that a crash leaves either the old or the new contents, never a mix.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

enum class Durability { kNoFlush, kFlushToDisk };

// Writes `contents` to a temporary file beside `path`, flushes it to disk when asked, and renames
// it over `path` (also flushing the folder entry when asked). On any failure the old file is
// untouched, the temporary file is removed, and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view contents, Durability durability);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

}  // namespace Platform
