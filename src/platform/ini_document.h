// One INI file in memory, read and edited with the rules of the Windows profile functions:
// case-insensitive names, trimmed lines, quoted values, ';' comments, first section and first key
// of a name win, and edits that leave every other line exactly as it was (CR LF for new lines).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Platform {

class IniDocument {
public:
    IniDocument() = default;
    // Parses a file's text; line breaks may be CR LF, LF or CR.
    explicit IniDocument(std::string_view text);

    // The value of a key, or nothing when the section or key is absent. An empty value ("key=")
    // is present and empty.
    std::optional<std::string> GetValue(std::string_view section, std::string_view key) const;
    // The same without a copy: the view lasts until the document is next edited or destroyed.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;
    std::vector<std::string> SectionNames() const;
    // Key names of the first section of that name (empty when absent).
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Sets a value, creating the section and key when missing.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Deletes the first key of that name in the section (the header stays).
    void DeleteKey(std::string_view section, std::string_view key);
    // Deletes the first section of that name with all its lines.
    void DeleteSection(std::string_view section);

    // The whole file's text.
    std::string ToText() const;

private:
    struct Line {
        std::string text;       // without its line break
        std::string lineBreak;  // "\r\n", "\n", "\r" or "" (last line)
    };
    // Index of the first section header of that name, or -1.
    int FindSection(std::string_view section) const;
    // Index of the first key line of that name inside the section starting at header, or -1.
    int FindKey(int header, std::string_view key) const;
    // One past the last line that belongs to the section starting at header.
    int SectionEnd(int header) const;
    void InsertLine(int index, std::string text);
    // Rebuilds the look-up tables from the lines (after parsing and after every edit).
    void Reindex();

    std::vector<Line> lines_;
    // Texts are looked up many times a frame: the first header of each section name, and the
    // first key line of each name in it, both by lowercase name.
    std::unordered_map<std::string, int> sectionHeaders_;
    std::unordered_map<int, std::unordered_map<std::string, int>> sectionKeys_;
};

// Trims the INI blanks (tab through carriage return, space, 0x1A) from both ends.
std::string_view TrimIniBlanks(std::string_view text);

// Struct values: two uppercase hex digits per byte, then the byte sum modulo 256 the same way.
std::string EncodeProfileStruct(const void* data, uint32_t size);
// True when `text` is exactly 2 x size + 2 hex digits (either case) with a matching checksum;
// only then is `data` written.
bool DecodeProfileStruct(std::string_view text, void* data, uint32_t size);
// The value of one hex digit of either case, or -1.
int HexDigitValue(char c);

}  // namespace Platform
