// Level files "Levels\level_N.xml": the level's parameters, its classes and its grid of cells.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_log.h"
#include "game/number_text.h"
#include "game/quillory_game.h"
#include "game/xml_file.h"

namespace Quillory {

namespace {

constexpr int kMaxClassDraws = 100;  // random draws for one class before taking the first free one

void LevelFileName(int levelNumber, char* out, int size) {
    std::snprintf(out, static_cast<size_t>(size), "Levels\\level_%d.xml", levelNumber);
}

void LogFormat(const char* format, const char* text) {
    char line[600];
    std::snprintf(line, sizeof(line), format, text);
    LogMessage(line);
}

float FloatAttribute(const tinyxml2::XMLElement* map, const char* name) {
    return static_cast<float>(LeadingNumber(map->Attribute(name)));
}

// A count attribute read as a float, truncated, kept within 0..limit (logged when clamped).
int CountAttribute(const tinyxml2::XMLElement* map, const char* name, int limit) {
    const double value = std::trunc(LeadingNumber(map->Attribute(name)));
    if (value > limit) {
        LogFormat("WARNING: level attribute %s above its limit; clamped", name);
        return limit;
    }
    if (value < 0) {
        LogFormat("WARNING: level attribute %s below 0; clamped", name);
        return 0;
    }
    return static_cast<int>(value);
}

// The map element of a level document: the first "LevelMap" among the document's children.
const tinyxml2::XMLElement* LevelMap(const tinyxml2::XMLDocument& document) {
    return document.FirstChildElement("LevelMap");
}

// Splits the list at commas into at most 15 names; empty pieces are skipped.
int SplitClassList(const char* list, char names[kMaxListedClasses][kNameSize]) {
    int count = 0;
    const char* p = list;
    while (*p != '\0' && count < kMaxListedClasses) {
        const char* end = std::strchr(p, ',');
        const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
        if (length > 0) {
            const size_t kept = length < kNameSize - 1 ? length : kNameSize - 1;
            std::memcpy(names[count], p, kept);
            names[count][kept] = '\0';
            ++count;
        }
        if (end == nullptr) {
            break;
        }
        p = end + 1;
    }
    return count;
}

}  // namespace

bool CQuilloryGame::LevelExists(int levelNumber) const {
    char fileName[64];
    LevelFileName(levelNumber, fileName, sizeof(fileName));
    tinyxml2::XMLDocument document;
    if (!LoadXmlFile(fileName, document)) {
        return false;
    }
    // A level without cells or classes cannot be played: it counts as missing.
    const tinyxml2::XMLElement* map = LevelMap(document);
    return map != nullptr && LeadingNumber(map->Attribute("lineShapeCount")) >= 1.0 &&
           LeadingNumber(map->Attribute("shapeClassCount")) >= 1.0 && model_.catalogueCount > 0;
}

void CQuilloryGame::LoadLevel() {
    GameModel& m = model_;
    ResetBug();
    m.newShapeTime = 0.1f;
    m.bugAppearanceRange = 15;
    m.shapeClassCount = 3;
    m.bonusLevel[0] = '\0';
    m.shapeClassList[0] = '\0';
    m.bonusAnyShapeP = 0.05f;
    m.bonusBandP = 0.25f;
    m.bonusAreaP = 0.25f;
    m.levelTime = 100;
    m.meter = 0;
    m.comboCount = 0;
    m.conveyorCount = 0;
    m.cellCount = 0;
    m.held.active = 0;
    m.timeoutWarnings = 0;
    m.lastPlaced.classIndex = -1;
    m.shapesIssued = 0;

    char fileName[64];
    LevelFileName(m.levelNumber, fileName, sizeof(fileName));
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLElement* map = nullptr;
    if (LoadXmlFile(fileName, document)) {
        map = LevelMap(document);
    }
    if (map == nullptr) {
        LogFormat("Fatal error, cannot load XML: %s", fileName);
        m.shapeClassCount = 0;
        return;
    }

    m.newShapeTime = FloatAttribute(map, "newShapeTime");
    m.levelTime = FloatAttribute(map, "levelTime");
    m.shapeClassCount = CountAttribute(map, "shapeClassCount", kMaxClasses);
    CopyName(m.bonusLevel, kNameSize, map->Attribute("bonusLevel"));
    if (!CopyName(m.shapeClassList, kNameSize, map->Attribute("shapeClassList"))) {
        LogFormat("WARNING: shapeClassList of %s is longer than 254 characters; cut", fileName);
    }
    m.lineSpeed = FloatAttribute(map, "lineSpeed");
    m.bugAppearanceRange = FloatAttribute(map, "fBugAppearanceRange");
    m.lineShapeCount = CountAttribute(map, "lineShapeCount", kMaxLineShapes);
    m.bonusAnyShapeP = FloatAttribute(map, "fBonusAnyShapeP");
    m.bonusBandP = FloatAttribute(map, "fBonusBandP");
    m.bonusAreaP = FloatAttribute(map, "fBonusAreaP");

    if (m.shapeClassCount > m.catalogueCount) {
        LogFormat("WARNING: %s asks for more classes than the catalogue has; clamped", fileName);
        m.shapeClassCount = m.catalogueCount;
    }
    if (m.shapeClassCount == 0 || m.lineShapeCount == 0) {
        // Nothing to play: treated like a missing level, with no cells and no shapes.
        LogFormat("Fatal error, level has no classes or no cells: %s", fileName);
        m.shapeClassCount = 0;
        return;
    }

    // The level's classes: by name where the list names one, else drawn among the free ones.
    char names[kMaxListedClasses][kNameSize] = {};
    const int nameCount = SplitClassList(m.shapeClassList, names);
    bool taken[kMaxClasses] = {};
    for (int i = 0; i < m.shapeClassCount; ++i) {
        int entry = -1;
        if (i < nameCount) {
            for (int k = 0; k < m.catalogueCount; ++k) {
                if (std::strcmp(m.catalogue[k].name, names[i]) == 0) {
                    entry = k;
                    break;
                }
            }
            if (entry < 0) {
                LogFormat("WARNING: unknown shape class '%.254s'; one is drawn at random",
                          names[i]);
            } else if (taken[entry]) {
                LogFormat("WARNING: shape class '%.254s' named twice; one is drawn at random",
                          names[i]);
                entry = -1;
            }
        }
        for (int draw = 0; entry < 0 && draw < kMaxClassDraws; ++draw) {
            const int k = Rand(0, m.catalogueCount - 1);
            if (!taken[k]) {
                entry = k;
            }
        }
        for (int k = 0; entry < 0 && k < m.catalogueCount; ++k) {
            if (!taken[k]) {
                entry = k;
            }
        }
        taken[entry] = true;
        m.levelClasses[i] = m.catalogue[entry];
    }
    if (m.mode != MODE_TRANSFORMER) {
        for (int i = 0; i < m.shapeClassCount; ++i) {
            if (m.levelClasses[i].shapeCount > 1) {
                m.levelClasses[i].shapeCount = 1;
            }
        }
    }

    // The grid: six lines of lineShapeCount cells, the even lines half a row lower.
    m.reservedValue = 0;
    for (int line = 0; line < kLineCount; ++line) {
        for (int row = 0; row < m.lineShapeCount; ++row) {
            ShapeItem& cell = m.cells[line * m.lineShapeCount + row];
            cell = ShapeItem{};
            cell.x = kFirstLineX + static_cast<float>(line) * kLineSpacing;
            cell.y = static_cast<float>(row) * kRowSpacing + kFirstRowY;
            if (line % 2 == 0) {
                cell.y += kEvenLineDrop;
            }
            cell.baseY = cell.y;
            cell.width = kCellWidth;
            cell.height = kCellHeight;
            cell.filled = 0;
            cell.active = 1;
            cell.classIndex = Rand(0, m.shapeClassCount - 1);
            cell.variant = Rand(0, m.levelClasses[cell.classIndex].shapeCount - 1);
            cell.reserved = -m.lineSpeed;
        }
    }
    m.cellCount = kLineCount * m.lineShapeCount;

    // Every class gets at least one cell.
    if (m.cellCount > m.shapeClassCount) {
        bool drawn[kMaxCells] = {};
        for (int j = 0; j < m.shapeClassCount; ++j) {
            int c = Rand(0, m.cellCount - 1);
            while (drawn[c]) {
                c = Rand(0, m.cellCount - 1);
            }
            drawn[c] = true;
            m.cells[c].classIndex = j;
            m.cells[c].variant = Rand(0, m.levelClasses[j].shapeCount - 1);
        }
    }
}

}  // namespace Quillory
