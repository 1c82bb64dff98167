// Bounded XML loading through the archive layer.
#include "game/xml_file.h"

#include <cstdio>
#include <vector>

#include "framework/archive/pak_file.h"

namespace Quillory {

bool LoadXmlFile(const char* path, tinyxml2::XMLDocument& document) {
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    Tuvo::PakFile* file = Tuvo::PakFileOpen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    Tuvo::PakFileSeek(file, 0, SEEK_END);
    const long size = Tuvo::PakFileTell(file);
    Tuvo::PakFileSeek(file, 0, SEEK_SET);
    bool ok = size > 0 && size <= kMaxXmlFileBytes;
    std::vector<char> contents;
    if (ok) {
        contents.resize(static_cast<size_t>(size));
        ok = Tuvo::PakFileRead(contents.data(), 1, contents.size(), file) == contents.size();
    }
    Tuvo::PakFileClose(file);
    return ok && document.Parse(contents.data(), contents.size()) == tinyxml2::XML_SUCCESS;
}

}  // namespace Quillory
