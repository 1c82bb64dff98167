// The saved game: one 10588-byte record per mode in "saved.ini", written and read field by field
// (little-endian whatever the host), checked before any of it is used.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "game/quillory_game.h"

namespace Quillory {

namespace {

constexpr const char* kSavedFile = "saved.ini";
// Existing files keep the Transformer game under "Relax" and the Relax game under "Transformer".
constexpr const char* kSections[3] = {"Classic", "Relax", "Transformer"};

constexpr int kConveyorOffset = 0;
constexpr int kCellsOffset = 1040;
constexpr int kConveyorCountOffset = 10400;
constexpr int kCellCountOffset = 10404;
constexpr int kLinesOffset = 10408;
constexpr int kReservedOffset = 10552;
constexpr int kLinesLeftOffset = 10556;
constexpr int kLevelOffset = 10560;
constexpr int kScoreOffset = 10564;
constexpr int kSinceStartOffset = 10568;
constexpr int kElapsedOffset = 10572;
constexpr int kShapesIssuedOffset = 10584;
constexpr float kMaxStoredSeconds = 1.0e6f;
constexpr float kMaxStoredPosition = 100.0f;

const char* SectionOf(int mode) {
    return mode >= 0 && mode < 3 ? kSections[mode] : kSections[0];
}

// Little-endian field writers and readers over the record's bytes.
class RecordWriter {
public:
    explicit RecordWriter(uint8_t* bytes) : bytes_(bytes) {}
    void U32(int offset, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    }
    void I32(int offset, int32_t value) { U32(offset, static_cast<uint32_t>(value)); }
    void F32(int offset, float value) {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, 4);
        U32(offset, bits);
    }
    void Item(int offset, const ShapeItem& item) {
        I32(offset + 0, item.classIndex);
        I32(offset + 4, item.variant);
        F32(offset + 8, item.baseY);
        F32(offset + 12, item.x);
        F32(offset + 16, item.y);
        F32(offset + 20, item.width);
        F32(offset + 24, item.height);
        F32(offset + 28, item.reserved);
        I32(offset + 32, item.active);
        I32(offset + 36, item.filled);
        I32(offset + 40, item.bonusKind);
        U32(offset + 44, 0);  // image handles mean nothing after a restart
        U32(offset + 48, 0);
    }
    void Line(int offset, const PlayLine& line) {
        F32(offset + 0, line.x);
        F32(offset + 4, line.y);
        U32(offset + 8, line.tint);
        F32(offset + 12, line.scale);
        I32(offset + 16, line.removed);
        F32(offset + 20, line.drift);
    }

private:
    uint8_t* bytes_;
};

class RecordReader {
public:
    explicit RecordReader(const uint8_t* bytes) : bytes_(bytes) {}
    uint32_t U32(int offset) const {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(bytes_[offset + i]) << (8 * i);
        }
        return value;
    }
    int32_t I32(int offset) const { return static_cast<int32_t>(U32(offset)); }
    float F32(int offset) const {
        const uint32_t bits = U32(offset);
        float value = 0;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    ShapeItem Item(int offset) const {
        ShapeItem item;
        item.classIndex = I32(offset + 0);
        item.variant = I32(offset + 4);
        item.baseY = F32(offset + 8);
        item.x = F32(offset + 12);
        item.y = F32(offset + 16);
        item.width = F32(offset + 20);
        item.height = F32(offset + 24);
        item.reserved = F32(offset + 28);
        item.active = I32(offset + 32);
        item.filled = I32(offset + 36);
        item.bonusKind = I32(offset + 40);
        return item;
    }
    PlayLine Line(int offset) const {
        PlayLine line;
        line.x = F32(offset + 0);
        line.y = F32(offset + 4);
        line.tint = U32(offset + 8);
        line.scale = F32(offset + 12);
        line.removed = I32(offset + 16);
        line.drift = F32(offset + 20);
        return line;
    }

private:
    const uint8_t* bytes_;
};

bool Finite(float value, float limit) {
    return std::isfinite(value) && std::fabs(value) <= limit;
}

bool ItemPlausible(const ShapeItem& item) {
    return Finite(item.baseY, kMaxStoredPosition) && Finite(item.x, kMaxStoredPosition) &&
           Finite(item.y, kMaxStoredPosition) && Finite(item.width, kMaxStoredPosition) &&
           Finite(item.height, kMaxStoredPosition) && item.bonusKind >= kBonusNone &&
           item.bonusKind <= kBonusArea;
}

}  // namespace

