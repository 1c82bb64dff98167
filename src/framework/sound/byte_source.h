// A readable, seekable run of bytes that decoders pull from: a file opened through the archive
// layer in the game, a block of memory in tests and fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tuvo {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `bytes` bytes; returns how many were read (0 at the end).
    virtual size_t Read(void* buffer, size_t bytes) = 0;
    // `origin` is SEEK_SET, SEEK_CUR or SEEK_END; false when the position would be invalid.
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual int64_t Tell() = 0;
};

// Bytes held in memory (a copy, so the source may outlive the caller's buffer).
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const uint8_t* data, size_t size) : bytes_(data, data + size) {}
    explicit MemoryByteSource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t bytes) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override { return static_cast<int64_t>(position_); }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

}  // namespace Tuvo
