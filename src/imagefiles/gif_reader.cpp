// GIF reader with its own LZW decoder: the first image of a GIF87a or GIF89a file, with the
// global or local colour table, the transparent index of a graphic control extension and the
// four-pass interlaced row order.
#include <array>
#include <cstring>
#include <vector>

#include "imagefiles/file_bytes.h"
#include "imagefiles/readers.h"

namespace ImageLib {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

// Reads bytes from the file in memory without ever passing its end.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Has(size_t count) const { return size_ - position_ >= count; }
    bool Read8(uint8_t& value) {
        if (!Has(1)) {
            return false;
        }
        value = data_[position_++];
        return true;
    }
    bool Read16(uint16_t& value) {
        if (!Has(2)) {
            return false;
        }
        value = static_cast<uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
        position_ += 2;
        return true;
    }
    bool ReadBytes(uint8_t* out, size_t count) {
        if (!Has(count)) {
            return false;
        }
        std::memcpy(out, data_ + position_, count);
        position_ += count;
        return true;
    }
    bool Skip(size_t count) {
        if (!Has(count)) {
            return false;
        }
        position_ += count;
        return true;
    }
    // Skips data sub-blocks up to and including the zero-length terminator.
    bool SkipSubBlocks() {
        uint8_t length = 0;
        do {
            if (!Read8(length) || !Skip(length)) {
                return false;
            }
        } while (length != 0);
        return true;
    }
    // Appends the data sub-blocks to out; a missing terminator at the end of the file is
    // accepted (the data read so far is kept).
    void ReadSubBlocks(std::vector<uint8_t>& out) {
        uint8_t length = 0;
        while (Read8(length) && length != 0) {
            const size_t available = std::min<size_t>(length, size_ - position_);
            out.insert(out.end(), data_ + position_, data_ + position_ + available);
            position_ += available;
        }
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

using ColorTable = std::array<uint32_t, 256>;

bool ReadColorTable(ByteReader& reader, int entries, ColorTable& table) {
    table.fill(0xFF000000u);
    for (int i = 0; i < entries; ++i) {
        uint8_t rgb[3];
        if (!reader.ReadBytes(rgb, 3)) {
            return false;
        }
        table[i] = 0xFF000000u | (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
    }
    return true;
}

// Decodes LZW data into at most pixelCount colour indices. Stops at the end code, at the end
// of the data or at a code the table does not hold yet. The output grows with what the data
// holds, so a header that promises a huge frame costs nothing until the codes are there.
// A full table (4096 codes) stays as it is until the next clear code: the deferred clear that
// GIF89a allows.
std::vector<uint8_t> DecodeLzw(const std::vector<uint8_t>& data, int minimumCodeSize,
                               size_t pixelCount) {
    std::vector<uint8_t> indices;
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint8_t, kMaxCodes> suffix{};
    std::array<uint8_t, kMaxCodes> firstByte{};
    std::array<uint8_t, kMaxCodes> stack{};
    for (int code = 0; code < clearCode; ++code) {
        suffix[code] = static_cast<uint8_t>(code);
        firstByte[code] = static_cast<uint8_t>(code);
    }
    int codeBits = minimumCodeSize + 1;
    int nextCode = endCode + 1;
    int previous = -1;
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    size_t dataPosition = 0;

    while (indices.size() < pixelCount) {
        while (bitCount < codeBits) {
            if (dataPosition >= data.size()) {
                return indices;
            }
            bitBuffer |= uint32_t{data[dataPosition++]} << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bitBuffer & ((1u << codeBits) - 1));
        bitBuffer >>= codeBits;
        bitCount -= codeBits;

        if (code == clearCode) {
            codeBits = minimumCodeSize + 1;
            nextCode = endCode + 1;
            previous = -1;
            continue;
        }
        if (code == endCode) {
            return indices;
        }
        if (previous < 0) {
            if (code >= clearCode) {
                return indices;  // the first code after a clear must be a literal
            }
            indices.push_back(static_cast<uint8_t>(code));
            previous = code;
            continue;
        }
        if (code > nextCode || (code == nextCode && nextCode >= kMaxCodes)) {
            return indices;  // a code past the table: the data is damaged
        }
        // The string of the code (or, for the code about to be made, the previous string plus
        // its own first byte), written from its end.
        int depth = 0;
        int walk = code;
        if (code == nextCode) {
            stack[depth++] = firstByte[previous];
            walk = previous;
        }
        while (walk >= clearCode) {
            stack[depth++] = suffix[walk];
            walk = prefix[walk];
        }
        stack[depth++] = static_cast<uint8_t>(walk);
        while (depth > 0 && indices.size() < pixelCount) {
            indices.push_back(stack[--depth]);
        }
        if (nextCode < kMaxCodes) {
            prefix[nextCode] = static_cast<uint16_t>(previous);
            suffix[nextCode] = firstByte[code == nextCode ? previous : code];
            firstByte[nextCode] = firstByte[previous];
            ++nextCode;
            if (nextCode == (1 << codeBits) && codeBits < kMaxCodeBits) {
                ++codeBits;
            }
        }
        previous = code;
    }
    return indices;
}

// Row of the image that the n-th decoded row goes to in the four-pass interlaced order.
int InterlacedRow(int n, int height) {
    const int starts[4] = {0, 4, 2, 1};
    const int steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows =
            starts[pass] < height ? (height - starts[pass] + steps[pass] - 1) / steps[pass] : 0;
        if (n < rows) {
            return starts[pass] + n * steps[pass];
        }
        n -= rows;
    }
    return -1;
}

}  // namespace

std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 6 ||
        (std::memcmp(data, "GIF87", 5) != 0 && std::memcmp(data, "GIF89", 5) != 0)) {
        return nullptr;
    }
    ByteReader reader(data, size);
    reader.Skip(6);
    uint16_t screenWidth = 0;
    uint16_t screenHeight = 0;
    uint8_t screenFlags = 0;
    uint8_t background = 0;
    uint8_t aspect = 0;
    if (!reader.Read16(screenWidth) || !reader.Read16(screenHeight) || !reader.Read8(screenFlags) ||
        !reader.Read8(background) || !reader.Read8(aspect)) {
        return nullptr;
    }
    ColorTable globalTable{};
    const bool hasGlobalTable = (screenFlags & 0x80) != 0;
    if (hasGlobalTable && !ReadColorTable(reader, 2 << (screenFlags & 7), globalTable)) {
        return nullptr;
    }

    int transparentIndex = -1;
    while (true) {
        uint8_t introducer = 0;
        if (!reader.Read8(introducer) || introducer == 0x3B) {
            return nullptr;  // no image before the end
        }
        if (introducer == 0x21) {
            uint8_t label = 0;
            if (!reader.Read8(label)) {
                return nullptr;
            }
            if (label == 0xF9) {
                uint8_t blockSize = 0;
                uint8_t packed = 0;
                uint16_t delay = 0;
                uint8_t index = 0;
                if (!reader.Read8(blockSize) || blockSize < 4 || !reader.Read8(packed) ||
                    !reader.Read16(delay) || !reader.Read8(index) || !reader.Skip(blockSize - 4)) {
                    return nullptr;
                }
                transparentIndex = (packed & 1) != 0 ? index : -1;
            }
            // Comments, application blocks ("NETSCAPE2.0") and the rest of a control block.
            if (!reader.SkipSubBlocks()) {
                return nullptr;
            }
            continue;
        }
        if (introducer != 0x2C) {
            return nullptr;
        }
        break;
    }

    uint16_t left = 0, top = 0, frameWidth = 0, frameHeight = 0;
    uint8_t frameFlags = 0;
    if (!reader.Read16(left) || !reader.Read16(top) || !reader.Read16(frameWidth) ||
        !reader.Read16(frameHeight) || !reader.Read8(frameFlags)) {
        return nullptr;
    }
    ColorTable localTable{};
    const bool hasLocalTable = (frameFlags & 0x80) != 0;
    if (hasLocalTable && !ReadColorTable(reader, 2 << (frameFlags & 7), localTable)) {
        return nullptr;
    }
    if (!hasLocalTable && !hasGlobalTable) {
        return nullptr;
    }
    const ColorTable& table = hasLocalTable ? localTable : globalTable;
    uint8_t minimumCodeSize = 0;
    if (!reader.Read8(minimumCodeSize) || minimumCodeSize < 1 || minimumCodeSize > 8) {
        return nullptr;
    }
    if (frameWidth == 0 || frameHeight == 0 || !SizeAllowed(frameWidth, frameHeight)) {
        return nullptr;
    }
    std::vector<uint8_t> compressed;
    reader.ReadSubBlocks(compressed);

    const std::vector<uint8_t> indices =
        DecodeLzw(compressed, minimumCodeSize, static_cast<size_t>(frameWidth) * frameHeight);
    if (indices.empty()) {
        return nullptr;  // no pixel data at all
    }
    // The picture is the logical screen; a frame reaching past it is cut at its edge.
    std::unique_ptr<Image> image = MakeImage(screenWidth, screenHeight);
    if (image == nullptr) {
        return nullptr;
    }
    const size_t produced = indices.size();
    const bool interlaced = (frameFlags & 0x40) != 0;
    for (size_t n = 0; n < produced; ++n) {
        const int decodedRow = static_cast<int>(n / frameWidth);
        const int column = static_cast<int>(n % frameWidth);
        const int frameRow = interlaced ? InterlacedRow(decodedRow, frameHeight) : decodedRow;
        const int x = left + column;
        const int y = top + frameRow;
        if (frameRow < 0 || x >= screenWidth || y >= screenHeight) {
            continue;
        }
        const uint8_t index = indices[n];
        image->At(x, y) = index == transparentIndex ? 0u : table[index];
    }
    return image;
}

std::unique_ptr<Image> LoadGifImage(const std::string& fileName) {
    std::vector<uint8_t> contents;
    if (!ReadFileBytes(fileName, contents)) {
        return nullptr;
    }
    return DecodeGif(contents.data(), contents.size());
}

}  // namespace ImageLib