bool CQuilloryGame::RefuseRecord(bool peek) {
    LogMessage("File 'saved.ini' is corrupted!");
    // A restore that cannot be made starts the mode's new game instead.
    if (!peek) {
        NewGame();
    }
    return false;
}

bool CQuilloryGame::IsGameSaved() const {
    uint8_t bytes[4] = {};
    if (!ReadProfileStruct(SectionOf(model_.mode), "IsGameSaved", bytes, 4, kSavedFile)) {
        return false;
    }
    return RecordReader(bytes).I32(0) != 0;
}

bool CQuilloryGame::SetGameSaved(int value) {
    uint8_t bytes[4] = {};
    RecordWriter(bytes).I32(0, value);
    return WriteProfileStruct(SectionOf(model_.mode), "IsGameSaved", bytes, 4, kSavedFile);
}

void CQuilloryGame::SaveGame() {
    const GameModel& m = model_;
    uint8_t bytes[kSavedRecordSize] = {};
    RecordWriter writer(bytes);
    for (int i = 0; i < kMaxConveyor; ++i) {
        writer.Item(kConveyorOffset + i * kStoredShapeItemSize, m.conveyor[i]);
    }
    // Lines and their cells are stored at their places in the grid and removed lines as gone,
    // so a restore never shows a line half-way through a slide or a fade.
    for (int c = 0; c < kMaxCells; ++c) {
        ShapeItem cell = m.cells[c];
        if (c < m.cellCount && m.lineShapeCount > 0) {
            cell.x =
                kFirstLineX + static_cast<float>(lineSlot_[c / m.lineShapeCount]) * kLineSpacing;
        }
        writer.Item(kCellsOffset + c * kStoredShapeItemSize, cell);
    }
    writer.I32(kConveyorCountOffset, m.conveyorCount);
    writer.I32(kCellCountOffset, m.cellCount);
    for (int i = 0; i < kLineCount; ++i) {
        PlayLine line = m.lines[i];
        line.x = kFirstLineX + static_cast<float>(lineSlot_[i]) * kLineSpacing;
        line.scale = line.removed != 0 ? 0.0f : 1.0f;
        line.tint = line.removed != 0 ? 0x01FFFFFFu : 0x00FFFFFFu;
        writer.Line(kLinesOffset + i * kStoredPlayLineSize, line);
    }
    writer.F32(kReservedOffset, m.reservedValue);
    writer.I32(kLinesLeftOffset, m.linesLeft);
    writer.I32(kLevelOffset, m.levelNumber);
    writer.I32(kScoreOffset, m.score);
    const float elapsed = LevelClockElapsed();
    const float now = pauseDepth_ > 0 ? m.pauseClock : ClockNow();
    writer.F32(kSinceStartOffset, now - m.levelStartTime);
    writer.F32(kElapsedOffset, elapsed);
    writer.I32(kShapesIssuedOffset, m.shapesIssued);
    if (!WriteProfileStruct(SectionOf(m.mode), "Data", bytes, kSavedRecordSize, kSavedFile)) {
        LogMessage("WARNING: the game could not be saved to 'saved.ini'");
        return;
    }
    SetGameSaved(1);
    if (services_.events != nullptr) {
        services_.events->OnSaved(m.levelNumber, m.score, elapsed);
    }
}

