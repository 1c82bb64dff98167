// What the data tests share: where the shipped data folder is, and the small pieces of text and
// XML reading they do besides the game's own readers.
#pragma once

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/user_folder.h"

namespace DataFiles {

using Element = tinyxml2::XMLElement;

// The shipped data folder, made absolute before any test changes the current directory
// (QUILLORY_SOURCE_DIR overrides the source tree built in).
inline std::string DataFolder() {
    static const std::string folder = [] {
        const char* source = std::getenv("QUILLORY_SOURCE_DIR");
        const std::string path = source ? std::string(source) + "/data" : QUILLORY_DATA_FOLDER;
        return std::filesystem::absolute(path).string();
    }();
    return folder;
}

// Each test reads the data folder as the game does: from its current directory, with a fresh
// user folder, so a stray user copy of an INI file cannot stand in for the shipped one.
class InDataFolder : public ::testing::Test {
protected:
    TestSupport::TestUserFolder user_;
    TestSupport::ScopedCurrentDirectory inData_{DataFolder()};
};

// The parts of a text between separators, empty ones included.
inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The blank-separated words of a text.
inline std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

// The child elements of the blank-separated kinds, kind by kind; for "Screen", the element itself.
inline std::vector<const Element*> Children(const Element* parent, const std::string& kinds) {
    std::vector<const Element*> out;
    for (const std::string& kind : Words(kinds)) {
        if (kind == "Screen") {
            out.push_back(parent);
            continue;
        }
        for (const Element* e = parent ? parent->FirstChildElement(kind.c_str()) : nullptr; e;
             e = e->NextSiblingElement(kind.c_str())) {
            out.push_back(e);
        }
    }
    return out;
}

inline std::string Attr(const Element* e, const char* name) {
    const char* value = e->Attribute(name);
    return value ? value : "";
}

// The shape classes of "classes.xml", parsed once, in catalogue order.
inline const std::vector<const Element*>& Catalogue() {
    static tinyxml2::XMLDocument document;
    static const std::vector<const Element*> classes = [] {
        document.LoadFile((DataFolder() + "/classes.xml").c_str());
        const Element* root = document.RootElement();
        return Children(root ? root->FirstChildElement("Level") : nullptr, "ShapeClass");
    }();
    return classes;
}

}  // namespace DataFiles
