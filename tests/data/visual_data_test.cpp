// Checks the game's pictures, fonts, menus and texts in data/ as the game reads them: the class
// catalogue and the menu files with the XML parser, "language.ini" through the language look-up,
// and every file name against the folder listing that the preloading uses. Fails when a file is
// missing or spelled differently from its preloaded key, when a menu lacks a control the game
// asks for (or has it as the wrong kind, or in the wrong order), when a field is longer than the
// game's tables hold, when a text has no translation, or when the symbol-font tables are broken.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "engine/menu.h"
#include "engine/private_profile.h"
#include "platform/folders.h"
#include "support/temp_folder.h"
#include "support/user_folder.h"
#if QUILLORY_WITH_IMAGE_READERS
#include "imagefiles/image_loader.h"
#endif

namespace {

namespace fs = std::filesystem;
using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

// The catalogue the levels and the sounds rely on, in catalogue order.
const char* const kClassNames[] = {
    "quill",    "feather",   "oak_leaf", "fern",        "acorn",     "snail",
    "beetle",   "key",       "seahorse", "nautilus",    "mushroom",  "moth",
    "pinecone", "magnifier", "inkpot",   "pocketwatch", "cherries",  "bellflower",
    "thistle",  "frog",      "lizard",   "crab",        "dragonfly", "tulip",
};
constexpr int kVariants = 4;
constexpr int kMaxClasses = 30;
constexpr int kMinClasses = 20;  // the game-complete screen shows entries 0 to 14; the map plays
                                 // entry stage + 3 for stages up to 7
constexpr int kMaxImages = 750;

// The folders the loading screen preloads; an image's key is one of these plus its on-disk name.
const char* const kPreloadFolders[] = {"Graphics\\", "Graphics\\Shapes\\", "English\\"};

// Images the game's code names itself.
const char* const kFixedImages[] = {
    "Graphics\\back_menu.jpg",
    "Graphics\\back_game01.jpg",
    "Graphics\\back_game02.jpg",
    "Graphics\\back_game03.jpg",
    "Graphics\\back_game04.jpg",
    "Graphics\\back_game05.jpg",
    "Graphics\\line1.png",
    "Graphics\\line2.png",
    "Graphics\\line3.png",
    "Graphics\\line4.png",
    "Graphics\\line5.png",
    "Graphics\\line6.png",
    "Graphics\\line_a.png",
    "Graphics\\qy_bonus01.png",
    "Graphics\\qy_bonus02.png",
    "Graphics\\qy_bonus03.png",
    "Graphics\\qy_bottom_bar.jpg",
    "Graphics\\progress-empty.png",
    "Graphics\\progress-full.png",
    "Graphics\\loading_empty.png",
    "Graphics\\loading_full.png",
    "Graphics\\round_time.png",
    "Graphics\\digits.png",
    "Graphics\\particleq.png",
    "Graphics\\particleq2.png",
    "Graphics\\particle1.png",
    "Graphics\\particle2.png",
    "Graphics\\star-rotation.png",
    "Graphics\\qy_effect_chomp.png",
    "Graphics\\qy_effect_star.png",
    "Graphics\\grey.png",
    "Graphics\\arrow.png",
    "Graphics\\status-border.png",
    "Graphics\\bug_right.png",
    "Graphics\\butterfly_anim1_left.png",
    "Graphics\\butterfly_anim1_right.png",
    "Graphics\\butterfly_anim2_left.png",
    "Graphics\\butterfly_anim2_right.png",
    "Graphics\\butterfly_anim3_left.png",
    "Graphics\\butterfly_anim3_right.png",
    "Graphics\\butterfly_anim4_left.png",
    "Graphics\\butterfly_anim4_right.png",
    "English\\font01.png",
    "English\\hint1.png",
    "English\\hint2.png",
    "English\\hint3.png",
    "English\\status-border.png",
};

// Language keys the game's code draws or looks up.
const char* const kGameTextKeys[] = {
    "Quillory",    "English\\",      "FPS",    "LevelText", "ScoreText", "BonusScore", "Level",
    "Bonus Level", "Level Complete", "Bonus!", "No Bonus",  "#",         "Name",       "Score",
    "Classic",     "Transformer",    "Relax",
};

const char* const kMenuFiles[] = {
    "menu-main.xml",
    "menu-game-over.xml",
    "menu-highscores.xml",
    "menu-ingame.xml",
    "menu-pause.xml",
    "menu-options.xml",
    "menu-map.xml",
    "menu-info-classic.xml",
    "menu-info-relax.xml",
    "menu-info-transformer.xml",
    "menu-clear-confirmation.xml",
    "menu-continue-confirmation.xml",
    "menu-game-complete.xml",
    "menu-instructions.xml",
    "menu-instructions2.xml",
    "menu-instructions3.xml",
    "menu-intro.xml",
    "menu-credits.xml",
};

// The action names each screen's state understands; any other action would do nothing.
const std::map<std::string, std::set<std::string>> kKnownActions = {
    {"menu-main.xml",
     {"procClassicGame", "procTransformerGame", "procRelaxGame", "procLevelSimple",
      "procLevelAdvanced", "procOptions", "procInstructions", "procHighScores", "procExit",
      "procLogo", "procMoreGames", "procTellAFriend", "procSubscribe"}},
    {"menu-ingame.xml", {"procMenu", "procDiscard"}},
    {"menu-map.xml",
     {"procStart", "procStage1", "procStage2", "procStage3", "procStage4", "procStage5",
      "procStage6", "procStage7"}},
    {"menu-pause.xml", {"procOptions", "procResume", "procEnd"}},
    {"menu-highscores.xml", {"procClear", "procClose", "procPrevious", "procNext"}},
    {"menu-options.xml",
     {"procSoundMode", "procMusicMode", "procFullScreenMode", "proc3DHardware", "procCredits",
      "procClose"}},
    {"menu-instructions.xml", {"procNext", "procClose"}},
    {"menu-instructions2.xml", {"procPrevious", "procNext", "procClose"}},
    {"menu-instructions3.xml", {"procPrevious", "procClose"}},
    {"menu-game-over.xml", {"procContinue", "procExit"}},
    {"menu-clear-confirmation.xml", {"procYes", "procNo"}},
    {"menu-continue-confirmation.xml", {"procLoad", "procNew", "procCancel"}},
    {"menu-game-complete.xml", {"procMenu"}},
    {"menu-credits.xml", {"procOk"}},
    // Shown but never given input.
    {"menu-info-classic.xml", {}},
    {"menu-info-relax.xml", {}},
    {"menu-info-transformer.xml", {}},
    {"menu-intro.xml", {}},
};

// A control the game asks for: its element kind, its name (empty: any) and its action (empty:
// none asked).
struct RequiredControl {
    const char* kind;
    const char* name;
    const char* action;
};

const std::map<std::string, std::vector<RequiredControl>> kRequiredControls = {
    {"menu-main.xml",
     {{"Button", "btnClassicGame", "procClassicGame"},
      {"Button", "btnTransformerGame", "procTransformerGame"},
      {"Button", "", "procRelaxGame"},
      {"Button", "", "procOptions"},
      {"Button", "", "procInstructions"},
      {"Button", "", "procHighScores"},
      {"Button", "", "procExit"}}},
    {"menu-ingame.xml",
     {{"Text", "txtScoreNum", ""},
      {"Text", "txtTimeNum", ""},
      {"Text", "txtLevelNum", ""},
      {"Text", "txtMeterBar", ""},
      {"Button", "", "procMenu"},
      {"Button", "", "procDiscard"}}},
    {"menu-pause.xml",
     {{"Button", "", "procResume"}, {"Button", "", "procOptions"}, {"Button", "", "procEnd"}}},
    {"menu-options.xml",
     {{"Slider", "MusicVolume", "procMusicMode"},
      {"Slider", "SfxVolume", "procSoundMode"},
      {"Button", "btnFullScreen", "procFullScreenMode"},
      {"Button", "btn3DHardware", "proc3DHardware"},
      {"Button", "", "procCredits"},
      {"Button", "", "procClose"}}},
    {"menu-highscores.xml",
     {{"Text", "txtGameType", ""},
      {"Button", "", "procClear"},
      {"Button", "", "procClose"},
      {"Button", "", "procPrevious"},
      {"Button", "", "procNext"}}},
    {"menu-game-over.xml", {{"Button", "", "procContinue"}, {"Button", "", "procExit"}}},
    {"menu-game-complete.xml", {{"Button", "", "procMenu"}}},
    {"menu-clear-confirmation.xml", {{"Button", "", "procYes"}, {"Button", "", "procNo"}}},
    {"menu-continue-confirmation.xml",
     {{"Text", "txtLevelNum", ""},
      {"Text", "txtScoreNum", ""},
      {"Button", "", "procLoad"},
      {"Button", "", "procNew"},
      {"Button", "", "procCancel"}}},
    {"menu-instructions.xml", {{"Button", "", "procNext"}, {"Button", "", "procClose"}}},
    {"menu-instructions2.xml",
     {{"Button", "", "procPrevious"}, {"Button", "", "procNext"}, {"Button", "", "procClose"}}},
    {"menu-instructions3.xml", {{"Button", "", "procPrevious"}, {"Button", "", "procClose"}}},
    {"menu-credits.xml", {{"Button", "", "procOk"}}},
};

// Texts whose contents the game sets at run time: their file text is only a placeholder.
const std::set<std::string> kTextsSetByGame = {"txtScoreNum", "txtTimeNum", "txtLevelNum",
                                               "txtMeterBar", "txtGameType"};

// Field widths of the menu tables, terminator included.
struct FieldWidth {
    const char* kind;
    const char* attribute;
    size_t width;
};
const FieldWidth kFieldWidths[] = {
    {"Screen", "bgImage", 80},
    {"Screen", "clickSound", 60},
    {"Screen", "overSound", 60},
    {"Screen", "buttonFont", 70},
    {"Screen", "buttonOverFont", 70},
    {"Button", "name", 40},
    {"Button", "radioGroup", 40},
    {"Button", "text", 40},
    {"Button", "align", 40},
    {"Button", "stretch", 40},
    {"Button", "outImg", 80},
    {"Button", "overImg", 80},
    {"Button", "outImgChecked", 80},
    {"Button", "overImgChecked", 80},
    {"Button", "action", 40},
    {"Slider", "name", 40},
    {"Slider", "outSliderImg", 80},
    {"Slider", "overSliderImg", 80},
    {"Slider", "outThumbImg", 80},
    {"Slider", "overThumbImg", 80},
    {"Slider", "action", 40},
    {"Edit", "name", 40},
    {"Edit", "text", 100},
    {"Edit", "align", 40},
    {"Edit", "stretch", 40},
    {"Edit", "blockedchars", 80},
    {"Image", "stretch", 40},
    {"Image", "img", 80},
    {"Text", "stretch", 40},
    {"Text", "name", 40},
    {"Text", "text", 100},
    {"Text", "align", 40},
    {"Text", "font", 72},
};

const std::map<std::string, int> kControlLimits = {
    {"Button", 30}, {"Slider", 5}, {"Edit", 3}, {"Image", 20}, {"Text", 45}};

// The source tree's data folder, made absolute before any test changes the current directory.
std::string DataFolder() {
    static const std::string folder = [] {
        const char* source = std::getenv("QUILLORY_SOURCE_DIR");
        return fs::absolute(fs::path(source ? source : QUILLORY_DATA_SOURCE) / "data").string();
    }();
    return folder;
}

std::vector<std::string> SplitKey(const std::string& key) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : key) {
        if (c == '\\') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

// Whether a data path ("Graphics\Shapes\quill_0.png") names a file whose every folder and file
// name is spelled exactly as on disk (the image table's keys are case-sensitive).
bool ExistsWithExactSpelling(const std::string& key) {
    fs::path at(DataFolder());
    const std::vector<std::string> parts = SplitKey(key);
    for (size_t i = 0; i < parts.size(); ++i) {
        bool found = false;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(at, error)) {
            if (entry.path().filename().string() == parts[i]) {
                found = i + 1 < parts.size() ? entry.is_directory() : entry.is_regular_file();
                break;
            }
        }
        if (!found) {
            return false;
        }
        at /= parts[i];
    }
    return true;
}

