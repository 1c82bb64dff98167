// The plain records of the game rules: shape classes, cells and conveyor shapes, play lines, the
// bug and the butterflies, with the limits of their tables. The stored layout of ShapeItem and
// PlayLine (52 and 24 bytes) is written field by field by the saved game, never copied whole.
#pragma once

#include <cstdint>

namespace Tuvo {
class Image;
}

namespace Quillory {

constexpr int kNameSize = 255;          // names and paths: 254 characters and the terminator
constexpr int kMaxShapesPerClass = 10;  // "Shape" elements of one class
constexpr int kMaxClasses = 30;         // catalogue and level classes
constexpr int kMaxListedClasses = 15;   // names used from a level's shapeClassList
constexpr int kLineCount = 6;
constexpr int kMaxLineShapes = 30;  // cells per line
constexpr int kMaxCells = 180;
constexpr int kMaxConveyor = 20;
constexpr int kButterflyCount = 8;
constexpr int kRevealCount = 15;  // pictures of the game-complete reveal

// Geometry of the field, in screen fractions.
constexpr float kCellWidth = 0.0890625f;
constexpr float kCellHeight = 0.11875f;
constexpr float kRowSpacing = 0.15833333f;
constexpr float kFirstRowY = -0.0791666f;
constexpr float kEvenLineDrop = 0.08f;  // (kRowSpacing + 1 pixel) / 2
constexpr float kLineSpacing = 0.11875f;
constexpr float kFirstLineX = 0.29f;
constexpr float kConveyorY = 0.915f;
constexpr float kConveyorLimit = 0.85f;  // no drop at this y or below

// Bonus kinds of a conveyor or held shape.
constexpr int kBonusNone = 0;
constexpr int kBonusAnyShape = 1;
constexpr int kBonusBand = 2;
constexpr int kBonusArea = 3;

struct ShapeDef {
    char mainImage[kNameSize] = {};
    char maskImage[kNameSize] = {};
};

struct ShapeClassDef {
    ShapeDef shapes[kMaxShapesPerClass] = {};
    int32_t shapeCount = 0;
    char name[kNameSize] = {};
    char soundEvent[kNameSize] = {};
};

// A cell, a conveyor shape, the held shape or the last placed one. Stored as 13 four-byte fields;
// the two image handles are stored as zeros and looked up again on restore.
struct ShapeItem {
    int32_t classIndex = 0;
    int32_t variant = 0;
    float baseY = 0;
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    float reserved = 0;
    int32_t active = 0;
    int32_t filled = 0;
    int32_t bonusKind = 0;
    Tuvo::Image* maskImage = nullptr;
    Tuvo::Image* mainImage = nullptr;
};
constexpr int kStoredShapeItemSize = 52;

struct PlayLine {
    float x = 0;
    float y = 0.5f;
    uint32_t tint = 0xFFFFFFFF;
    float scale = 1.0f;
    int32_t removed = 0;
    float drift = 0.01f;
};
constexpr int kStoredPlayLineSize = 24;

// Bug states.
constexpr int kBugWalking = 0;
constexpr int kBugEating = 1;
constexpr int kBugLeaving = 2;

struct BugRecord {
    int32_t active = 0;
    float lastLeft = 0;
    float eatStart = 0;
    int32_t state = kBugWalking;
    float speed = 0.2f;
    float x = 0;
    float y = 0;
    float startX = -0.1f;
    float startY = 0.2f;
    float exitX = 1.1f;
    float exitY = 0.2f;
    int32_t targetCell = -1;  // index into the cells; its position and flags are read live
    float eatTime = 2.0f;
};

struct Butterfly {
    float wanderClock = 0;
    float x = 0;
    float y = 0;
    float heading = 0;  // radians
    float speed = 0;
    int32_t kind = 1;  // 1 to 4: which picture pair
    Tuvo::Image* leftImage = nullptr;
    Tuvo::Image* rightImage = nullptr;
};

}  // namespace Quillory
