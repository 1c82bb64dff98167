// Checks the game's sounds, music and levels in data/ as the game reads them: sound.ini through
// the private-profile functions, file names against the folder listing the preloading uses, and
// the level and class files with the XML parser. Fails when an event the game fires has no
// sound, when a file is missing or spelled differently from its preloaded key, when "Sound\"
// outgrows the sample table, or when a level breaks the rules or the limits of the game.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/private_profile.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

constexpr int kMaxSoundEvents = 100;
constexpr int kMaxFilesPerEvent = 10;
constexpr size_t kMaxSoundName = 59;         // event names and paths are char[60]
constexpr size_t kMaxSoundFolderFiles = 90;  // of the 100 samples, room for sounds loaded later
constexpr int kLevelCount = 40;
constexpr int kMaxClassesInList = 15;
constexpr int kMaxCells = 180;
constexpr int kLineCount = 6;

// Every event the game's rules fire by name (besides the classes' own events).
const char* const kFiredEvents[] = {
    "take_shape",
    "place_shape",
    "place_shape_bonus_1",
    "place_shape_bonus_2",
    "place_shape_bonus_3",
    "place_shape_bonus_4",
    "place_shape_bonus_5",
    "place_shape_bonus_6",
    "place_shape_bonus_7",
    "transform_shape",
    "drop_shape",
    "delete_shape",
    "shape_clear",
    "shape_panel_in",
    "shape_panel_out",
    "fill_area",
    "remove_line",
    "timeout",
    "no_bonus",
    "bug_alarm",
    "level_complete",
    "bonus_level_complete",
    "game_over",
    "game_complete",
    "level_start",
    "emit_scores",
    "collect_scores",
    "shape_chomp",
};

// The data folder of the source tree (QUILLORY_SOURCE_DIR overrides the one built in).
std::string DataFolder() {
    const char* source = std::getenv("QUILLORY_SOURCE_DIR");
    return source ? std::string(source) + "/data" : std::string(QUILLORY_DATA_FOLDER);
}