// Whether an image name is the very key the preloading gives that file: one of the preloaded
// folders followed by the file's on-disk name. Another spelling would load the picture twice.
bool IsPreloadedKey(const std::string& key) {
    const size_t slash = key.rfind('\\');
    if (slash == std::string::npos) {
        return false;
    }
    const std::string folder = key.substr(0, slash + 1);
    const bool preloaded = std::any_of(std::begin(kPreloadFolders), std::end(kPreloadFolders),
                                       [&](const char* f) { return folder == f; });
    return preloaded && ExistsWithExactSpelling(key);
}

std::vector<const tinyxml2::XMLElement*> Children(const tinyxml2::XMLElement* parent,
                                                  const char* kind) {
    std::vector<const tinyxml2::XMLElement*> out;
    for (const tinyxml2::XMLElement* e = parent ? parent->FirstChildElement(kind) : nullptr; e;
         e = e->NextSiblingElement(kind)) {
        out.push_back(e);
    }
    return out;
}

std::string Attr(const tinyxml2::XMLElement* e, const char* name) {
    const char* value = e->Attribute(name);
    return value ? value : "";
}

float Number(const tinyxml2::XMLElement* e, const char* name) {
    return std::strtof(Attr(e, name).c_str(), nullptr);
}

struct Rect {
    float left, top, right, bottom;
    bool Overlaps(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

Rect ControlRect(const tinyxml2::XMLElement* e) {
    const float x = Number(e, "xc"), y = Number(e, "yc");
    const float w = Number(e, "width"), h = Number(e, "height");
    return {x - w / 2, y - h / 2, x + w / 2, y + h / 2};
}

// Each test reads the data folder as the game does: from its current directory, with a fresh
// user folder, so a stray user copy of an INI file cannot stand in for the shipped one.
class VisualDataTest : public ::testing::Test {
protected:
    VisualDataTest() : inData_(DataFolder()) { Quillory::SetLanguageName("ENGLISH"); }

    bool LoadMenu(const std::string& file, tinyxml2::XMLDocument& document) {
        const std::string path = DataFolder() + "/Menu/" + file;
        return document.LoadFile(path.c_str()) == tinyxml2::XML_SUCCESS;
    }

    std::string Language(const std::string& key) {
        return Quillory::GetLanguageString(key.c_str());
    }

    TestSupport::TestUserFolder user_;
    ScopedCurrentDirectory inData_;
};

TEST_F(VisualDataTest, ClassCatalogueNamesEveryClassWithFourTurns) {
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.LoadFile((DataFolder() + "/classes.xml").c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* root = document.RootElement();
    ASSERT_NE(root, nullptr);
    const auto classes = Children(root->FirstChildElement("Level"), "ShapeClass");
    ASSERT_GE(static_cast<int>(classes.size()), kMinClasses);
    ASSERT_LE(static_cast<int>(classes.size()), kMaxClasses);
    ASSERT_EQ(classes.size(), std::size(kClassNames));

    std::set<std::string> events;
    for (size_t k = 0; k < classes.size(); ++k) {
        const std::string name = Attr(classes[k], "name");
        SCOPED_TRACE(name);
        EXPECT_EQ(name, kClassNames[k]) << "catalogue entry " << k;
        EXPECT_EQ(Attr(classes[k], "soundEvent"), "class_" + name);
        EXPECT_TRUE(events.insert(Attr(classes[k], "soundEvent")).second) << "shared sound event";
        EXPECT_LE(Attr(classes[k], "soundEvent").size(), 59u);  // sound events are char[60]
        const auto shapes = Children(classes[k], "Shape");
        ASSERT_EQ(shapes.size(), static_cast<size_t>(kVariants));
        for (int v = 0; v < kVariants; ++v) {
            const std::string main = Attr(shapes[v], "mainImage");
            const std::string mask = Attr(shapes[v], "maskImage");
            const std::string stem = "Graphics\\Shapes\\" + name + "_" + std::to_string(v);
            EXPECT_EQ(main, stem + ".png");
            EXPECT_EQ(mask, stem + "_mask.png");
            EXPECT_TRUE(IsPreloadedKey(main)) << main;
            EXPECT_TRUE(IsPreloadedKey(mask)) << mask;
            EXPECT_LT(main.size(), 255u);
            EXPECT_LT(mask.size(), 255u);
        }
    }
}

TEST_F(VisualDataTest, ImagesTheGameNamesExistWithTheirPreloadedSpelling) {
    for (const char* image : kFixedImages) {
        EXPECT_TRUE(IsPreloadedKey(image)) << image;
    }
    // The language folder that the texts name holds the first font.
    const std::string folder = Language("English\\");
    EXPECT_EQ(folder, "English\\");
    EXPECT_TRUE(IsPreloadedKey(folder + "font01.png"));
}

TEST_F(VisualDataTest, PreloadedFoldersHoldOnlyPicturesThatFitTheImageTable) {
    int images = 0;
    for (const char* folder : kPreloadFolders) {
        fs::path at(DataFolder());
        for (const std::string& part : SplitKey(folder)) {
            at /= part;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(at)) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const std::string name = entry.path().filename().string();
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
            EXPECT_TRUE(extension == ".png" || extension == ".jpg") << folder << name;
            // "_x.png" or "x.png_" beside a picture would be taken as its alpha file.
            EXPECT_NE(name.front(), '_') << folder << name;
            EXPECT_NE(name.back(), '_') << folder << name;
            EXPECT_LT((std::string(folder) + name).size(), 80u) << name;
            ++images;
        }
    }
    // Pictures named outside these folders are loaded on demand: leave them room.
    EXPECT_LE(images, kMaxImages - 50);
}

TEST_F(VisualDataTest, DataFolderShipsNoPlayerFiles) {
    for (const char* file : {"config.ini", "saved.ini", "scores.ini", "registry.ini"}) {
        EXPECT_FALSE(fs::exists(fs::path(DataFolder()) / file)) << file;
    }
}

TEST_F(VisualDataTest, EveryMenuLoadsWithinTheTablesAndNamesExistingFiles) {
    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        ASSERT_NE(screen, nullptr);
        for (const auto& [kind, limit] : kControlLimits) {
            EXPECT_LE(static_cast<int>(Children(screen, kind.c_str()).size()), limit) << kind;
        }
        for (const FieldWidth& field : kFieldWidths) {
            const auto elements = std::strcmp(field.kind, "Screen") == 0
                                      ? std::vector<const tinyxml2::XMLElement*>{screen}
                                      : Children(screen, field.kind);
            for (const tinyxml2::XMLElement* e : elements) {
                EXPECT_LT(Attr(e, field.attribute).size(), field.width)
                    << field.kind << " " << field.attribute << " " << Attr(e, field.attribute);
            }
        }
        // Every picture and font a screen names is a preloaded key.
        std::vector<std::string> images = {Attr(screen, "bgImage"), Attr(screen, "buttonFont"),
                                           Attr(screen, "buttonOverFont")};
        for (const auto* b : Children(screen, "Button")) {
            for (const char* a : {"outImg", "overImg", "outImgChecked", "overImgChecked"}) {
                images.push_back(Attr(b, a));
            }
        }
        for (const auto* s : Children(screen, "Slider")) {
            for (const char* a : {"outSliderImg", "overSliderImg", "outThumbImg", "overThumbImg"}) {
                images.push_back(Attr(s, a));
            }
        }
        for (const auto* i : Children(screen, "Image")) {
            images.push_back(Attr(i, "img"));
        }
        for (const auto* t : Children(screen, "Text")) {
            images.push_back(Attr(t, "font"));
        }
        for (const std::string& image : images) {
            if (!image.empty()) {
                EXPECT_TRUE(IsPreloadedKey(image)) << image;
            }
        }
        // The click and hover sounds are the two the sound folder provides for menus.
        EXPECT_EQ(Attr(screen, "clickSound"), "Sound\\menu_click.ogg");
        EXPECT_EQ(Attr(screen, "overSound"), "Sound\\menu_hover.ogg");
    }
}

TEST_F(VisualDataTest, EveryScreenHasTheControlsTheGameUsesAsTheRightKind) {
    for (const auto& [file, required] : kRequiredControls) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        for (const RequiredControl& control : required) {
            const std::string name = control.name, action = control.action;
            int matches = 0;
            for (const auto* e : Children(screen, control.kind)) {
                const bool nameFits = name.empty() || Attr(e, "name") == name;
                const bool actionFits = action.empty() || Attr(e, "action") == action;
                matches += nameFits && actionFits;
            }
            EXPECT_EQ(matches, 1) << control.kind << " " << name << " " << action;
            if (!name.empty()) {
                // The game finds a control by name in one table only.
                for (const char* kind : {"Button", "Slider", "Text", "Edit"}) {
                    if (std::strcmp(kind, control.kind) == 0) {
                        continue;
                    }
                    for (const auto* e : Children(screen, kind)) {
                        EXPECT_NE(Attr(e, "name"), name) << "also a " << kind;
                    }
                }
            }
        }
    }
}

