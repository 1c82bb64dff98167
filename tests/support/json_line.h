// Reads one line of the simulator's output: a flat JSON object whose values are numbers,
// strings, true, false, null or arrays of strings. Strict enough to catch malformed lines.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace TestSupport {

struct JsonLine {
    // Each value as its text: numbers as written, strings unquoted and unescaped, arrays as
    // their strings joined by "|".
    std::map<std::string, std::string> values;
    std::vector<std::string> keys;  // in the order written

    bool Has(const std::string& key) const { return values.count(key) != 0; }
    const std::string& operator[](const std::string& key) const { return values.at(key); }
    double Number(const std::string& key) const;
    int Int(const std::string& key) const;
};

// False when `text` is not one such object.
bool ParseJsonLine(const std::string& text, JsonLine& line);

// Every line of a stream of such objects; a malformed line fails the calling test.
std::vector<JsonLine> ParseJsonLines(const std::string& text);

}  // namespace TestSupport
