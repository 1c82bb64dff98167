// The archive-backed sound file readers of sound_files.h.
#include "framework/sound/sound_files.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/archive/pak_file.h"
#include "framework/sound/au_file.h"
#include "framework/sound/ogg_decoder.h"
#include "framework/sound/wav_file.h"

namespace Tuvo {
namespace {

// A file of the archive layer; the layer's own stream functions do the work.
class ArchiveByteSource : public ByteSource {
public:
    explicit ArchiveByteSource(PakFile* file) : file_(file) {}
    ~ArchiveByteSource() override { PakFileClose(file_); }
    ArchiveByteSource(const ArchiveByteSource&) = delete;
    ArchiveByteSource& operator=(const ArchiveByteSource&) = delete;

    size_t Read(void* buffer, size_t bytes) override {
        return PakFileRead(buffer, 1, bytes, file_);
    }
    bool Seek(int64_t offset, int origin) override {
        return PakFileSeek(file_, static_cast<long>(offset), origin) == 0;
    }
    int64_t Tell() override { return PakFileTell(file_); }

private:
    PakFile* file_;
};

std::string LowerExtension(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t separator = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return "";
    }
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool ReadWhole(const std::string& fileName, std::vector<uint8_t>& bytes, std::string& error) {
    if (!PakReadWholeFile(fileName.c_str(), bytes)) {
        error = "cannot open the file";
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<ByteSource> OpenArchiveByteSource(const std::string& fileName) {
    PakFile* file = PakFileOpen(fileName.c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<ArchiveByteSource>(file);
}

bool ArchiveFileTime(const char* fileName, uint64_t& fileTime) {
    return PakFileTime(fileName, fileTime);
}

bool LoadWavFile(const std::string& fileName, SoundBuffer& out, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadWhole(fileName, bytes, error)) {
        return false;
    }
    return ReadWav(bytes.data(), bytes.size(), ArchiveFileTime, out, error);
}

bool LoadOggFile(const std::string& fileName, SoundBuffer& out, std::string& error) {
    std::unique_ptr<ByteSource> source = OpenArchiveByteSource(fileName);
    if (source == nullptr) {
        error = "cannot open the file";
        return false;
    }
    return DecodeOgg(std::move(source), out, error);
}

bool LoadAuFile(const std::string& fileName, SoundBuffer& out, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadWhole(fileName, bytes, error)) {
        return false;
    }
    return ReadAu(bytes.data(), bytes.size(), out, error);
}

bool LoadSoundFile(const std::string& fileName, SoundBuffer& out, std::string& error) {
    const std::string extension = LowerExtension(fileName);
    if (extension == "wav") {
        return LoadWavFile(fileName, out, error);
    }
    if (extension == "ogg") {
        return LoadOggFile(fileName, out, error);
    }
    if (extension == "au") {
        return LoadAuFile(fileName, out, error);
    }
    error = "unknown sound file type";
    return false;
}

}  // namespace Tuvo
