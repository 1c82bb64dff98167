// The test GIF writer.
#include "support/gif_encoder.h"

#include <algorithm>
#include <map>
#include <string>

namespace TestSupport {

namespace {

void Put16(std::vector<uint8_t>& bytes, int value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutSubBlocks(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& data) {
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t length = std::min<size_t>(255, data.size() - i);
        bytes.push_back(static_cast<uint8_t>(length));
        bytes.insert(bytes.end(), data.begin() + i, data.begin() + i + length);
    }
    bytes.push_back(0);
}

// 0xRRGGBB colours into a table of 256 entries.
void PutTable(std::vector<uint8_t>& bytes, const std::vector<uint32_t>& colors) {
    for (size_t i = 0; i < 256; ++i) {
        const uint32_t color = i < colors.size() ? colors[i] : 0;
        bytes.insert(bytes.end(), {static_cast<uint8_t>(color >> 16),
                                   static_cast<uint8_t>(color >> 8), static_cast<uint8_t>(color)});
    }
}

// Compresses colour indices with the given minimum code size.
std::vector<uint8_t> GifLzwEncode(const std::vector<uint8_t>& indices, int minimumCodeSize,
                                  GifTableFull whenFull) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int bitCount = 0;
    int codeBits = minimumCodeSize + 1;
    auto emit = [&](int code) {
        bits |= static_cast<uint32_t>(code) << bitCount;
        bitCount += codeBits;
        while (bitCount >= 8) {
            out.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    int next = end + 1;
    std::map<std::pair<int, int>, int> table;
    emit(clear);
    int prefix = indices.empty() ? -1 : indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const int k = indices[i];
        auto found = table.find({prefix, k});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        if (next < 4096) {
            table[{prefix, k}] = next++;
            if (next - 1 == (1 << codeBits) && codeBits < 12) {
                ++codeBits;
            }
        }
        if (next == 4096 && whenFull == GifTableFull::Clear) {
            emit(clear);
            table.clear();
            next = end + 1;
            codeBits = minimumCodeSize + 1;
        }
        prefix = k;
    }
    if (prefix >= 0) {
        emit(prefix);
    }
    emit(end);
    if (bitCount > 0) {
        out.push_back(static_cast<uint8_t>(bits));
    }
    return out;
}

}  // namespace

std::vector<uint8_t> MakeGif(int screenWidth, int screenHeight,
                             const std::vector<uint32_t>& globalTable,
                             const std::vector<GifFrame>& frames, const char* version,
                             bool extras) {
    std::vector<uint8_t> bytes(version, version + 6);
    Put16(bytes, screenWidth);
    Put16(bytes, screenHeight);
    // A 256-entry table when present; background colour and aspect ratio 0.
    bytes.insert(bytes.end(), {static_cast<uint8_t>(globalTable.empty() ? 0x00 : 0x87), 0, 0});
    if (!globalTable.empty()) {
        PutTable(bytes, globalTable);
    }
    if (extras) {
        const std::string loop = "NETSCAPE2.0";
        bytes.insert(bytes.end(), {0x21, 0xFF, 11});
        bytes.insert(bytes.end(), loop.begin(), loop.end());
        bytes.insert(bytes.end(), {3, 1, 0, 0, 0});
        bytes.insert(bytes.end(), {0x21, 0xFE, 5, 'h', 'e', 'l', 'l', 'o', 0});
    }
    for (const GifFrame& frame : frames) {
        if (frame.transparent >= 0) {
            bytes.insert(bytes.end(),
                         {0x21, 0xF9, 4, 0x01, 10, 0, static_cast<uint8_t>(frame.transparent), 0});
        }
        bytes.push_back(0x2C);
        for (const int value : {frame.left, frame.top, frame.width, frame.height}) {
            Put16(bytes, value);
        }
        const bool local = !frame.localTable.empty();
        bytes.push_back(
            static_cast<uint8_t>((frame.interlaced ? 0x40 : 0x00) | (local ? 0x87 : 0)));
        if (local) {
            PutTable(bytes, frame.localTable);
        }
        bytes.push_back(static_cast<uint8_t>(frame.minimumCodeSize));
        PutSubBlocks(bytes, GifLzwEncode(frame.indices, frame.minimumCodeSize, frame.whenFull));
    }
    bytes.push_back(0x3B);
    return bytes;
}

}  // namespace TestSupport
