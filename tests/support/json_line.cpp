// A small reader of flat JSON lines, for the simulator's tests.
#include "support/json_line.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace TestSupport {

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool Object(JsonLine& line) {
        if (!Take('{')) {
            return false;
        }
        if (Take('}')) {
            return AtEnd();
        }
        do {
            std::string key;
            std::string value;
            if (!String(key) || !Take(':') || !Value(value) || line.Has(key)) {
                return false;
            }
            line.values[key] = value;
            line.keys.push_back(key);
        } while (Take(','));
        return Take('}') && AtEnd();
    }

private:
    bool AtEnd() const { return pos_ == text_.size(); }
    bool Take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool String(std::string& out) {
        if (!Take('"')) {
            return false;
        }
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c == '\\') {
                if (pos_ >= text_.size()) {
                    return false;
                }
                c = text_[pos_++];
                if (c == 'u') {
                    if (pos_ + 4 > text_.size()) {
                        return false;
                    }
                    c = static_cast<char>(std::strtol(text_.substr(pos_, 4).c_str(), nullptr, 16));
                    pos_ += 4;
                } else if (c != '"' && c != '\\' && c != '/') {
                    return false;
                }
            }
            out += c;
        }
        return Take('"');
    }
    bool Value(std::string& out) {
        if (pos_ >= text_.size()) {
            return false;
        }
        if (text_[pos_] == '"') {
            return String(out);
        }
        if (Take('[')) {
            if (Take(']')) {
                return true;
            }
            do {
                std::string item;
                if (!String(item)) {
                    return false;
                }
                out += (out.empty() ? "" : "|") + item;
            } while (Take(','));
            return Take(']');
        }
        for (const char* word : {"true", "false", "null"}) {
            const std::string literal = word;
            if (text_.compare(pos_, literal.size(), literal) == 0) {
                pos_ += literal.size();
                out = literal;
                return true;
            }
        }
        const size_t start = pos_;
        Take('-');
        while (pos_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
            ++pos_;
        }
        out = text_.substr(start, pos_ - start);
        return !out.empty() && out != "-";
    }

    const std::string& text_;
    size_t pos_ = 0;
};

}  // namespace

double JsonLine::Number(const std::string& key) const {
    return std::strtod(values.at(key).c_str(), nullptr);
}

int JsonLine::Int(const std::string& key) const {
    return static_cast<int>(std::strtol(values.at(key).c_str(), nullptr, 10));
}

bool ParseJsonLine(const std::string& text, JsonLine& line) {
    line = JsonLine{};
    return Reader(text).Object(line);
}

std::vector<JsonLine> ParseJsonLines(const std::string& text) {
    std::vector<JsonLine> lines;
    std::istringstream in(text);
    std::string row;
    while (std::getline(in, row)) {
        JsonLine line;
        EXPECT_TRUE(ParseJsonLine(row, line)) << "not a JSON object: " << row;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace TestSupport