std::vector<std::string> SplitNulList(const std::vector<char>& buffer) {
    std::vector<std::string> names;
    for (size_t i = 0; i < buffer.size() && buffer[i] != '\0';) {
        std::string name(&buffer[i]);
        i += name.size() + 1;
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> pieces;
    std::stringstream stream(text);
    std::string piece;
    while (std::getline(stream, piece, ',')) {
        if (!piece.empty())
            pieces.push_back(piece);
    }
    return pieces;
}

// A number attribute as the game would want it: present and decimal text through and through.
bool ReadNumber(const tinyxml2::XMLElement* element, const char* name, double& value) {
    const char* text = element->Attribute(name);
    if (text == nullptr || *text == '\0')
        return false;
    char* end = nullptr;
    value = std::strtod(text, &end);
    return *end == '\0';
}

struct ShapeClass {
    std::string name;
    std::string soundEvent;
    int shapeCount = 0;
};

// The data folder is the current directory (as in the game) and the user folder is empty, so
// every INI read comes from the shipped files.
class AudioLevelsDataTest : public ::testing::Test {
protected:
    AudioLevelsDataTest() : inData_(DataFolder()) {
        Platform::SetUserFolderOverride(user_.Path());
        Quillory::ClearProfileCache();
    }
    ~AudioLevelsDataTest() override {
        Platform::SetUserFolderOverride("");
        Quillory::ClearProfileCache();
    }

    std::string IniValue(const std::string& section, const std::string& key) {
        char out[256];
        Quillory::GetPrivateProfileString(section.c_str(), key.c_str(), "\x01", out, sizeof(out),
                                          "sound.ini");
        return out;
    }

    std::vector<std::string> SoundEvents() {
        std::vector<char> names(10000, '\0');
        Quillory::GetPrivateProfileSectionNames(names.data(), names.size(), "sound.ini");
        return SplitNulList(names);
    }

    // The files of an event, file0 onwards until the first missing number (as the game reads).
    std::vector<std::string> EventFiles(const std::string& event) {
        std::vector<std::string> files;
        for (int n = 0; n < kMaxFilesPerEvent; ++n) {
            const std::string value = IniValue(event, "file" + std::to_string(n));
            if (value == "\x01")
                break;
            files.push_back(value);
        }
        return files;
    }

    // The names in "Sound\" in their on-disk spelling, as the preloading finds them.
    std::set<std::string> SoundFolder() {
        std::set<std::string> names;
        for (const Platform::DirectoryEntry& entry : Platform::FindFiles("Sound\\*")) {
            if (!entry.isDirectory)
                names.insert(entry.name);
        }
        return names;
    }

    std::vector<ShapeClass> Catalogue() {
        std::vector<ShapeClass> classes;
        tinyxml2::XMLDocument document;
        if (document.LoadFile(Platform::ResolvePath("classes.xml").c_str()) !=
            tinyxml2::XML_SUCCESS) {
            return classes;
        }
        const tinyxml2::XMLElement* root = document.RootElement();
        const tinyxml2::XMLElement* level = root ? root->FirstChildElement("Level") : nullptr;
        for (const tinyxml2::XMLElement* element = level ? level->FirstChildElement("ShapeClass")
                                                         : nullptr;
             element != nullptr; element = element->NextSiblingElement("ShapeClass")) {
            ShapeClass shapeClass;
            shapeClass.name = element->Attribute("name") ? element->Attribute("name") : "";
            shapeClass.soundEvent =
                element->Attribute("soundEvent") ? element->Attribute("soundEvent") : "";
            for (const tinyxml2::XMLElement* shape = element->FirstChildElement("Shape");
                 shape != nullptr; shape = shape->NextSiblingElement("Shape")) {
                ++shapeClass.shapeCount;
            }
            classes.push_back(shapeClass);
        }
        return classes;
    }

    // Every "clickSound" and "overSound" of the menu screens.
    std::set<std::string> MenuSounds() {
        std::set<std::string> sounds;
        for (const Platform::DirectoryEntry& entry : Platform::FindFiles("Menu\\*.xml")) {
            tinyxml2::XMLDocument document;
            if (document.LoadFile(Platform::ResolvePath("Menu\\" + entry.name).c_str()) !=
                tinyxml2::XML_SUCCESS) {
                continue;  // the menu files have their own test
            }
            CollectMenuSounds(document.RootElement(), sounds);
        }
        return sounds;
    }

    static void CollectMenuSounds(const tinyxml2::XMLElement* element,
                                  std::set<std::string>& sounds) {
        for (; element != nullptr; element = element->NextSiblingElement()) {
            for (const char* name : {"clickSound", "overSound"}) {
                const char* value = element->Attribute(name);
                if (value != nullptr && *value != '\0')
                    sounds.insert(value);
            }
            CollectMenuSounds(element->FirstChildElement(), sounds);
        }
    }

    TempFolder user_;
    ScopedCurrentDirectory inData_;
};

TEST_F(AudioLevelsDataTest, EveryFiredEventAndEveryClassEventHasSounds) {
    const std::vector<std::string> events = SoundEvents();
    ASSERT_FALSE(events.empty()) << "sound.ini is missing or empty";
    EXPECT_LE(events.size(), static_cast<size_t>(kMaxSoundEvents));
    const std::set<std::string> defined(events.begin(), events.end());
    EXPECT_EQ(defined.size(), events.size()) << "an event is defined twice";

    std::vector<std::string> wanted(std::begin(kFiredEvents), std::end(kFiredEvents));
    const std::vector<ShapeClass> classes = Catalogue();
    ASSERT_GE(classes.size(), 15u) << "classes.xml is missing or too short";
    for (const ShapeClass& shapeClass : classes) {
        EXPECT_FALSE(shapeClass.soundEvent.empty()) << shapeClass.name << " has no sound event";
        wanted.push_back(shapeClass.soundEvent);
    }
    for (const std::string& event : wanted) {
        // Event names are compared exactly, so the section must be spelled as the game fires it.
        EXPECT_TRUE(defined.count(event)) << "sound.ini lacks the event " << event;
        EXPECT_FALSE(EventFiles(event).empty()) << event << " has no file0";
    }
}

TEST_F(AudioLevelsDataTest, EventFilesExistWithTheirPreloadedSpelling) {
    const std::set<std::string> onDisk = SoundFolder();
    std::set<std::string> used;
    for (const std::string& event : SoundEvents()) {
        EXPECT_LE(event.size(), kMaxSoundName) << event;
        const std::string volume = IniValue(event, "volume");
        if (volume != "\x01") {
            char* end = nullptr;
            const double level = std::strtod(volume.c_str(), &end);
            EXPECT_TRUE(*end == '\0' && level > 0.0 && level <= 1.0) << event << " " << volume;
        }
        for (const std::string& file : EventFiles(event)) {
            EXPECT_LE(file.size(), kMaxSoundName) << file;
            // The sample table's keys are the preloaded names, "Sound\" + the on-disk name, and
            // are compared case-sensitively: any other spelling would load the file twice.
            ASSERT_EQ(file.rfind("Sound\\", 0), 0u) << event << ": " << file;
            const std::string name = file.substr(6);
            EXPECT_TRUE(onDisk.count(name)) << event << ": no file spelled " << file;
            EXPECT_EQ(name.substr(name.size() - 4), ".ogg") << file;
            used.insert(name);
        }
    }
    for (const std::string& sound : MenuSounds()) {
        ASSERT_EQ(sound.rfind("Sound\\", 0), 0u) << sound;
        EXPECT_TRUE(onDisk.count(sound.substr(6))) << "no file spelled " << sound;
        used.insert(sound.substr(6));
    }
    for (const char* menuSound : {"menu_click.ogg", "menu_hover.ogg"}) {
        EXPECT_TRUE(onDisk.count(menuSound)) << menuSound;
        used.insert(menuSound);
    }
    // Everything in the folder is preloaded, so a file nobody plays only wastes a sample.
    for (const std::string& name : onDisk) {
        EXPECT_TRUE(used.count(name)) << "Sound\\" << name << " is never played";
    }
}

TEST_F(AudioLevelsDataTest, SoundFolderFitsTheSampleTable) {
    const std::set<std::string> onDisk = SoundFolder();
    EXPECT_LE(onDisk.size(), kMaxSoundFolderFiles);
    std::map<std::string, int> stems;
    for (const std::string& name : onDisk) {
        const size_t dot = name.rfind('.');
        ASSERT_NE(dot, std::string::npos) << name;
        const std::string extension = name.substr(dot);
        EXPECT_TRUE(extension == ".ogg" || extension == ".wav") << name;
        ++stems[name.substr(0, dot)];
    }
    for (const auto& [stem, count] : stems) {
        // The loader finds x.wav before x.ogg: both would hold one sound in two samples.
        EXPECT_EQ(count, 1) << stem << " exists as both .wav and .ogg";
    }
    EXPECT_TRUE(Platform::FileExists("Music\\theme1.ogg"));
    std::set<std::string> music;
    for (const Platform::DirectoryEntry& entry : Platform::FindFiles("Music\\*")) {
        music.insert(entry.name);
    }
    EXPECT_TRUE(music.count("theme1.ogg")) << "the title music must be spelled Music\\theme1.ogg";
}

TEST_F(AudioLevelsDataTest, EveryLevelParsesAndFitsTheRules) {
    const std::vector<ShapeClass> classes = Catalogue();
    ASSERT_FALSE(classes.empty());
    std::map<std::string, int> catalogueIndex;
    for (size_t i = 0; i < classes.size(); ++i)
        catalogueIndex[classes[i].name] = i;

    const char* const numbers[] = {"newShapeTime",    "levelTime",           "shapeClassCount",
                                   "lineSpeed",       "fBugAppearanceRange", "lineShapeCount",
                                   "fBonusAnyShapeP", "fBonusBandP",         "fBonusAreaP"};
    for (int number = 1; number <= kLevelCount; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        const std::string file = "Levels\\level_" + std::to_string(number) + ".xml";
        tinyxml2::XMLDocument document;
        ASSERT_EQ(document.LoadFile(Platform::ResolvePath(file).c_str()), tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* map = document.FirstChildElement("LevelMap");
        ASSERT_NE(map, nullptr);

        std::map<std::string, double> value;
        for (const char* name : numbers) {
            EXPECT_TRUE(ReadNumber(map, name, value[name]))
                << name << " is missing or not a number";
        }
        const char* bonus = map->Attribute("bonusLevel");
        const char* list = map->Attribute("shapeClassList");
        ASSERT_NE(bonus, nullptr);
        ASSERT_NE(list, nullptr);

        // The last level of every stage, and the last level of the game, is a bonus level.
        const bool bonusLevel = number % 6 == 0 || number == kLevelCount;
        EXPECT_STREQ(bonus, bonusLevel ? "true" : "false");

        const std::vector<std::string> names = SplitCommas(list);
        EXPECT_EQ(value["shapeClassCount"], static_cast<double>(names.size()));
        EXPECT_GE(names.size(), 3u);
        EXPECT_LE(names.size(), static_cast<size_t>(kMaxClassesInList));
        EXPECT_LE(names.size(), classes.size());
        std::set<std::string> seen;
        for (const std::string& name : names) {
            EXPECT_TRUE(catalogueIndex.count(name)) << name << " is not in classes.xml";
            EXPECT_TRUE(seen.insert(name).second) << name << " is named twice";
        }

        const double cells = value["lineShapeCount"];
        EXPECT_EQ(cells, static_cast<int>(cells));
        EXPECT_GE(cells, 7) << "fewer cells than the screen height";
        EXPECT_LE(cells, 30);
        EXPECT_LE(kLineCount * cells, kMaxCells);
        EXPECT_GT(value["lineSpeed"], 0.0);
        EXPECT_LE(value["lineSpeed"], 0.1);
        EXPECT_GE(value["fBugAppearanceRange"], 10.0) << "bugs without a pause between them";
        for (const char* chance : {"fBonusAnyShapeP", "fBonusBandP", "fBonusAreaP"}) {
            EXPECT_GE(value[chance], 0.0) << chance;
            EXPECT_LE(value[chance], 0.25) << chance;
        }
        EXPECT_GT(value["levelTime"], 0.0);
        if (!bonusLevel) {
            // A good player needs well over two seconds a cell in Transformer mode (see
            // tools/data/levels/level_table.py); less time than that cannot be won.
            EXPECT_GE(value["levelTime"], 2.5 * kLineCount * cells);
        }
        if (number == 1) {
            // The tutorial uses the level's class 0 in its second picture.
            ASSERT_FALSE(names.empty());
            EXPECT_EQ(catalogueIndex[names[0]], 0);
            EXPECT_GE(classes[0].shapeCount, 2);
        }
    }
    // The game ends where the numbering ends.
    EXPECT_FALSE(Platform::FileExists("Levels\\level_" + std::to_string(kLevelCount + 1) + ".xml"));
}

}  // namespace
