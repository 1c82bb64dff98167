// Loading an XML file of the game's data (classes, levels) through the archive layer, within a
// size budget, so that a huge or damaged file is refused instead of filling memory.
#pragma once

#include <tinyxml2.h>

namespace Quillory {

constexpr long kMaxXmlFileBytes = 1 << 20;  // a level or class file is a few kilobytes

// False when the file is missing, not a regular file, larger than the budget or not XML.
bool LoadXmlFile(const char* path, tinyxml2::XMLDocument& document);

}  // namespace Quillory
