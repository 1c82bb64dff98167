// The Windows INI rules on an in-memory copy of the file.
#include "platform/ini_document.h"

#include <cctype>
#include <cstring>

namespace Platform {
namespace {

bool IsIniBlank(char c) {
    return (c >= '\t' && c <= '\r') || c == ' ' || c == 0x1A;
}

enum class LineKind { kBlank, kComment, kSection, kKey, kOther };

struct ParsedLine {
    LineKind kind = LineKind::kBlank;
    std::string_view name;   // section or key name
    std::string_view value;  // key value, quotes removed
};

ParsedLine ParseLine(std::string_view raw) {
    ParsedLine parsed;
    const std::string_view text = TrimIniBlanks(raw);
    if (text.empty()) {
        return parsed;
    }
    if (text.front() == ';') {
        parsed.kind = LineKind::kComment;
        return parsed;
    }
    if (text.front() == '[') {
        const size_t close = text.find_last_of(']');
        const size_t end = (close == std::string_view::npos || close == 0) ? text.size() : close;
        parsed.kind = LineKind::kSection;
        parsed.name = TrimIniBlanks(text.substr(1, end - 1));
        return parsed;
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        parsed.kind = LineKind::kOther;
        return parsed;
    }
    parsed.kind = LineKind::kKey;
    parsed.name = TrimIniBlanks(text.substr(0, equals));
    std::string_view value = TrimIniBlanks(text.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    parsed.value = value;
    return parsed;
}

// Names compare without regard to case: looked up by their lowercase form.
std::string Lowered(std::string_view name) {
    std::string lowered(name);
    for (char& c : lowered) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

// "key=value", built by appending (GCC 12 warns wrongly about chained string additions).
std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 1);
    line.append(key).append("=").append(value);
    return line;
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view text) {
    while (!text.empty() && IsIniBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsIniBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

IniDocument::IniDocument(std::string_view text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        Line line;
        line.text = std::string(text.substr(start, end - start));
        if (end < text.size()) {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            line.lineBreak = crlf ? "\r\n" : std::string(1, text[end]);
            end += line.lineBreak.size();
        }
        lines_.push_back(std::move(line));
        start = end;
    }
    Reindex();
}

void IniDocument::Reindex() {
    sectionHeaders_.clear();
    sectionKeys_.clear();
    // Keys of a repeated section's later copies are never found: the first section of a name
    // wins, and a section ends at the next header of any name.
    std::unordered_map<std::string, int>* keys = nullptr;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine parsed = ParseLine(lines_[i].text);
        if (parsed.kind == LineKind::kSection) {
            const int header = static_cast<int>(i);
            const bool first = sectionHeaders_.emplace(Lowered(parsed.name), header).second;
            keys = first ? &sectionKeys_[header] : nullptr;
        } else if (parsed.kind == LineKind::kKey && keys != nullptr) {
            keys->emplace(Lowered(parsed.name), static_cast<int>(i));
        }
    }
}

int IniDocument::FindSection(std::string_view section) const {
    const auto found = sectionHeaders_.find(Lowered(TrimIniBlanks(section)));
    return found == sectionHeaders_.end() ? -1 : found->second;
}

int IniDocument::SectionEnd(int header) const {
    int index = header + 1;
    while (index < static_cast<int>(lines_.size()) &&
           ParseLine(lines_[index].text).kind != LineKind::kSection) {
        ++index;
    }
    return index;
}

int IniDocument::FindKey(int header, std::string_view key) const {
    const auto section = sectionKeys_.find(header);
    if (section == sectionKeys_.end()) {
        return -1;
    }
    const auto found = section->second.find(Lowered(TrimIniBlanks(key)));
    return found == section->second.end() ? -1 : found->second;
}

std::optional<std::string> IniDocument::GetValue(std::string_view section,
                                                 std::string_view key) const {
    const std::optional<std::string_view> value = FindValue(section, key);
    if (!value) {
        return std::nullopt;
    }
    return std::string(*value);
}

std::optional<std::string_view> IniDocument::FindValue(std::string_view section,
                                                       std::string_view key) const {
    const int header = FindSection(section);
    if (header < 0) {
        return std::nullopt;
    }
    const int line = FindKey(header, key);
    if (line < 0) {
        return std::nullopt;
    }
    return ParseLine(lines_[line].text).value;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        const ParsedLine parsed = ParseLine(line.text);
        if (parsed.kind == LineKind::kSection) {
            names.emplace_back(parsed.name);
        }
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const int header = FindSection(section);
    if (header < 0) {
        return names;
    }
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const ParsedLine parsed = ParseLine(lines_[i].text);
        if (parsed.kind == LineKind::kKey) {
            names.emplace_back(parsed.name);
        }
    }
    return names;
}

void IniDocument::InsertLine(int index, std::string text) {
    // The line before the new one must end in a line break.
    if (index > 0 && lines_[index - 1].lineBreak.empty()) {
        lines_[index - 1].lineBreak = "\r\n";
    }
    lines_.insert(lines_.begin() + index, Line{std::move(text), "\r\n"});
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = TrimIniBlanks(section);
    const std::string_view keyName = TrimIniBlanks(key);
    const std::string newLine = KeyLine(keyName, value);
    int header = FindSection(sectionName);
    if (header < 0) {
        std::string header = "[";
        header.append(sectionName).append("]");
        InsertLine(static_cast<int>(lines_.size()), std::move(header));
        InsertLine(static_cast<int>(lines_.size()), newLine);
        Reindex();
        return;
    }
    const int existing = FindKey(header, keyName);
    if (existing >= 0) {
        // Keep the key's own spelling; replace only what follows it.
        const std::string storedName(ParseLine(lines_[existing].text).name);
        lines_[existing].text = KeyLine(storedName, value);
        return;
    }
    int insertAt = header + 1;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (ParseLine(lines_[i].text).kind == LineKind::kKey) {
            insertAt = i + 1;
        }
    }
    InsertLine(insertAt, newLine);
    Reindex();
}

void IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    const int header = FindSection(section);
    if (header < 0) {
        return;
    }
    const int line = FindKey(header, key);
    if (line >= 0) {
        lines_.erase(lines_.begin() + line);
        Reindex();
    }
}

void IniDocument::DeleteSection(std::string_view section) {
    const int header = FindSection(section);
    if (header < 0) {
        return;
    }
    lines_.erase(lines_.begin() + header, lines_.begin() + SectionEnd(header));
    Reindex();
}

std::string IniDocument::ToText() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.lineBreak;
    }
    return text;
}

std::string EncodeProfileStruct(const void* data, uint32_t size) {
    static const char kHex[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::string text;
    text.reserve(size * 2 + 2);
    uint8_t checksum = 0;
    for (uint32_t i = 0; i < size; ++i) {
        text.push_back(kHex[bytes[i] >> 4]);
        text.push_back(kHex[bytes[i] & 15]);
        checksum = static_cast<uint8_t>(checksum + bytes[i]);
    }
    text.push_back(kHex[checksum >> 4]);
    text.push_back(kHex[checksum & 15]);
    return text;
}

bool DecodeProfileStruct(std::string_view text, void* data, uint32_t size) {
    if (text.size() != static_cast<size_t>(size) * 2 + 2) {
        return false;
    }
    std::string decoded(size + 1, '\0');
    for (size_t i = 0; i < decoded.size(); ++i) {
        const int high = HexDigitValue(text[i * 2]);
        const int low = HexDigitValue(text[i * 2 + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        decoded[i] = static_cast<char>(high * 16 + low);
    }
    uint8_t checksum = 0;
    for (uint32_t i = 0; i < size; ++i) {
        checksum = static_cast<uint8_t>(checksum + static_cast<uint8_t>(decoded[i]));
    }
    if (checksum != static_cast<uint8_t>(decoded[size])) {
        return false;
    }
    if (size > 0) {
        std::memcpy(data, decoded.data(), size);
    }
    return true;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace Platform