TEST_F(VisualDataTest, EveryActionIsOneTheScreensStateUnderstands) {
    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        const std::set<std::string>& known = kKnownActions.at(file);
        for (const char* kind : {"Button", "Slider"}) {
            for (const auto* e : Children(screen, kind)) {
                const std::string action = Attr(e, "action");
                EXPECT_TRUE(known.count(action)) << Attr(e, "name") << " -> '" << action << "'";
            }
        }
    }
}

TEST_F(VisualDataTest, CheckBoxesAndSlidersAreComplete) {
    tinyxml2::XMLDocument document;
    ASSERT_TRUE(LoadMenu("menu-options.xml", document));
    const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
    for (const auto* b : Children(screen, "Button")) {
        const std::string name = Attr(b, "name");
        const bool checkBox = name == "btnFullScreen" || name == "btn3DHardware";
        // A check box is a button with a checked picture; the other buttons must not be one, or
        // a click would toggle and store them.
        EXPECT_EQ(!Attr(b, "outImgChecked").empty(), checkBox) << name;
        EXPECT_EQ(!Attr(b, "overImgChecked").empty(), checkBox) << name;
    }
    for (const auto* s : Children(screen, "Slider")) {
        for (const char* a : {"outSliderImg", "overSliderImg", "outThumbImg", "overThumbImg"}) {
            EXPECT_FALSE(Attr(s, a).empty()) << Attr(s, "name") << " " << a;
        }
    }
}

