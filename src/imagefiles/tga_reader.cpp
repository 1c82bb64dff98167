// TGA reader: only the uncompressed 32-bit kind with 8 alpha bits and a top-left origin.
#include <vector>

#include "imagefiles/file_bytes.h"
#include "imagefiles/readers.h"

namespace ImageLib {

namespace {

constexpr size_t kTgaHeaderSize = 18;
constexpr uint8_t kTgaUncompressedTrueColor = 2;
constexpr uint8_t kTgaTopLeftWithAlpha = 0x28;

struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;
    uint8_t imageType = 0;
    uint16_t colorMapFirst = 0;
    uint16_t colorMapLength = 0;
    uint8_t colorMapEntryBits = 0;
    uint16_t originX = 0;
    uint16_t originY = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;
    uint8_t descriptor = 0;
};

uint16_t Read16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

TgaHeader ReadHeader(const uint8_t* data) {
    TgaHeader header;
    header.idLength = data[0];
    header.colorMapType = data[1];
    header.imageType = data[2];
    header.colorMapFirst = Read16(data + 3);
    header.colorMapLength = Read16(data + 5);
    header.colorMapEntryBits = data[7];
    header.originX = Read16(data + 8);
    header.originY = Read16(data + 10);
    header.width = Read16(data + 12);
    header.height = Read16(data + 14);
    header.pixelDepth = data[16];
    header.descriptor = data[17];
    return header;
}

}  // namespace

std::unique_ptr<Image> DecodeTga(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kTgaHeaderSize) {
        return nullptr;
    }
    const TgaHeader header = ReadHeader(data);
    // Compressed or other depths would be misread as raw 32-bit pixels.
    if (header.imageType != kTgaUncompressedTrueColor || header.pixelDepth != 32 ||
        header.descriptor != kTgaTopLeftWithAlpha) {
        return nullptr;
    }
    // The pixels follow the image ID and any colour map.
    size_t offset = kTgaHeaderSize + header.idLength;
    if (header.colorMapType == 1) {
        offset += (static_cast<size_t>(header.colorMapLength) * header.colorMapEntryBits + 7) / 8;
    }
    const uint64_t pixelBytes = uint64_t{header.width} * header.height * 4;
    if (offset > size || size - offset < pixelBytes) {
        return nullptr;
    }
    std::unique_ptr<Image> image = MakeImage(header.width, header.height);
    if (image == nullptr) {
        return nullptr;
    }
    const uint8_t* in = data + offset;
    for (uint32_t& pixel : image->bits) {
        pixel = static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24);
        in += 4;
    }
    return image;
}

std::unique_ptr<Image> LoadTgaImage(const std::string& fileName) {
    std::vector<uint8_t> contents;
    if (!ReadFileBytes(fileName, contents)) {
        return nullptr;
    }
    return DecodeTga(contents.data(), contents.size());
}

}  // namespace ImageLib
