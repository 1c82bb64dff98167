// Reads a whole file through the archive layer for the readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/archive/pak_file.h"

namespace ImageLib {

inline bool ReadFileBytes(const std::string& fileName, std::vector<uint8_t>& contents) {
    return Tuvo::PakReadWholeFile(fileName.c_str(), contents);
}

}  // namespace ImageLib