TEST_F(VisualDataTest, StageMapListsStartThenTheSevenStagesInOrder) {
    tinyxml2::XMLDocument document;
    ASSERT_TRUE(LoadMenu("menu-map.xml", document));
    const auto buttons = Children(document.FirstChildElement("Screen"), "Button");
    ASSERT_GE(buttons.size(), 8u);
    // The game moves its marker to the button whose number is the stage.
    EXPECT_EQ(Attr(buttons[0], "action"), "procStart");
    EXPECT_EQ(Attr(buttons[0], "name").rfind("btnStage", 0), std::string::npos);
    for (int stage = 1; stage <= 7; ++stage) {
        EXPECT_EQ(Attr(buttons[stage], "name"), "btnStage" + std::to_string(stage));
        EXPECT_EQ(Attr(buttons[stage], "action"), "procStage" + std::to_string(stage));
    }
    for (size_t i = 8; i < buttons.size(); ++i) {
        EXPECT_EQ(Attr(buttons[i], "name").rfind("btnStage", 0), std::string::npos);
    }
}

TEST_F(VisualDataTest, ButtonsAreOnScreenAndNeverOverlap) {
    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const auto buttons = Children(document.FirstChildElement("Screen"), "Button");
        for (size_t i = 0; i < buttons.size(); ++i) {
            const Rect r = ControlRect(buttons[i]);
            EXPECT_GT(r.right - r.left, 0.f) << Attr(buttons[i], "name");
            EXPECT_GE(r.left, 0.f);
            EXPECT_GE(r.top, 0.f);
            EXPECT_LE(r.right, 1.f);
            EXPECT_LE(r.bottom, 1.f);
            // A click on an overlap would always go to the earlier button.
            for (size_t j = i + 1; j < buttons.size(); ++j) {
                EXPECT_FALSE(r.Overlaps(ControlRect(buttons[j])))
                    << Attr(buttons[i], "name") << " / " << Attr(buttons[j], "name");
            }
        }
    }
}

