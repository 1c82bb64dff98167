// The simulator tests' data folders, runs and output lines.
#include "support/sim_world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "sim/simulator.h"
#include "support/game_world.h"

namespace TestSupport {

SimData::SimData() {
    data.Write("classes.xml", ClassesXml(4, 3));
}

void SimData::WriteLevel(int number, const std::map<std::string, std::string>& attributes) {
    data.Write("Levels/level_" + std::to_string(number) + ".xml",
               LevelXml({{"levelTime", "200"},
                         {"shapeClassCount", "3"},
                         {"bonusLevel", "false"},
                         {"lineSpeed", "0.02"},
                         {"fBugAppearanceRange", "1000"},
                         {"lineShapeCount", "7"},
                         {"fBonusAnyShapeP", "0"},
                         {"fBonusBandP", "0"},
                         {"fBonusAreaP", "0"},
                         {"shapeClassList", "c0,c1,c2"}},
                        attributes));
}

QuillorySim::SimOptions SimData::Options(int level) const {
    QuillorySim::SimOptions options;
    options.dataFolder = data.Path();
    options.userFolder = user.Path();
    options.level = level;
    return options;
}

std::string RunSimulator(const QuillorySim::SimOptions& options) {
    std::ostringstream out;
    QuillorySim::Simulator(options, out).Run();
    return out.str();
}

std::string EventLine::operator[](const std::string& key) const {
    const std::string name = "\"" + key + "\":";
    const size_t found = text.find(name);
    if (found == std::string::npos) {
        return "";
    }
    const size_t start = found + name.size();
    if (text.compare(start, 1, "\"") == 0) {
        size_t end = start + 1;
        while (end < text.size() && text[end] != '"') {
            end += text[end] == '\\' ? 2 : 1;
        }
        return text.substr(start + 1, end - start - 1);
    }
    if (text.compare(start, 1, "[") == 0) {
        return text.substr(start, text.find(']', start) + 1 - start);
    }
    return text.substr(start, text.find_first_of(",}", start) - start);
}

double EventLine::Number(const std::string& key) const {
    return std::strtod((*this)[key].c_str(), nullptr);
}

std::vector<EventLine> ReadEvents(const std::string& output) {
    std::vector<EventLine> lines;
    std::istringstream in(output);
    std::string text;
    while (std::getline(in, text)) {
        EXPECT_TRUE(text.starts_with("{\"t\":") && text.ends_with("}")) << text;
        lines.push_back(EventLine{text});
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
