// The high-score table: the best ten results of each game mode, name entry for a new result,
// drawing on the high-scores screen, and storage in "scores.ini" as one binary block.
#pragma once

#include <array>
#include <cstdint>

#include "engine/window_message.h"

namespace Quillory {

class CSpriteManager;

struct ScoreEntry {
    char name[32] = {};  // zero-terminated, at most 16 characters typed
    uint32_t score = 0;
};

class CScores {
public:
    static constexpr int kTableCount = 10;
    static constexpr int kRowCount = 10;
    static constexpr int kNameSize = 32;
    static constexpr int kMaxTypedName = 16;
    static constexpr int kEntryBytes = 36;
    static constexpr int kBlockBytes = kTableCount * kRowCount * kEntryBytes;  // 3600
    static constexpr int kNoRow = 10;

    virtual ~CScores() = default;

    // Reads all tables from "scores.ini"; on failure empties them and returns 0.
    int Load();
    // Writes all tables; returns the write's success.
    int Save();
    // Selects the table the other operations use; indices above 9 are ignored.
    void SetTable(int index);
    // Inserts a result into the current table; 1 when it entered. An empty name starts name entry.
    int AddScore(uint32_t score, const char* name);
    // Name entry: Escape reverts to the file, Enter accepts a non-empty name, Backspace, typing.
    void HandleKey(const WindowMessage& message);
    // Draws the current table with the symbol font, left-aligned, rows size * 1.25 apart.
    void DrawTable(CSpriteManager& sprites, float y, float size, float rankX, float nameX,
                   float scoreX, bool withHeader) const;
    // Empties all tables and saves.
    void ClearAll();
    // Ends a name entry that is still open (the program quits, or the screen is left) and saves
    // the entry with the name typed so far, possibly empty. Does nothing when not editing.
    void FinishEditing();

    const ScoreEntry& Entry(int row) const { return tables_[currentTable_][row]; }
    int CurrentTable() const { return currentTable_; }
    bool IsEditing() const { return editing_ != 0; }
    int EditRow() const { return editRow_; }
    bool IsHighlighted() const { return highlight_ != 0; }

private:
    void Clear();

    std::array<std::array<ScoreEntry, kRowCount>, kTableCount> tables_{};
    int currentTable_ = 0;
    int editing_ = 0;
    int editRow_ = kNoRow;
    int highlight_ = 0;
};

}  // namespace Quillory
