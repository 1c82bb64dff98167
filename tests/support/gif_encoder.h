// A small GIF writer for tests, written independently of the reader: LZW compression with
// code size changes and table resets (or the deferred clear that lets a full table run on),
// global and local colour tables, transparency, interlacing and extension blocks.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

// How the LZW encoder treats a full code table (4096 codes).
enum class GifTableFull { Clear, KeepGoing };

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indices;      // in stored order
    std::vector<uint32_t> localTable;  // 0xRRGGBB; none when empty
    bool interlaced = false;
    int transparent = -1;
    GifTableFull whenFull = GifTableFull::Clear;
    int minimumCodeSize = 8;  // the indices must stay below 2^minimumCodeSize
};

// A whole file: the logical screen, a 256-entry global table of 0xRRGGBB colours (none when
// empty), optional application and comment extensions, then the frames.
std::vector<uint8_t> MakeGif(int screenWidth, int screenHeight,
                             const std::vector<uint32_t>& globalTable,
                             const std::vector<GifFrame>& frames, const char* version = "GIF89a",
                             bool extras = false);

}  // namespace TestSupport