TEST_F(VisualDataTest, ScreensLeaveFreeWhatTheGameDrawsThemselves) {
    // Rows 1 to 10 of the high-score table: y 0.29 + r x 0.045, 0.036 high, from x 0.25 on.
    const Rect table = {0.24f, 0.29f + 0.045f - 0.018f, 0.85f, 0.29f + 10 * 0.045f + 0.018f};
    // The 5 x 3 grid of pictures revealed at the game's end.
    const Rect grid = {0.31f - 0.0445f, 0.44f - 0.0594f, 0.666f + 0.0445f, 0.6775f + 0.0594f};
    // The loading gauge.
    const Rect gauge = {0.5f - 0.125f, 0.75f - 0.045f, 0.5f + 0.125f, 0.75f + 0.045f};
    const std::vector<std::pair<std::string, Rect>> reserved = {{"menu-highscores.xml", table},
                                                                {"menu-game-complete.xml", grid},
                                                                {"menu-intro.xml", gauge}};
    for (const auto& [file, area] : reserved) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        for (const auto* b : Children(screen, "Button")) {
            EXPECT_FALSE(ControlRect(b).Overlaps(area)) << Attr(b, "name");
        }
        for (const auto* t : Children(screen, "Text")) {
            if (!Attr(t, "text").empty() || !Attr(t, "name").empty()) {
                const float x = Number(t, "xc"), y = Number(t, "yc"), h = Number(t, "size");
                const Rect r = {x - 0.001f, y - h / 2, x + 0.001f, y + h / 2};
                EXPECT_FALSE(r.Overlaps(area)) << Attr(t, "text");
            }
        }
    }
    // The numbers of the play screen sit in its status panel, the left fifth of the screen.
    tinyxml2::XMLDocument ingame;
    ASSERT_TRUE(LoadMenu("menu-ingame.xml", ingame));
    for (const auto* t : Children(ingame.FirstChildElement("Screen"), "Text")) {
        EXPECT_LT(Number(t, "xc"), 0.2f) << Attr(t, "name");
    }
    // The mode panels appear beside the main menu and must not hide its buttons.
    tinyxml2::XMLDocument main;
    ASSERT_TRUE(LoadMenu("menu-main.xml", main));
    for (const char* file :
         {"menu-info-classic.xml", "menu-info-transformer.xml", "menu-info-relax.xml"}) {
        tinyxml2::XMLDocument info;
        ASSERT_TRUE(LoadMenu(file, info));
        const Rect panel = ControlRect(info.FirstChildElement("Screen"));
        EXPECT_FALSE(Attr(info.FirstChildElement("Screen"), "bgImage").empty()) << file;
        for (const auto* b : Children(main.FirstChildElement("Screen"), "Button")) {
            EXPECT_FALSE(panel.Overlaps(ControlRect(b))) << file << " hides " << Attr(b, "name");
        }
    }
}

TEST_F(VisualDataTest, EveryTextTheGameOrTheMenusDrawHasATranslation) {
    for (const char* key : kGameTextKeys) {
        EXPECT_FALSE(Language(key).empty()) << key;
    }
    EXPECT_EQ(Language("Quillory"), "Quillory");
    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        std::vector<std::string> keys;
        for (const auto* b : Children(screen, "Button")) {
            keys.push_back(Attr(b, "text"));
        }
        for (const auto* t : Children(screen, "Text")) {
            if (!kTextsSetByGame.count(Attr(t, "name"))) {
                keys.push_back(Attr(t, "text"));
            }
        }
        for (const std::string& key : keys) {
            if (!key.empty() && key.find(".png") == std::string::npos) {
                EXPECT_FALSE(Language(key).empty()) << key;
                EXPECT_LT(Language(key).size(), 100u) << key;
            }
        }
    }
}

TEST_F(VisualDataTest, SymbolFontTablesCoverPrintableTextWithMeasuredWidths) {
    const std::string symbols = Language("SymbolList");
    // Every printable character, the blank included (typed names have blanks), once.
    for (int c = 32; c < 127; ++c) {
        EXPECT_EQ(std::count(symbols.begin(), symbols.end(), static_cast<char>(c)), 1)
            << "'" << static_cast<char>(c) << "'";
    }
    const int columns = std::atoi(Language("SYMBOLS_IN_ROW").c_str());
    const int rows = std::atoi(Language("SYMBOLS_IN_COL").c_str());
    ASSERT_GT(columns, 0);
    ASSERT_GT(rows, 0);
    ASSERT_LT(rows, 10);  // row keys "Line01_Width" to "Line09_Width"
    ASSERT_LE(columns * rows, 255);
    ASSERT_LE(static_cast<int>(symbols.size()), columns * rows);
    std::vector<float> widths;
    for (int r = 1; r <= rows; ++r) {
        const std::string key = "Line0" + std::to_string(r) + "_Width";
        const std::string row = Language(key);
        ASSERT_FALSE(row.empty()) << key;
        int count = 0;
        for (size_t at = 0; at <= row.size();) {
            const size_t comma = std::min(row.find(',', at), row.size());
            const std::string token = row.substr(at, comma - at);
            char* end = nullptr;
            const float value = std::strtof(token.c_str(), &end);
            EXPECT_NE(end, token.c_str()) << key << " '" << token << "'";
            EXPECT_GE(value, 0.f) << key;
            EXPECT_LE(value, 16.f) << key;  // sixteenths of a cell
            widths.push_back(value);
            ++count;
            at = comma + 1;
        }
        EXPECT_EQ(count, columns) << key;
    }
    for (size_t i = 0; i < symbols.size() && i < widths.size(); ++i) {
        EXPECT_GT(widths[i], 0.f) << "'" << symbols[i] << "' has no advance";
    }
}

