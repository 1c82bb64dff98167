// The catalogue of shape classes ("classes.xml") and the pictures of cells and conveyor shapes.
#include <cstdio>

#include "engine/app_log.h"
#include "game/number_text.h"
#include "game/quillory_game.h"
#include "game/xml_file.h"

namespace Quillory {

namespace {

void LogLine(const char* format, const char* text) {
    char line[400];
    std::snprintf(line, sizeof(line), format, text);
    LogMessage(line);
}

// Copies an attribute, cutting names that do not fit; a missing attribute leaves the field.
void CopyAttribute(const tinyxml2::XMLElement* element, const char* name, char* out) {
    const char* value = element->Attribute(name);
    if (value != nullptr && !CopyName(out, kNameSize, value)) {
        LogLine("WARNING: shape class attribute '%s' is longer than 254 characters; cut", name);
    }
}

}  // namespace

bool CQuilloryGame::LoadClasses(const char* fileName) {
    model_.catalogueCount = 0;
    tinyxml2::XMLDocument document;
    if (!LoadXmlFile(fileName, document)) {
        LogLine("Fatal error, cannot load XML: %s", fileName != nullptr ? fileName : "");
        return false;
    }
    const tinyxml2::XMLElement* level = document.FirstChildElement("Level");
    if (level == nullptr) {
        // The catalogue's root wraps the "Level" element in the game's own files.
        const tinyxml2::XMLElement* root = document.RootElement();
        level = root != nullptr ? root->FirstChildElement("Level") : nullptr;
    }
    if (level == nullptr) {
        return true;
    }
    int count = 0;
    for (const tinyxml2::XMLElement* element = level->FirstChildElement("ShapeClass");
         element != nullptr; element = element->NextSiblingElement("ShapeClass")) {
        if (count == kMaxClasses) {
            LogMessage("WARNING: more than 30 shape classes; the rest are ignored");
            break;
        }
        ShapeClassDef& shapeClass = model_.catalogue[count];
        shapeClass = ShapeClassDef{};
        CopyAttribute(element, "name", shapeClass.name);
        CopyAttribute(element, "soundEvent", shapeClass.soundEvent);
        int shapes = 0;
        for (const tinyxml2::XMLElement* shape = element->FirstChildElement("Shape");
             shape != nullptr; shape = shape->NextSiblingElement("Shape")) {
            if (shapes == kMaxShapesPerClass) {
                LogLine("WARNING: shape class '%s' has more than 10 shapes; the rest are ignored",
                        shapeClass.name);
                break;
            }
            CopyAttribute(shape, "mainImage", shapeClass.shapes[shapes].mainImage);
            CopyAttribute(shape, "maskImage", shapeClass.shapes[shapes].maskImage);
            ++shapes;
        }
        shapeClass.shapeCount = shapes;
        ++count;
    }
    model_.catalogueCount = count;
    return true;
}

const char* CQuilloryGame::ItemImageName(const ShapeItem& item) const {
    switch (item.bonusKind) {
        case kBonusAnyShape:
            return "Graphics\\qy_bonus01.png";
        case kBonusBand:
            return "Graphics\\qy_bonus02.png";
        case kBonusArea:
            return "Graphics\\qy_bonus03.png";
        default:
            break;
    }
    if (item.classIndex < 0 || item.classIndex >= model_.shapeClassCount) {
        return "";
    }
    const ShapeClassDef& shapeClass = model_.levelClasses[item.classIndex];
    if (item.variant < 0 || item.variant >= shapeClass.shapeCount) {
        return "";
    }
    return shapeClass.shapes[item.variant].mainImage;
}

const char* CQuilloryGame::RevealPicture(int index) const {
    if (index < 0 || index >= kRevealCount || index >= model_.catalogueCount ||
        model_.catalogue[index].shapeCount < 1) {
        return "";
    }
    return model_.catalogue[index].shapes[0].mainImage;
}

void CQuilloryGame::RefreshItemImages(ShapeItem& item) {
    item.maskImage = nullptr;
    item.mainImage = nullptr;
    if (services_.textures == nullptr || item.classIndex < 0 ||
        item.classIndex >= model_.shapeClassCount) {
        return;
    }
    const ShapeClassDef& shapeClass = model_.levelClasses[item.classIndex];
    if (item.variant < 0 || item.variant >= shapeClass.shapeCount) {
        return;
    }
    item.maskImage = services_.textures->GetTexture(shapeClass.shapes[item.variant].maskImage);
    item.mainImage = services_.textures->GetTexture(shapeClass.shapes[item.variant].mainImage);
}

void CQuilloryGame::RefreshCellImages() {
    for (int c = 0; c < model_.cellCount; ++c) {
        RefreshItemImages(model_.cells[c]);
    }
    for (int i = 0; i < model_.conveyorCount; ++i) {
        ShapeItem& shape = model_.conveyor[i];
        shape.mainImage = services_.textures != nullptr
                              ? services_.textures->GetTexture(ItemImageName(shape))
                              : nullptr;
    }
}

}  // namespace Quillory
