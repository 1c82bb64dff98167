// Reading sound files through the archive layer (the archive first, then the disk): WAV, Ogg
// Vorbis and AU, chosen by the file name's extension.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/sound/byte_source.h"
#include "framework/sound/sound_buffer.h"

namespace Tuvo {

// A file opened through the archive layer as a byte source; nullptr when it cannot be opened.
std::unique_ptr<ByteSource> OpenArchiveByteSource(const std::string& fileName);

// The last-write time of a file through the archive layer (what "dep " chunks are checked against).
bool ArchiveFileTime(const char* fileName, uint64_t& fileTime);

bool LoadWavFile(const std::string& fileName, SoundBuffer& out, std::string& error);
bool LoadOggFile(const std::string& fileName, SoundBuffer& out, std::string& error);
bool LoadAuFile(const std::string& fileName, SoundBuffer& out, std::string& error);

// Picks the reader by extension (".wav", ".ogg", ".au", any case); other names fail.
bool LoadSoundFile(const std::string& fileName, SoundBuffer& out, std::string& error);

}  // namespace Tuvo