TEST_F(VisualDataTest, TheGamesMenuLoaderReadsEveryScreenWhole) {
    user_.StartLog();
    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        auto menu = std::make_unique<Quillory::CMenu>();
        ASSERT_EQ(menu->Load(("Menu\\" + std::string(file)).c_str()), 1);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        // Nothing dropped and no field cut: the game holds what the file says.
        const auto buttons = Children(screen, "Button");
        ASSERT_EQ(menu->ButtonCount(), static_cast<int>(buttons.size()));
        for (size_t i = 0; i < buttons.size(); ++i) {
            const Quillory::MenuButton& button = menu->Button(static_cast<int>(i));
            EXPECT_EQ(std::string(button.name), Attr(buttons[i], "name"));
            EXPECT_EQ(std::string(button.text), Attr(buttons[i], "text"));
            EXPECT_EQ(std::string(button.action), Attr(buttons[i], "action"));
            EXPECT_EQ(std::string(button.outImg), Attr(buttons[i], "outImg"));
            EXPECT_EQ(std::string(button.overImg), Attr(buttons[i], "overImg"));
        }
        const auto texts = Children(screen, "Text");
        ASSERT_EQ(menu->TextCount(), static_cast<int>(texts.size()));
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(std::string(menu->Text(static_cast<int>(i)).text), Attr(texts[i], "text"));
            EXPECT_EQ(std::string(menu->Text(static_cast<int>(i)).font), Attr(texts[i], "font"));
        }
        EXPECT_EQ(menu->ImageCount(), static_cast<int>(Children(screen, "Image").size()));
        EXPECT_EQ(menu->SliderCount(), static_cast<int>(Children(screen, "Slider").size()));
        EXPECT_EQ(std::string(menu->BackgroundImage()), Attr(screen, "bgImage"));
    }
    user_.StopLog();
    const std::string entries = user_.Log();
    EXPECT_NE(entries.find("menu-credits.xml"), std::string::npos) << "the loads were not logged";
    EXPECT_EQ(entries.find("WARNING"), std::string::npos) << entries;
    EXPECT_EQ(entries.find("FAIL"), std::string::npos) << entries;
}

#if QUILLORY_WITH_IMAGE_READERS

// Every picture decoded as the sprite manager loads it: through the archive layer, by its key,
// looking for a separate alpha file.
class VisualImagesTest : public VisualDataTest {
protected:
    const ImageLib::Image* Load(const std::string& key) {
        auto found = images_.find(key);
        if (found == images_.end()) {
            found = images_.emplace(key, ImageLib::LoadImageFile(key, true)).first;
        }
        return found->second.get();
    }

    // Size in pixels, or (0, 0) when the picture does not decode.
    std::pair<int, int> SizeOf(const std::string& key) {
        const ImageLib::Image* image = Load(key);
        return image ? std::make_pair(image->width, image->height) : std::make_pair(0, 0);
    }

    static int Alpha(const ImageLib::Image& image, int x, int y) { return image.At(x, y) >> 24; }

    std::map<std::string, std::unique_ptr<ImageLib::Image>> images_;
};

// Pixels covered by a silhouette (alpha above a third).
std::vector<bool> Coverage(const ImageLib::Image& image) {
    std::vector<bool> covered(image.bits.size());
    for (size_t i = 0; i < image.bits.size(); ++i) {
        covered[i] = (image.bits[i] >> 24) > 85;
    }
    return covered;
}

// 1 - intersection / union of two coverages: 0 for the same silhouette, 1 for disjoint ones.
double Difference(const std::vector<bool>& a, const std::vector<bool>& b) {
    size_t both = 0, either = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either ? 1.0 - static_cast<double>(both) / either : 0.0;
}

TEST_F(VisualImagesTest, EveryPreloadedPictureDecodes) {
    for (const char* folder : kPreloadFolders) {
        fs::path at(DataFolder());
        for (const std::string& part : SplitKey(folder)) {
            at /= part;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(at)) {
            if (entry.is_regular_file()) {
                const std::string key = folder + entry.path().filename().string();
                EXPECT_NE(Load(key), nullptr) << key;
            }
        }
    }
}

TEST_F(VisualImagesTest, ShapePicturesFillOneCellWithCleanEdgesAndDistinctSilhouettes) {
    std::vector<std::vector<std::vector<bool>>> masks;
    for (const char* name : kClassNames) {
        SCOPED_TRACE(name);
        masks.emplace_back();
        for (int v = 0; v < kVariants; ++v) {
            const std::string stem =
                std::string("Graphics\\Shapes\\") + name + "_" + std::to_string(v);
            for (const std::string& key : {stem + ".png", stem + "_mask.png"}) {
                const ImageLib::Image* image = Load(key);
                ASSERT_NE(image, nullptr) << key;
                // A cell is 0.0890625 x 800 by 0.11875 x 600 pixels, drawn at natural size.
                EXPECT_EQ(image->width, 71) << key;
                EXPECT_EQ(image->height, 71) << key;
                EXPECT_EQ(Alpha(*image, 0, 0), 0) << key;
                EXPECT_EQ(Alpha(*image, 70, 0), 0) << key;
                int soft = 0, solid = 0;
                for (uint32_t pixel : image->bits) {
                    const int alpha = pixel >> 24;
                    soft += alpha > 0 && alpha < 200;
                    solid += alpha >= 200;
                }
                EXPECT_GT(solid, 71 * 71 / 10) << key << ": too little to see";
                EXPECT_GT(soft, 20) << key << ": hard, aliased edges";
            }
            masks.back().push_back(Coverage(*Load(stem + "_mask.png")));
            // The silhouette is the picture's own outline.
            EXPECT_LT(Difference(Coverage(*Load(stem + ".png")), masks.back().back()), 0.2);
        }
        // Transformer mode turns the held picture: its four turns must look different.
        for (int a = 0; a < kVariants; ++a) {
            for (int b = a + 1; b < kVariants; ++b) {
                EXPECT_GT(Difference(masks.back()[a], masks.back()[b]), 0.15)
                    << "turns " << a << " and " << b;
            }
        }
    }
    // No two classes share a silhouette, whichever way each is turned.
    for (size_t i = 0; i < masks.size(); ++i) {
        for (size_t j = i + 1; j < masks.size(); ++j) {
            for (int a = 0; a < kVariants; ++a) {
                for (int b = 0; b < kVariants; ++b) {
                    EXPECT_GT(Difference(masks[i][a], masks[j][b]), 0.15)
                        << kClassNames[i] << " " << a << " / " << kClassNames[j] << " " << b;
                }
            }
        }
    }
}

