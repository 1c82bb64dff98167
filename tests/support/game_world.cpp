// The headless world of the game-rules tests.
#include "support/game_world.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/app_log.h"
#include "engine/private_profile.h"
#include "platform/folders.h"

namespace TestSupport {

using namespace Quillory;

int RecordingSounds::Count(const std::string& name) const {
    int count = 0;
    for (const std::string& played : this->played) {
        count += played == name ? 1 : 0;
    }
    return count;
}

Tuvo::Image* FakeTextures::GetTexture(const char* fileName) {
    const std::string name = fileName != nullptr ? fileName : "";
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            return reinterpret_cast<Tuvo::Image*>(i + 1);
        }
    }
    names_.push_back(name);
    return reinterpret_cast<Tuvo::Image*>(names_.size());
}

std::string FakeTextures::NameOf(const Tuvo::Image* image) const {
    const size_t index = reinterpret_cast<size_t>(image);
    return index >= 1 && index <= names_.size() ? names_[index - 1] : "";
}

FakeMenus::FakeMenus() {
    mapButtons.push_back({"btnMap0", 0.1f, 0.1f, true});
    for (int stage = 1; stage <= 7; ++stage) {
        mapButtons.push_back(
            {"btnStage" + std::to_string(stage), 0.1f * stage, 0.5f + 0.01f * stage, true});
    }
}

bool FakeMenus::ControlPosition(GameMenu menu, const char* name, float& x, float& y) {
    if (menu != GameMenu::InGame) {
        return false;
    }
    if (std::strcmp(name, "txtScoreNum") == 0) {
        x = 0.1f;
        y = 0.2f;
        return true;
    }
    if (std::strcmp(name, "txtTimeNum") == 0) {
        x = 0.1f;
        y = 0.4f;
        return true;
    }
    return false;
}

int FakeMenus::ButtonCount(GameMenu menu) {
    return menu == GameMenu::Map ? static_cast<int>(mapButtons.size()) : 0;
}

const char* FakeMenus::ButtonName(GameMenu menu, int index) {
    if (menu != GameMenu::Map || index < 0 || index >= ButtonCount(menu)) {
        return nullptr;
    }
    return mapButtons[static_cast<size_t>(index)].name.c_str();
}

bool FakeMenus::ButtonPosition(GameMenu menu, int index, float& x, float& y) {
    if (menu != GameMenu::Map || index < 0 || index >= ButtonCount(menu)) {
        return false;
    }
    x = mapButtons[static_cast<size_t>(index)].x;
    y = mapButtons[static_cast<size_t>(index)].y;
    return true;
}

void FakeMenus::SetButtonEnabled(GameMenu menu, int index, bool enabled) {
    if (menu == GameMenu::Map && index >= 0 && index < ButtonCount(menu)) {
        mapButtons[static_cast<size_t>(index)].enabled = enabled;
    }
}

bool FakeMenus::IsButtonHover(GameMenu menu, const char* name) {
    return menu == GameMenu::Main && hovered == name;
}

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof(line), format, arguments);
    va_end(arguments);
    return line;
}

}  // namespace

void RecordingEvents::OnLevelStart(const LevelStartInfo& info) {
    lines.push_back(Format("level_start %d mode=%d bonus=%d cells=%d classes=%d", info.level,
                           info.mode, info.bonus ? 1 : 0, info.cells, info.classCount));
}
void RecordingEvents::OnIssue(int slot, int classIndex, int variant, int bonusKind) {
    lines.push_back(Format("issue %d class=%d variant=%d bonus=%d", slot, classIndex, variant,
                           bonusKind));
}
void RecordingEvents::OnTake(int slot, int classIndex, int variant, int bonusKind) {
    lines.push_back(Format("take %d class=%d variant=%d bonus=%d", slot, classIndex, variant,
                           bonusKind));
}
void RecordingEvents::OnTurn(int variant) {
    lines.push_back(Format("turn %d", variant));
}
void RecordingEvents::OnDrop(int cell, int classIndex, int variant, int bonusKind, int points,
                             int combo, int score) {
    lines.push_back(Format("drop %d class=%d variant=%d bonus=%d points=%d combo=%d score=%d", cell,
                           classIndex, variant, bonusKind, points, combo, score));
}
void RecordingEvents::OnFill(int cell) {
    lines.push_back(Format("fill %d", cell));
}
void RecordingEvents::OnDiscard(int classIndex, int bonusKind) {
    lines.push_back(Format("discard class=%d bonus=%d", classIndex, bonusKind));
}
void RecordingEvents::OnLineRemoved(int line, int linesLeft) {
    lines.push_back(Format("line_removed %d left=%d", line, linesLeft));
}
void RecordingEvents::OnBugArrives(int cell) {
    lines.push_back(Format("bug_arrives %d", cell));
}
void RecordingEvents::OnBugEats(int cell) {
    lines.push_back(Format("bug_eats %d", cell));
}
void RecordingEvents::OnBugLeaves() {
    lines.push_back("bug_leaves");
}
void RecordingEvents::OnTimeoutWarning(float timeLeft) {
    lines.push_back(Format("timeout_warning %.2f", timeLeft));
}
void RecordingEvents::OnWon(int score, float timeLeft) {
    lines.push_back(Format("won score=%d time=%.2f", score, timeLeft));
}
void RecordingEvents::OnScoreAdded(int amount, ScoreReason reason, int score) {
    lines.push_back(Format("score_added %d %s score=%d", amount, ScoreReasonName(reason), score));
}
void RecordingEvents::OnLost(int score, float timeLeft) {
    lines.push_back(Format("lost score=%d time=%.2f", score, timeLeft));
}
void RecordingEvents::OnLevelEnd(int score, LevelEndNext next) {
    lines.push_back(Format("level_end score=%d next=%s", score, LevelEndNextName(next)));
}
void RecordingEvents::OnSaved(int level, int score, float elapsed) {
    lines.push_back(Format("saved %d score=%d elapsed=%.2f", level, score, elapsed));
}
void RecordingEvents::OnRestored(int level, int score, float elapsed) {
    lines.push_back(Format("restored %d score=%d elapsed=%.2f", level, score, elapsed));
}

