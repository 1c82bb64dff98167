// Reading and replacing the player's files safely: reads open only regular files, without
// blocking, up to a stated size, and tell a missing file from one that could not be read; writes
// go to a temporary file beside the old one and are renamed over it, so a crash leaves either
// the old or the new contents, never a mix.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Platform {

// The temporary file's name is the file's own name plus this many bytes (".tmp-XXXXXX"), so a
// file name within that much of the file system's limit cannot be written.
constexpr size_t kTemporaryNameSuffix = 11;

enum class Durability { kNoFlush, kFlushToDisk };

// What reading a file found.
enum class ReadStatus {
    kOk,
    kMissing,     // no such file: callers use their defaults and may create it
    kUnreadable,  // it exists but could not be read (permissions, I/O error, a read cut short, not
                  // a regular file, or larger than allowed): never to be overwritten
};

// The largest INI or XML file the game reads (options, scores, saved games, settings store,
// texts, menus).
constexpr size_t kMaxTextFileBytes = size_t{4} << 20;
// Any other whole-file read when the caller states no limit.
constexpr size_t kMaxWholeFileBytes = size_t{256} << 20;

// Reads a whole regular file of at most `maxBytes`. `contents` is empty unless kOk.
ReadStatus ReadRegularFile(const std::string& path, std::string& contents, size_t maxBytes);

// Reads a whole regular file of at most kMaxWholeFileBytes; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents);

// Writes `contents` to a temporary file beside `path`, flushes it to disk when asked, and renames
// it over `path` (also flushing the folder entry when asked). A symbolic link is written through
// (its target is replaced); an existing file keeps its permissions, and one that is not writable
// or not a regular file is refused. On any failure the old file is untouched, the temporary file
// is removed, and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view contents, Durability durability);

// The file that writes to `path` replace: `path` itself, or the end of its chain of symbolic links.
std::string WriteTarget(const std::string& path);

// Removes the temporary files ("<name>.tmp-XXXXXX") that a write killed before its rename left
// in `folder` and its subfolders (the sound cache's among them; links are not followed);
// returns how many were removed. Call it only while holding the folder's lock.
int RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace Platform
