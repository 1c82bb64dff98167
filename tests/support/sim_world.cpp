// The simulator tests' data folders, runs and output lines.
#include "support/sim_world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "sim/simulator.h"

namespace TestSupport {

namespace {

// Reads the simulator's flat objects: string keys, and values that are strings, arrays of
// strings or bare words (numbers, true, false, null).
class LineReader {
public:
    explicit LineReader(const std::string& text) : text_(text) {}

    bool Object(EventLine& line) {
        if (!Take('{')) {
            return false;
        }
        do {
            std::string key;
            std::string value;
            if (!String(key) || !Take(':') || !Value(value)) {
                return false;
            }
            line.fields.emplace_back(key, value);
        } while (Take(','));
        return Take('}') && pos_ == text_.size();
    }

private:
    bool Take(char c) {
        const bool found = pos_ < text_.size() && text_[pos_] == c;
        pos_ += found ? 1 : 0;
        return found;
    }
    // A string; `out` gets it unquoted (escapes kept as written).
    bool String(std::string& out) {
        if (!Take('"')) {
            return false;
        }
        for (; pos_ < text_.size() && text_[pos_] != '"'; ++pos_) {
            if (static_cast<unsigned char>(text_[pos_]) < 0x20) {
                return false;
            }
            if (text_[pos_] == '\\') {
                out += text_[pos_++];
            }
            out += text_[pos_];
        }
        return Take('"');
    }
    bool Value(std::string& out) {
        const size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            return String(out);
        }
        if (Take('[')) {
            std::string item;
            while (!Take(']')) {
                if (!String(item) || (!Take(',') && (pos_ >= text_.size() || text_[pos_] != ']'))) {
                    return false;
                }
            }
            out = text_.substr(start, pos_ - start);
            return true;
        }
        while (pos_ < text_.size() &&
               std::strchr("-0123456789.abcdefghijklmnopqrstuvwxyz", text_[pos_]) != nullptr) {
            ++pos_;
        }
        out = text_.substr(start, pos_ - start);
        return !out.empty();
    }

    const std::string& text_;
    size_t pos_ = 0;
};

}  // namespace

SimData::SimData() {
    std::ostringstream xml;
    xml << "<Classes>\n  <Level>\n";
    for (int k = 0; k < 4; ++k) {
        xml << "    <ShapeClass name=\"c" << k << "\" soundEvent=\"class_c" << k << "\">\n";
        for (int j = 0; j < 3; ++j) {
            xml << "      <Shape mainImage=\"Graphics\\c" << k << "_" << j
                << ".png\" maskImage=\"Graphics\\c" << k << "_" << j << "_m.png\"/>\n";
        }
        xml << "    </ShapeClass>\n";
    }
    xml << "  </Level>\n</Classes>\n";
    data.Write("classes.xml", xml.str());
}

void SimData::WriteLevel(int number, const std::map<std::string, std::string>& attributes) {
    std::map<std::string, std::string> all = {{"levelTime", "200"},
                                              {"shapeClassCount", "3"},
                                              {"bonusLevel", "false"},
                                              {"lineSpeed", "0.02"},
                                              {"fBugAppearanceRange", "1000"},
                                              {"lineShapeCount", "7"},
                                              {"fBonusAnyShapeP", "0"},
                                              {"fBonusBandP", "0"},
                                              {"fBonusAreaP", "0"},
                                              {"shapeClassList", "c0,c1,c2"}};
    for (const auto& [name, value] : attributes) {
        all[name] = value;
    }
    std::string xml = "<?xml version=\"1.0\"?>\n<LevelMap";
    for (const auto& [name, value] : all) {
        xml += " " + name + "=\"" + value + "\"";
    }
    data.Write("Levels/level_" + std::to_string(number) + ".xml", xml + " />\n");
}

QuillorySim::SimOptions SimData::Options(int level) const {
    QuillorySim::SimOptions options;
    options.dataFolder = data.Path();
    options.userFolder = user.Path();
    options.level = level;
    return options;
}

std::string GameDataFolder() {
    const char* source = std::getenv("QUILLORY_SOURCE_DIR");
    return std::string(source != nullptr ? source : QUILLORY_SOURCE_FALLBACK) + "/data";
}

std::string RunSimulator(const QuillorySim::SimOptions& options, int* status) {
    std::ostringstream out;
    QuillorySim::Simulator simulator(options, out);
    const int result = simulator.Run();
    if (status != nullptr) {
        *status = result;
    }
    return out.str();
}

std::string EventLine::operator[](const std::string& key) const {
    for (const auto& [name, value] : fields) {
        if (name == key) {
            return value;
        }
    }
    return "";
}

double EventLine::Number(const std::string& key) const {
    return std::strtod((*this)[key].c_str(), nullptr);
}

std::vector<EventLine> ReadEvents(const std::string& output) {
    std::vector<EventLine> lines;
    std::istringstream in(output);
    std::string text;
    while (std::getline(in, text)) {
        EventLine line;
        EXPECT_TRUE(LineReader(text).Object(line)) << "not a flat JSON object: " << text;
        lines.push_back(line);
    }
    return lines;
}

std::vector<EventLine> OfKind(const std::vector<EventLine>& lines, const std::string& event) {
    std::vector<EventLine> found;
    for (const EventLine& line : lines) {
        if (line["event"] == event) {
            found.push_back(line);
        }
    }
    return found;
}

}  // namespace TestSupport