TEST_F(VisualImagesTest, PlayScreenPicturesHaveTheSizesTheyAreDrawnAt) {
    using Size = std::pair<int, int>;
    EXPECT_EQ(SizeOf("Graphics\\back_menu.jpg"), Size(800, 600));
    for (int i = 1; i <= 5; ++i) {
        // Stretched to 0.86 x 0.86 of the screen.
        EXPECT_EQ(SizeOf("Graphics\\back_game0" + std::to_string(i) + ".jpg"), Size(688, 516));
    }
    // Line tiles are stacked 0.15833333 x 600 = 95 pixels apart and lines stand 95 apart.
    const Size tile = SizeOf("Graphics\\line1.png");
    EXPECT_EQ(tile.second, 95);
    EXPECT_LE(tile.first, 95);
    EXPECT_GE(tile.first, 71);
    for (const char* key : {"Graphics\\line2.png", "Graphics\\line3.png", "Graphics\\line4.png",
                            "Graphics\\line5.png", "Graphics\\line6.png", "Graphics\\line_a.png"}) {
        EXPECT_EQ(SizeOf(key), tile) << key;
    }
    for (const char* key : {"Graphics\\qy_bonus01.png", "Graphics\\qy_bonus02.png",
                            "Graphics\\qy_bonus03.png", "Graphics\\qy_effect_chomp.png"}) {
        EXPECT_EQ(SizeOf(key), Size(71, 71)) << key;
    }
    // The conveyor's bar, centred at (0.59, 0.915), reaches the right and bottom edges.
    const Size bar = SizeOf("Graphics\\qy_bottom_bar.jpg");
    EXPECT_GE(0.59 * 800 + bar.first / 2.0, 800.0);
    EXPECT_GE(0.915 * 600 + bar.second / 2.0, 600.0);
    EXPECT_EQ(SizeOf("Graphics\\progress-empty.png"), SizeOf("Graphics\\progress-full.png"));
    EXPECT_EQ(SizeOf("Graphics\\loading_empty.png"), SizeOf("Graphics\\loading_full.png"));
    EXPECT_LE(SizeOf("Graphics\\progress-full.png").first, 150);  // inside the status panel
    EXPECT_EQ(SizeOf("Graphics\\digits.png").first % 10, 0);
    const Size stars = SizeOf("Graphics\\star-rotation.png");
    EXPECT_EQ(stars.first % 3, 0);
    EXPECT_EQ(stars.second % 3, 0);
    EXPECT_EQ(SizeOf("Graphics\\qy_effect_star.png"), Size(29, 29));  // 0.036 x 0.048
    // Creatures: 6 x 1 sheets drawn a cell at natural size: the bug 0.072 x 0.096, the
    // butterflies 0.048 x 0.064.
    EXPECT_EQ(SizeOf("Graphics\\bug_right.png"), Size(6 * 58, 58));
    for (int kind = 1; kind <= 4; ++kind) {
        for (const char* side : {"left", "right"}) {
            const std::string key =
                "Graphics\\butterfly_anim" + std::to_string(kind) + "_" + side + ".png";
            EXPECT_EQ(SizeOf(key), Size(6 * 38, 38)) << key;
        }
    }
    // The status frame covers the screen, open over the play field, solid over the panel.
    for (const char* key : {"Graphics\\status-border.png", "English\\status-border.png"}) {
        const ImageLib::Image* frame = Load(key);
        ASSERT_NE(frame, nullptr) << key;
        ASSERT_EQ(std::make_pair(frame->width, frame->height), Size(800, 600)) << key;
        EXPECT_EQ(Alpha(*frame, 480, 250), 0) << key;
        EXPECT_EQ(Alpha(*frame, 700, 550), 0) << key;  // the conveyor's bar shows through
        EXPECT_EQ(Alpha(*frame, 40, 300), 255) << key;
    }
}

TEST_F(VisualImagesTest, NaturalSizeControlsMatchTheirPictures) {
    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        std::vector<const tinyxml2::XMLElement*> controls = Children(screen, "Button");
        for (const auto* image : Children(screen, "Image")) {
            controls.push_back(image);
        }
        for (const auto* control : controls) {
            if (Attr(control, "stretch") != "no") {
                continue;
            }
            // Hit boxes come from the file until the first draw measures the picture: keep them
            // the same.
            const std::string key = Attr(control, Attr(control, "img").empty() ? "outImg" : "img");
            const auto [width, height] = SizeOf(key);
            EXPECT_NEAR(Number(control, "width"), width / 800.0, 1e-3) << key;
            EXPECT_NEAR(Number(control, "height"), height / 600.0, 1e-3) << key;
            for (const char* state : {"overImg", "outImgChecked", "overImgChecked"}) {
                if (!Attr(control, state).empty()) {
                    EXPECT_EQ(SizeOf(Attr(control, state)), SizeOf(key)) << Attr(control, state);
                }
            }
        }
    }
    // The veil over a locked stage is drawn at its natural size over the stage's button.
    tinyxml2::XMLDocument map;
    ASSERT_TRUE(LoadMenu("menu-map.xml", map));
    for (const auto* b : Children(map.FirstChildElement("Screen"), "Button")) {
        if (Attr(b, "name").rfind("btnStage", 0) == 0) {
            EXPECT_EQ(SizeOf("Graphics\\grey.png"), SizeOf(Attr(b, "outImg"))) << Attr(b, "name");
        }
    }
}