bool CQuilloryGame::LoadSavedGame(bool peek) {
    GameModel& m = model_;
    if (!peek) {
        LogMessage("Loading saved game...");
    }
    static_assert(kSavedRecordSize == kShapesIssuedOffset + 4, "the record ends with shapesIssued");
    uint8_t bytes[kSavedRecordSize] = {};
    if (!ReadProfileStruct(SectionOf(m.mode), "Data", bytes, kSavedRecordSize, kSavedFile)) {
        return RefuseRecord(peek);
    }
    const RecordReader reader(bytes);
    const int conveyorCount = reader.I32(kConveyorCountOffset);
    const int cellCount = reader.I32(kCellCountOffset);
    const int linesLeft = reader.I32(kLinesLeftOffset);
    const int level = reader.I32(kLevelOffset);
    const int score = reader.I32(kScoreOffset);
    const float sinceStart = reader.F32(kSinceStartOffset);
    const float elapsed = reader.F32(kElapsedOffset);
    const bool plausible = conveyorCount >= 0 && conveyorCount <= kMaxConveyor && cellCount >= 0 &&
                           cellCount <= kMaxCells && cellCount % kLineCount == 0 &&
                           linesLeft >= 0 && linesLeft <= kLineCount && level >= 1 &&
                           Finite(sinceStart, kMaxStoredSeconds) &&
                           Finite(elapsed, kMaxStoredSeconds) && LevelExists(level);
    if (!plausible) {
        return RefuseRecord(peek);
    }
    m.levelNumber = level;
    m.score = score;
    if (peek) {
        return true;
    }

    StartLevel();
    // The level file decides the grid: the record must fit it exactly.
    bool fits = cellCount == kLineCount * m.lineShapeCount && m.shapeClassCount > 0;
    ShapeItem conveyor[kMaxConveyor];
    ShapeItem cells[kMaxCells];
    for (int i = 0; i < kMaxConveyor; ++i) {
        conveyor[i] = reader.Item(kConveyorOffset + i * kStoredShapeItemSize);
    }
    for (int c = 0; c < kMaxCells; ++c) {
        cells[c] = reader.Item(kCellsOffset + c * kStoredShapeItemSize);
    }
    auto classOk = [&](const ShapeItem& item) {
        return item.classIndex >= 0 && item.classIndex < m.shapeClassCount && item.variant >= 0 &&
               item.variant < m.levelClasses[item.classIndex].shapeCount && ItemPlausible(item);
    };
    for (int i = 0; fits && i < conveyorCount; ++i) {
        fits = classOk(conveyor[i]);
    }
    for (int c = 0; fits && c < cellCount; ++c) {
        fits = classOk(cells[c]);
    }
    PlayLine lines[kLineCount];
    int slots[kLineCount] = {};
    for (int i = 0; fits && i < kLineCount; ++i) {
        lines[i] = reader.Line(kLinesOffset + i * kStoredPlayLineSize);
        const float place = (lines[i].x - kFirstLineX) / kLineSpacing;
        fits = Finite(lines[i].x, kMaxStoredPosition) && place > -0.5f && place < kLineCount - 0.5f;
        slots[i] = fits ? static_cast<int>(std::lround(place)) : 0;
    }
    if (!fits) {
        return RefuseRecord(peek);
    }

    for (int i = 0; i < kMaxConveyor; ++i) {
        m.conveyor[i] = conveyor[i];
    }
    for (int c = 0; c < kMaxCells; ++c) {
        m.cells[c] = cells[c];
    }
    m.conveyorCount = conveyorCount;
    m.cellCount = cellCount;
    for (int i = 0; i < kLineCount; ++i) {
        m.lines[i] = lines[i];
        m.lines[i].x = kFirstLineX + static_cast<float>(slots[i]) * kLineSpacing;
        m.lines[i].scale = m.lines[i].removed != 0 ? 0.0f : 1.0f;
        lineSlot_[i] = slots[i];
    }
    RefreshCellImages();
    m.linesLeft = linesLeft;
    m.reservedValue = reader.F32(kReservedOffset);
    const float now = ClockNow();
    m.now = now;
    m.levelStartTime = now - sinceStart;
    m.playStartTime = now - elapsed;
    m.remainingAtStart = m.levelTime - elapsed;
    m.elapsed = elapsed;
    m.timeLeft = m.levelTime - elapsed;
    m.shapesIssued = reader.I32(kShapesIssuedOffset);
    m.resumedFromSave = 1;
    m.phase = PHASE_PLAYING;
    std::memcpy(m.backgroundCurrent, m.backgroundNext, sizeof(m.backgroundCurrent));
    PlaceCellsOnLines();
    if (services_.events != nullptr) {
        services_.events->OnRestored(m.levelNumber, m.score, elapsed);
    }
    return true;
}

}  // namespace Quillory
