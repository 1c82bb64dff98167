// The one road from a file name to pixels: which formats are tried in what order, and how a
// separate alpha file ("_name" or "name_") is found and merged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "imagefiles/image.h"

namespace ImageLib {

// Tries ".tga", ".jpg", ".png", ".gif", ".j2k", ".jp2" in that order: all of them for a name
// without extension, else only the one its extension names (ignoring case); the first image
// read wins. With lookForAlpha (and auto-load-alpha on), an alpha picture "<folder>_<file>" or
// else "<name>_" gives the alpha of every pixel from its blue channel when it has the same
// size; found alone, it becomes a picture of the alpha compose colour with that alpha.
std::unique_ptr<Image> LoadImageFile(const std::string& fileName, bool lookForAlpha);

// Process-wide settings: auto-load-alpha (default true) and the alpha compose colour
// (RGB, default 0xFFFFFF).
void SetAutoLoadAlpha(bool autoLoad);
bool GetAutoLoadAlpha();
void SetAlphaComposeColor(uint32_t rgb);
uint32_t GetAlphaComposeColor();

// The name split used above: the extension starts at the last "." after the last "\" or "/";
// empty when there is none.
std::string FileExtension(const std::string& fileName);

}  // namespace ImageLib
