// The high-score tables and their block in "scores.ini": 100 entries of 32 name bytes and a
// little-endian 32-bit score, written field by field.
#include "engine/scores.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/ini_access.h"
#include "engine/sprite_manager.h"

namespace Quillory {
namespace {

constexpr char kScoresFile[] = "scores.ini";
constexpr char kScoresSection[] = "HIGH SCORES";
constexpr char kScoresKey[] = "Data";
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kEditingColour = 0xFFFF5555;
constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;

}  // namespace

void CScores::Clear() {
    for (auto& table : tables_) {
        table.fill(ScoreEntry{});
    }
}

int CScores::Load() {
    uint8_t block[kBlockBytes];
    if (!ReadProfileStruct(kScoresSection, kScoresKey, block, kBlockBytes, kScoresFile)) {
        Clear();
        return 0;
    }
    const uint8_t* field = block;
    for (auto& table : tables_) {
        for (ScoreEntry& entry : table) {
            std::memcpy(entry.name, field, kNameSize);
            entry.name[kNameSize - 1] = '\0';  // a damaged name still ends inside its field
            field += kNameSize;
            entry.score = static_cast<uint32_t>(field[0]) | static_cast<uint32_t>(field[1]) << 8 |
                          static_cast<uint32_t>(field[2]) << 16 |
                          static_cast<uint32_t>(field[3]) << 24;
            field += 4;
        }
    }
    return 1;
}

int CScores::Save() {
    uint8_t block[kBlockBytes];
    uint8_t* field = block;
    for (const auto& table : tables_) {
        for (const ScoreEntry& entry : table) {
            std::memcpy(field, entry.name, kNameSize);
            field += kNameSize;
            for (int shift = 0; shift < 32; shift += 8) {
                *field++ = static_cast<uint8_t>(entry.score >> shift);
            }
        }
    }
    return WriteProfileStruct(kScoresSection, kScoresKey, block, kBlockBytes, kScoresFile) ? 1 : 0;
}

void CScores::SetTable(int index) {
    if (index < 0 || index >= kTableCount) {
        return;
    }
    if (index != currentTable_) {
        highlight_ = 0;
    }
    currentTable_ = index;
}

int CScores::AddScore(uint32_t score, const char* name) {
    auto& table = tables_[currentTable_];
    int row = 0;
    while (row < kRowCount && table[row].score >= score) {
        ++row;
    }
    if (row == kRowCount) {
        return 0;
    }
    for (int below = kRowCount - 1; below > row; --below) {
        table[below] = table[below - 1];
    }
    table[row] = ScoreEntry{};
    std::snprintf(table[row].name, kMaxTypedName + 1, "%s", name == nullptr ? "" : name);
    table[row].score = score;
    editRow_ = row;
    if (table[row].name[0] == '\0') {
        editing_ = 1;
        return 1;
    }
    editing_ = 0;
    highlight_ = 1;
    Save();
    return 1;
}

void CScores::HandleKey(const WindowMessage& message) {
    if (!editing_ || editRow_ < 0 || editRow_ >= kRowCount) {
        return;
    }
    char* name = tables_[currentTable_][editRow_].name;
    const size_t length = std::strlen(name);
    const int key = static_cast<int>(message.wParam & 0xFF);
    if (message.message == kMessageKeyDown) {
        if (key == kKeyEscape) {
            editing_ = 0;
            Load();
        } else if (key == kKeyEnter) {
            if (length > 0) {
                editing_ = 0;
                Save();
            }
        } else if (key == kKeyBackspace && length > 0) {
            name[length - 1] = '\0';
        }
        return;
    }
    // Control characters (the Enter, Escape and Backspace presses also arrive as characters)
    // cannot be drawn and never belong in a name.
    if (message.message == kMessageChar && key >= 32 &&
        length < static_cast<size_t>(kMaxTypedName)) {
        name[length] = static_cast<char>(key);
        name[length + 1] = '\0';
    }
}

void CScores::FinishEditing() {
    if (!editing_) {
        return;
    }
    // The result counts even when the player never pressed Enter.
    editing_ = 0;
    highlight_ = 1;
    Save();
}

void CScores::DrawTable(CSpriteManager& sprites, float y, float size, float rankX, float nameX,
                        float scoreX, bool withHeader) const {
    if (withHeader) {
        sprites.DrawText(rankX, y, size, kWhite, kTextLeft, "#");
        sprites.DrawText(nameX, y, size, kWhite, kTextLeft, "Name");
        sprites.DrawText(scoreX, y, size, kWhite, kTextLeft, "Score");
    }
    const float seconds = static_cast<float>(sprites.Milliseconds()) * 0.001f;
    const auto& table = tables_[currentTable_];
    for (int r = 1; r <= kRowCount; ++r) {
        const int row = r - 1;
        const float rowY = y + r * size * 1.25f;
        std::string name = table[row].name;
        uint32_t colour = kWhite;
        if (editing_ && row == editRow_) {
            colour = kEditingColour;
            name += static_cast<int>(2 * seconds) % 2 == 0 ? "_" : " ";
        } else if (highlight_ && row == editRow_) {
            // Pulses between half and full brightness.
            const uint32_t level =
                static_cast<uint32_t>(255 * (0.75f + 0.25f * std::sin(3 * seconds)));
            colour = ((level + 1) & 0xFF) << 24 | level << 16 | level << 8 | level;
        }
        char text[32];
        std::snprintf(text, sizeof(text), "%d", r);
        sprites.DrawText(rankX, rowY, size, colour, kTextLeft, text);
        sprites.DrawText(nameX, rowY, size, colour, kTextLeft, name.c_str());
        std::snprintf(text, sizeof(text), "%u", table[row].score);
        sprites.DrawText(scoreX, rowY, size, colour, kTextLeft, text);
    }
}

void CScores::ClearAll() {
    Clear();
    Save();
    highlight_ = 0;
}

}  // namespace Quillory
