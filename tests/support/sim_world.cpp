// The simulator tests' data folders and runs.
#include "support/sim_world.h"

#include <cstdlib>
#include <sstream>

#include "sim/simulator.h"

namespace TestSupport {

SimData::SimData(int classes, int shapes) {
    std::ostringstream xml;
    xml << "<Classes>\n  <Level>\n";
    for (int k = 0; k < classes; ++k) {
        xml << "    <ShapeClass name=\"c" << k << "\" soundEvent=\"class_c" << k << "\">\n";
        for (int j = 0; j < shapes; ++j) {
            xml << "      <Shape mainImage=\"Graphics\\Shapes\\c" << k << "_" << j
                << ".png\" maskImage=\"Graphics\\Shapes\\c" << k << "_" << j << "_m.png\"/>\n";
        }
        xml << "    </ShapeClass>\n";
    }
    xml << "  </Level>\n</Classes>\n";
    data.Write("classes.xml", xml.str());
}

void SimData::WriteLevel(int number, const std::map<std::string, std::string>& attributes) {
    std::map<std::string, std::string> all = {
        {"newShapeTime", "3"},           {"levelTime", "200"},
        {"shapeClassCount", "3"},        {"bonusLevel", "false"},
        {"shapeClassList", "c0,c1,c2"},  {"lineSpeed", "0.02"},
        {"fBugAppearanceRange", "1000"}, {"lineShapeCount", "7"},
        {"fBonusAnyShapeP", "0"},        {"fBonusBandP", "0"},
        {"fBonusAreaP", "0"}};
    for (const auto& [name, value] : attributes) {
        all[name] = value;
    }
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\"?>\n<LevelMap";
    for (const auto& [name, value] : all) {
        xml << "\n    " << name << "=\"" << value << "\"";
    }
    xml << " />\n";
    data.Write("Levels/level_" + std::to_string(number) + ".xml", xml.str());
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

}  // namespace TestSupport