TEST_F(VisualImagesTest, FontImagesShareOneGridAndKeepTheirCutEdgesClear) {
    const int columns = std::atoi(Language("SYMBOLS_IN_ROW").c_str());
    const int rows = std::atoi(Language("SYMBOLS_IN_COL").c_str());
    ASSERT_GT(columns, 0);
    ASSERT_GT(rows, 0);
    const std::string symbols = Language("SymbolList");
    const std::pair<int, int> first = SizeOf("English\\font01.png");
    for (const char* key : {"English\\font01.png", "English\\font02.png", "English\\font03.png"}) {
        SCOPED_TRACE(key);
        const ImageLib::Image* font = Load(key);
        ASSERT_NE(font, nullptr);
        // One width table serves every font image: they must share the layout.
        EXPECT_EQ(std::make_pair(font->width, font->height), first);
        ASSERT_EQ(font->width % columns, 0);
        ASSERT_EQ(font->height % rows, 0);
        const int cellW = font->width / columns, cellH = font->height / rows;
        for (size_t i = 0; i < symbols.size(); ++i) {
            const int left = static_cast<int>(i % columns) * cellW;
            const int top = static_cast<int>(i / columns) * cellH;
            int ink = 0, cut = 0;
            for (int y = 0; y < cellH; ++y) {
                for (int x = 0; x < cellW; ++x) {
                    const int alpha = Alpha(*font, left + x, top + y);
                    // The game draws a cell without its right 6 % and its top 8 %.
                    const bool drawn = x < 0.94 * cellW && y >= 0.08 * cellH;
                    (drawn ? ink : cut) += alpha > 0;
                }
            }
            EXPECT_EQ(cut, 0) << "'" << symbols[i] << "' is cut off";
            if (symbols[i] != ' ') {
                EXPECT_GT(ink, 0) << "'" << symbols[i] << "' has no glyph";
            }
        }
    }
}

// Lays out a text as the symbol font does: the sum of the advances of its translation, in pixels.
class TextMeasure {
public:
    TextMeasure(const std::string& symbols, const std::vector<float>& widths, int cellW, int cellH)
        : symbols_(symbols), widths_(widths), cellW_(cellW), cellH_(cellH) {}

    // Width in screen pixels of a text drawn with height `size` (a fraction of the screen
    // height), or at the font's own size when `natural`.
    double Width(const std::string& text, double size, bool natural) const {
        const double cell = natural ? cellW_ : cellW_ * (size * 600.0) / cellH_;
        double total = 0;
        for (char c : text) {
            const size_t i = symbols_.find(c);
            total += (i == std::string::npos || i >= widths_.size() ? 0.5 : widths_[i]) * cell;
        }
        return total;
    }

private:
    std::string symbols_;
    std::vector<float> widths_;
    int cellW_, cellH_;
};

TEST_F(VisualImagesTest, CaptionsAndTextsFitTheirButtonsAndPanels) {
    const std::string symbols = Language("SymbolList");
    const int columns = std::atoi(Language("SYMBOLS_IN_ROW").c_str());
    const int rows = std::atoi(Language("SYMBOLS_IN_COL").c_str());
    ASSERT_GT(columns, 0);
    ASSERT_GT(rows, 0);
    std::vector<float> widths;
    for (int r = 1; r <= rows; ++r) {
        std::string row = Language("Line0" + std::to_string(r) + "_Width");
        for (char* at = row.data(); *at;) {
            char* end = nullptr;
            widths.push_back(std::strtof(at, &end) * 0.0625f);
            at = *end == ',' ? end + 1 : end;
            if (end == at && *at) {
                break;
            }
        }
    }
    const auto font = SizeOf("English\\font01.png");
    ASSERT_GT(font.first, 0);
    const TextMeasure measure(symbols, widths, font.first / columns, font.second / rows);
    const double rim = 8;  // pixels of a button's or panel's frame

    for (const char* file : kMenuFiles) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument document;
        ASSERT_TRUE(LoadMenu(file, document));
        const tinyxml2::XMLElement* screen = document.FirstChildElement("Screen");
        const bool panel = !Attr(screen, "bgImage").empty();
        const Rect area = ControlRect(screen);
        for (const auto* b : Children(screen, "Button")) {
            const std::string caption = Attr(b, "text");
            if (caption.empty() || Attr(b, "stretch") != "no") {
                continue;
            }
            const double width = measure.Width(Language(caption), 0, true);
            const double buttonWidth = SizeOf(Attr(b, "outImg")).first;
            if (Attr(b, "align") == "left") {
                // A check box's caption starts one box width to its right.
                const double right = (Number(b, "xc") + Number(b, "width")) * 800 + width;
                if (panel) {
                    EXPECT_LE(right, area.right * 800 - rim * 2) << caption;
                }
            } else {
                EXPECT_LE(width, buttonWidth - rim * 2) << caption << " overflows its button";
            }
        }
        if (!panel) {
            continue;
        }
        for (const auto* t : Children(screen, "Text")) {
            const std::string key = Attr(t, "text");
            if (key.empty() || kTextsSetByGame.count(Attr(t, "name"))) {
                continue;
            }
            const double width =
                measure.Width(Language(key), Number(t, "size"), Attr(t, "stretch") == "no");
            const double x = Number(t, "xc") * 800;
            const std::string align = Attr(t, "align");
            const double left = align == "left" ? x : align == "right" ? x - width : x - width / 2;
            EXPECT_GE(left, area.left * 800 + rim * 2) << key << " leaves its panel";
            EXPECT_LE(left + width, area.right * 800 - rim * 2) << key << " leaves its panel";
        }
    }
}

#endif  // QUILLORY_WITH_IMAGE_READERS

}  // namespace
