// The headless world of the game-rules tests.
#include "support/game_world.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <utility>

#include "support/program_run.h"

namespace TestSupport {

using namespace Quillory;

Tuvo::Image* FakeTextures::GetTexture(const char* fileName) {
    const std::string name = fileName != nullptr ? fileName : "";
    auto found = std::find(names_.begin(), names_.end(), name);
    if (found == names_.end()) {
        found = names_.insert(found, name);
    }
    return reinterpret_cast<Tuvo::Image*>(found - names_.begin() + 1);
}

std::string FakeTextures::NameOf(const Tuvo::Image* image) const {
    const size_t index = reinterpret_cast<size_t>(image);
    return index >= 1 && index <= names_.size() ? names_[index - 1] : "";
}

void RecordingEvents::Add(const char* format, ...) {
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof(line), format, arguments);
    va_end(arguments);
    lines.emplace_back(line);
}

std::vector<std::string> RecordingEvents::Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return found;
}

std::string ClassesXml(int count, int shapes) {
    std::ostringstream xml;
    xml << "<Classes>\n  <Level>\n";
    for (int k = 0; k < count; ++k) {
        xml << "    <ShapeClass name=\"c" << k << "\" soundEvent=\"class_c" << k << "\">\n";
        for (int j = 0; j < shapes; ++j) {
            xml << "      <Shape mainImage=\"Graphics\\Shapes\\c" << k << "_" << j
                << ".png\" maskImage=\"Graphics\\Shapes\\c" << k << "_" << j << "_mask.png\"/>\n";
        }
        xml << "    </ShapeClass>\n";
    }
    xml << "  </Level>\n</Classes>\n";
    return xml.str();
}

std::string LevelXml(const std::map<std::string, std::string>& changes,
                     const std::map<std::string, std::string>& attributes) {
    std::map<std::string, std::string> level = {
        {"shapeClassCount", "3"},       {"bonusLevel", "false"},
        {"shapeClassList", "c0,c1,c2"}, {"fBugAppearanceRange", "1000"},
        {"lineShapeCount", "7"},        {"fBonusAnyShapeP", "0"},
        {"fBonusBandP", "0"},           {"fBonusAreaP", "0"}};
    for (const auto* overrides : {&changes, &attributes}) {
        for (const auto& [name, value] : *overrides) {
            level[name] = value;
        }
    }
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\"?>\n<LevelMap";
    for (const auto& [name, value] : level) {
        if (value != "<absent>") {
            xml << "\n    " << name << "=\"" << value << "\"";
        }
    }
    xml << " />\n";
    return xml.str();
}

GameWorld::GameWorld(uint32_t seed)
    : rulesRandom(seed), cosmeticRandom(seed + 1000), inData_(data.Path()) {
    user.StartLog();
    effects = std::make_unique<CEffect2d>(clock, cosmeticRandom, &sounds);
    // The game's own menus: the rules read their control places and enable the map's stages.
    const char* source = std::getenv("QUILLORY_SOURCE_DIR");
    const std::string menus =
        std::string(source != nullptr ? source : QUILLORY_SOURCE_FOLDER) + "/data/Menu/";
    for (auto [menu, file] :
         {std::pair{&mainMenu, "menu-main.xml"}, std::pair{&inGameMenu, "menu-ingame.xml"},
          std::pair{&mapMenu, "menu-map.xml"}}) {
        const std::string xml = ReadWholeFile(menus + file);
        EXPECT_EQ(menu->LoadFromMemory(file, xml.data(), xml.size()), 1) << file;
    }
}

void GameWorld::WriteClasses(int count, int shapes) {
    data.Write("classes.xml", ClassesXml(count, shapes));
}

void GameWorld::WriteLevel(int number, const std::map<std::string, std::string>& attributes) {
    data.Write(
        "Levels/level_" + std::to_string(number) + ".xml",
        LevelXml({{"newShapeTime", "3"}, {"levelTime", "100"}, {"lineSpeed", "0.03"}}, attributes));
}

CQuilloryGame& GameWorld::CreateGame() {
    game = std::make_unique<CQuilloryGame>(GameServices{.clock = &clock,
                                                        .pointer = &pointer,
                                                        .rulesRandom = &rulesRandom,
                                                        .cosmeticRandom = &cosmeticRandom,
                                                        .sounds = &sounds,
                                                        .textures = &textures,
                                                        .effects = effects.get(),
                                                        .menus = &menus,
                                                        .events = &events});
    game->LoadClasses("classes.xml");
    game->SetGameState(STATE_MAIN_MENU);
    return *game;
}

void GameWorld::Step(int ms) {
    clock.Advance(static_cast<uint32_t>(ms));
    game->AdvanceFrame(static_cast<float>(ms) / 10.0f);
}

void GameWorld::RunSeconds(float seconds) {
    for (int i = 0; i < static_cast<int>(seconds * 100.0f + 0.5f); ++i) {
        Step();
    }
}

void GameWorld::StartPlaying(int level, int mode) {
    game->SetMode(mode);
    game->EditState().levelNumber = level;
    game->StartLevel();
    RunUntil([&] { return game->State().phase == PHASE_PLAYING; }, 10);
}

void GameWorld::StartStillLevel(std::map<std::string, std::string> attributes) {
    attributes.try_emplace("lineSpeed", "0");
    WriteClasses(4, 1);
    WriteLevel(2, attributes);
    CreateGame();
    StartPlaying(2);
}

void GameWorld::Press(float x, float y) {
    pointer.state = {.x = x, .y = y, .left = true, .right = pointer.state.right};
    Step();
}

void GameWorld::Release(float x, float y) {
    pointer.state = {.x = x, .y = y, .left = false, .right = pointer.state.right};
    Step();
}

void GameWorld::Click(float x, float y) {
    Press(x, y);
    Release(x, y);
}

void GameWorld::RightClick() {
    pointer.state.right = true;
    Step();
    pointer.state.right = false;
    Step();
}

void GameWorld::TakeAndDrop(int slot, int cell) {
    const GameModel& m = game->State();
    if (slot < 0 || slot >= m.conveyorCount || cell < 0 || cell >= m.cellCount) {
        ADD_FAILURE() << "no slot " << slot << " or no cell " << cell;
        return;
    }
    Click(m.conveyor[slot].x, m.conveyor[slot].y);
    Click(m.cells[cell].x, m.cells[cell].y);
}

int GameWorld::FindCell(const ShapeItem& shape) const {
    const GameModel& m = game->State();
    for (int c = 0; c < m.cellCount; ++c) {
        const ShapeItem& cell = m.cells[c];
        if (cell.filled == 0 && cell.active != 0 && cell.classIndex == shape.classIndex &&
            cell.variant == shape.variant && cell.y > 0.05f && cell.y < 0.8f) {
            return c;
        }
    }
    return -1;
}

}  // namespace TestSupport