std::vector<std::string> RecordingEvents::Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

GameWorld::GameWorld(uint32_t seed)
    : rulesRandom(seed), cosmeticRandom(seed + 1000), inData_(data.Path()) {
    Platform::SetUserFolderOverride(user.Path());
    ClearProfileCache();
    SetLogFilePath(user.File("applog.htm").c_str());
    effects = std::make_unique<CEffect2d>(clock, cosmeticRandom, &sounds);
}

GameWorld::~GameWorld() {
    game.reset();
    effects.reset();
    Platform::SetUserFolderOverride("");
    ClearProfileCache();
}

void GameWorld::WriteClasses(int count, int shapes) {
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
    data.Write("classes.xml", xml.str());
}

void GameWorld::WriteLevel(int number, const std::map<std::string, std::string>& attributes) {
    std::map<std::string, std::string> all = {
        {"newShapeTime", "3"},      {"levelTime", "100"},           {"shapeClassCount", "3"},
        {"bonusLevel", "false"},    {"shapeClassList", "c0,c1,c2"}, {"lineSpeed", "0.03"},
        {"fBugAppearanceRange", "1000"}, {"lineShapeCount", "7"},   {"fBonusAnyShapeP", "0"},
        {"fBonusBandP", "0"},       {"fBonusAreaP", "0"}};
    for (const auto& [name, value] : attributes) {
        all[name] = value;
    }
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\"?>\n<LevelMap";
    for (const auto& [name, value] : all) {
        if (value != "<absent>") {
            xml << "\n    " << name << "=\"" << value << "\"";
        }
    }
    xml << " />\n";
    data.Write("Levels/level_" + std::to_string(number) + ".xml", xml.str());
}

CQuilloryGame& GameWorld::CreateGame() {
    GameServices services;
    services.clock = &clock;
    services.pointer = &pointer;
    services.rulesRandom = &rulesRandom;
    services.cosmeticRandom = &cosmeticRandom;
    services.sounds = &sounds;
    services.textures = &textures;
    services.effects = effects.get();
    services.menus = &menus;
    services.events = &events;
    game = std::make_unique<CQuilloryGame>(services);
    game->LoadClasses("classes.xml");
    game->SetGameState(STATE_MAIN_MENU);
    return *game;
}

void GameWorld::Step(int ms) {
    clock.Advance(static_cast<uint32_t>(ms));
    game->AdvanceFrame(static_cast<float>(ms) / 10.0f);
}

void GameWorld::RunSeconds(float seconds, int stepMs) {
    const int steps = static_cast<int>(seconds * 1000.0f / static_cast<float>(stepMs) + 0.5f);
    for (int i = 0; i < steps; ++i) {
        Step(stepMs);
    }
}

void GameWorld::StartPlaying(int level, int mode) {
    game->SetMode(mode);
    game->EditState().levelNumber = level;
    game->StartLevel();
    RunUntil([&] { return game->State().phase == PHASE_PLAYING; }, 10);
}

void GameWorld::MoveTo(float x, float y) {
    pointer.state.x = x;
    pointer.state.y = y;
    Step();
}

void GameWorld::Press(float x, float y) {
    pointer.state.x = x;
    pointer.state.y = y;
    pointer.state.left = true;
    Step();
}

void GameWorld::Release(float x, float y) {
    pointer.state.x = x;
    pointer.state.y = y;
    pointer.state.left = false;
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
    const ShapeItem& shape = game->State().conveyor[slot];
    Click(shape.x, shape.y);
    const ShapeItem& target = game->State().cells[cell];
    Click(target.x, target.y);
}

std::string GameWorld::ReadLog() const {
    return user.Read("applog.htm");
}

}  // namespace TestSupport
