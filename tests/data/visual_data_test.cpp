// The game's pictures, fonts, menus and texts in data/, read as the game reads them: every file
// named by its preloaded key, every control and action a screen's state uses, fields within the
// menu tables, texts translated and fitting, pictures and font tables matching how they are drawn.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data_files.h"
#include "engine/ini_access.h"
#include "imagefiles/image_loader.h"

namespace {

namespace fs = std::filesystem;
using namespace DataFiles;

constexpr int kVariants = 4;
constexpr int kMaxClasses = 30;
constexpr int kMinClasses = 20;  // the game-complete screen shows entries 0 to 14; the map plays
                                 // entry stage + 3 for stages up to 7
constexpr int kMaxImages = 750;

// Images the game's code names itself and no test here measures (a measured picture must be named
// by its preloaded key too), by folder.
const std::pair<const char*, const char*> kFixedImages[] = {
    {"Graphics\\",
     "round_time.png particleq.png particleq2.png particle1.png particle2.png arrow.png"},
    {"English\\", "hint1.png hint2.png hint3.png"}};

// What the game asks of each menu screen: the actions its state handles, each on exactly one
// button or slider, and actions it also understands but does not need.
const std::tuple<const char*, const char*, const char*> kScreens[] = {
    {"menu-main.xml",
     "procClassicGame procTransformerGame procRelaxGame procOptions procInstructions "
     "procHighScores procExit",
     "procLevelSimple procLevelAdvanced procLogo procMoreGames procTellAFriend procSubscribe"},
    {"menu-ingame.xml", "procMenu procDiscard", ""},
    {"menu-map.xml",
     "procStart procStage1 procStage2 procStage3 procStage4 procStage5 procStage6 procStage7", ""},
    {"menu-pause.xml", "procOptions procResume procEnd", ""},
    {"menu-highscores.xml", "procClear procClose procPrevious procNext", ""},
    {"menu-options.xml",
     "procSoundMode procMusicMode procFullScreenMode proc3DHardware procCredits procClose", ""},
    {"menu-instructions.xml", "procNext procClose", ""},
    {"menu-instructions2.xml", "procPrevious procNext procClose", ""},
    {"menu-instructions3.xml", "procPrevious procClose", ""},
    {"menu-game-over.xml", "procContinue procExit", ""},
    {"menu-clear-confirmation.xml", "procYes procNo", ""},
    {"menu-continue-confirmation.xml", "procLoad procNew procCancel", ""},
    {"menu-game-complete.xml", "procMenu", ""},
    {"menu-credits.xml", "procOk", ""},
    // Shown but never given input.
    {"menu-info-classic.xml", "", ""},
    {"menu-info-relax.xml", "", ""},
    {"menu-info-transformer.xml", "", ""},
    {"menu-intro.xml", "", ""},
};

// The controls the game finds by name: screen, element kind, names and action (empty: none).
const std::tuple<const char*, const char*, const char*, const char*> kNamedControls[] = {
    {"menu-main.xml", "Button", "btnClassicGame", "procClassicGame"},
    {"menu-main.xml", "Button", "btnTransformerGame", "procTransformerGame"},
    {"menu-ingame.xml", "Text", "txtScoreNum txtTimeNum txtLevelNum txtMeterBar", ""},
    {"menu-highscores.xml", "Text", "txtGameType", ""},
    {"menu-options.xml", "Slider", "MusicVolume", "procMusicMode"},
    {"menu-options.xml", "Slider", "SfxVolume", "procSoundMode"},
    {"menu-options.xml", "Button", "btnFullScreen", "procFullScreenMode"},
    {"menu-options.xml", "Button", "btn3DHardware", "proc3DHardware"},
    {"menu-continue-confirmation.xml", "Text", "txtLevelNum txtScoreNum", ""},
};

// Texts whose contents the game sets at run time: their file text is only a placeholder.
const std::set<std::string> kTextsSetByGame = {"txtScoreNum", "txtTimeNum", "txtLevelNum",
                                               "txtMeterBar", "txtGameType"};

// Field widths of the menu tables, terminator included, and whether the fields name pictures.
const std::tuple<const char*, size_t, bool, const char*> kFieldWidths[] = {
    {"Screen", 80, true, "bgImage"},
    {"Screen", 60, false, "clickSound overSound"},
    {"Screen", 70, true, "buttonFont buttonOverFont"},
    {"Button", 40, false, "name radioGroup text align stretch action"},
    {"Button", 80, true, "outImg overImg outImgChecked overImgChecked"},
    {"Slider", 40, false, "name action"},
    {"Slider", 80, true, "outSliderImg overSliderImg outThumbImg overThumbImg"},
    {"Edit", 40, false, "name align stretch"},
    {"Edit", 100, false, "text"},
    {"Edit", 80, false, "blockedchars"},
    {"Image", 40, false, "stretch"},
    {"Image", 80, true, "img"},
    {"Text", 40, false, "stretch name align"},
    {"Text", 100, false, "text"},
    {"Text", 72, true, "font"},
};

// The keys the preloading gives the pictures: a folder the loading screen preloads plus a file's
// on-disk name. Keys are case-sensitive: a picture named any other way would load twice.
const std::set<std::string>& PreloadedKeys() {
    static const std::set<std::string> keys = [] {
        std::set<std::string> found;
        for (const std::string folder : {"Graphics\\", "Graphics\\Shapes\\", "English\\"}) {
            std::string path = DataFolder() + "/" + folder;
            std::replace(path.begin(), path.end(), '\\', '/');
            for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    found.insert(folder + entry.path().filename().string());
                }
            }
        }
        return found;
    }();
    return keys;
}

float Number(const Element* e, const char* name) {
    return std::strtof(Attr(e, name).c_str(), nullptr);
}

struct Rect {
    float left, top, right, bottom;
    bool Overlaps(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

Rect ControlRect(const Element* e) {
    const float x = Number(e, "xc"), y = Number(e, "yc");
    const float w = Number(e, "width"), h = Number(e, "height");
    return {x - w / 2, y - h / 2, x + w / 2, y + h / 2};
}

// The <Screen> of a menu file, parsed once; an empty one, with a failure, when the file lacks one.
const Element* MenuScreen(const std::string& file) {
    static std::map<std::string, std::unique_ptr<tinyxml2::XMLDocument>> documents;
    std::unique_ptr<tinyxml2::XMLDocument>& document = documents[file];
    if (!document) {
        document = std::make_unique<tinyxml2::XMLDocument>();
        document->LoadFile((DataFolder() + "/Menu/" + file).c_str());
        if (document->FirstChildElement("Screen") == nullptr) {
            ADD_FAILURE() << file << " does not parse or has no <Screen>";
            document->Parse("<Screen/>");
        }
    }
    return document->FirstChildElement("Screen");
}

// Runs check(screen) for every menu screen, with the file's name on its failures.
template <typename Check>
void ForEachScreen(Check check) {
    for (const auto& [file, actions, optional] : kScreens) {
        SCOPED_TRACE(file);
        check(MenuScreen(file));
    }
}

struct SymbolFont {
    std::string symbols;
    int columns, rows;
    std::vector<float> widths;
};

// Pictures are decoded as the sprite manager loads them: through the archive layer, by their key,
// looking for a separate alpha file.
class VisualDataTest : public InDataFolder {
protected:
    VisualDataTest() { Quillory::SetLanguageName("ENGLISH"); }

    std::string Language(const std::string& key) {
        return Quillory::GetLanguageString(key.c_str());
    }
    int LanguageNumber(const std::string& key) { return std::atoi(Language(key).c_str()); }

    const ImageLib::Image* Load(const std::string& key) {
        auto found = images_.find(key);
        if (found == images_.end()) {
            found = images_.emplace(key, ImageLib::LoadImageFile(key, true)).first;
        }
        return found->second.get();
    }
    // Size in pixels, or (0, 0) when the picture does not decode; a picture is measured only by
    // the key the preloading gives it, as the game loads it by no other.
    std::pair<int, int> SizeOf(const std::string& key) {
        EXPECT_TRUE(PreloadedKeys().count(key)) << key << " is not a preloaded key";
        const ImageLib::Image* image = Load(key);
        return image ? std::make_pair(image->width, image->height) : std::make_pair(0, 0);
    }
    static int Alpha(const ImageLib::Image& image, int x, int y) { return image.At(x, y) >> 24; }

    // The symbol font's characters, grid and advances (sixteenths of a cell) in "language.ini",
    // with the format of its width rows checked on the way.
    SymbolFont ReadSymbolFont() {
        SymbolFont font{Language("SymbolList"),
                        LanguageNumber("SYMBOLS_IN_ROW"),
                        LanguageNumber("SYMBOLS_IN_COL"),
                        {}};
        EXPECT_LT(font.rows, 10);  // row keys "Line01_Width" to "Line09_Width"
        for (int r = 1; r <= font.rows && r < 10; ++r) {
            const std::string key = "Line0" + std::to_string(r) + "_Width";
            const std::vector<std::string> tokens = Split(Language(key), ',');
            EXPECT_EQ(static_cast<int>(tokens.size()), font.columns) << key;
            for (const std::string& token : tokens) {
                char* end = nullptr;
                const float value = std::strtof(token.c_str(), &end);
                EXPECT_TRUE(end != token.c_str() && value >= 0 && value <= 16)
                    << key << " " << token;
                font.widths.push_back(value);
            }
        }
        return font;
    }

    std::map<std::string, std::unique_ptr<ImageLib::Image>> images_;
};

TEST_F(VisualDataTest, PicturesAreNamedByTheirPreloadedKeysAndDecodeWithinTheImageTable) {
    for (const auto& [folder, names] : kFixedImages) {
        for (const std::string& name : Words(names)) {
            EXPECT_TRUE(PreloadedKeys().count(folder + name)) << folder << name;
        }
    }
    for (const char* file : {"config.ini", "saved.ini", "scores.ini", "registry.ini"}) {
        EXPECT_FALSE(fs::exists(fs::path(DataFolder()) / file)) << "a player file ships: " << file;
    }
    for (const std::string& key : PreloadedKeys()) {
        const std::string name = key.substr(key.rfind('\\') + 1);
        std::string extension = name.substr(name.rfind('.') + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        EXPECT_TRUE(extension == "png" || extension == "jpg") << key;
        // "_x.png" or "x.png_" beside a picture would be taken as its alpha file.
        EXPECT_TRUE(name.front() != '_' && name.back() != '_') << key;
        EXPECT_LT(key.size(), 80u) << key;
    }
    // Pictures named outside these folders are loaded on demand: leave them room.
    EXPECT_LE(PreloadedKeys().size(), static_cast<size_t>(kMaxImages - 50));
}

TEST_F(VisualDataTest, EveryMenuKeepsWithinTheTablesOnScreenAndTranslated) {
    // Language keys the game's code draws or looks up.
    for (const char* key : {"Quillory", "English\\", "FPS", "LevelText", "ScoreText", "BonusScore",
                            "Level", "Bonus Level", "Level Complete", "Bonus!", "No Bonus", "#",
                            "Name", "Score", "Classic", "Transformer", "Relax"}) {
        EXPECT_FALSE(Language(key).empty()) << key;
    }
    EXPECT_EQ(Language("Quillory"), "Quillory");
    ForEachScreen([&](const Element* screen) {
        for (const auto& [kind, width, picture, attributes] : kFieldWidths) {
            for (const std::string& attribute : Words(attributes)) {
                for (const Element* e : Children(screen, kind)) {
                    const std::string value = Attr(e, attribute.c_str());
                    EXPECT_LT(value.size(), width) << kind << " " << attribute;
                    if (picture && !value.empty()) {
                        EXPECT_TRUE(PreloadedKeys().count(value)) << value;
                    }
                }
            }
        }
        // The click and hover sounds are the two the sound folder provides for menus.
        EXPECT_EQ(Attr(screen, "clickSound"), "Sound\\menu_click.ogg");
        EXPECT_EQ(Attr(screen, "overSound"), "Sound\\menu_hover.ogg");

        // Buttons on screen and apart: a click on an overlap would always go to the earlier one.
        const auto buttons = Children(screen, "Button");
        for (size_t i = 0; i < buttons.size(); ++i) {
            const Rect r = ControlRect(buttons[i]);
            EXPECT_GT(r.right - r.left, 0.f) << Attr(buttons[i], "name");
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1 && r.bottom <= 1)
                << Attr(buttons[i], "name") << " leaves the screen";
            for (size_t j = i + 1; j < buttons.size(); ++j) {
                EXPECT_FALSE(r.Overlaps(ControlRect(buttons[j])))
                    << Attr(buttons[i], "name") << " / " << Attr(buttons[j], "name");
            }
        }

        // Every caption and text the file gives has a translation that fits the text table.
        for (const Element* e : Children(screen, "Button Text")) {
            const std::string key = Attr(e, "text");
            if (!key.empty() && key.find(".png") == std::string::npos &&
                !kTextsSetByGame.count(Attr(e, "name"))) {
                EXPECT_TRUE(!Language(key).empty() && Language(key).size() < 100u)
                    << key << ": '" << Language(key) << "'";
            }
        }
    });
}

TEST_F(VisualDataTest, EveryScreenHasTheControlsAndActionsItsStateUses) {
    for (const auto& [file, actions, optional] : kScreens) {
        SCOPED_TRACE(file);
        const Element* screen = MenuScreen(file);
        const std::vector<std::string> all = Words(std::string(actions) + " " + optional);
        const std::set<std::string> known(all.begin(), all.end());
        // Any other action would do nothing. Check boxes and sliders keep their state in one
        // section of config.ini under their names: one control each.
        std::map<std::string, int> uses;
        std::set<std::string> names;
        for (const Element* e : Children(screen, "Button Slider")) {
            ++uses[Attr(e, "action")];
            EXPECT_TRUE(known.count(Attr(e, "action")))
                << Attr(e, "name") << " -> '" << Attr(e, "action") << "'";
            EXPECT_TRUE(Attr(e, "name").empty() || names.insert(Attr(e, "name")).second)
                << Attr(e, "name") << " is named twice";
        }
        for (const std::string& action : Words(actions)) {
            EXPECT_EQ(uses[action], 1) << action;
        }
    }
    for (const auto& [file, kind, names, action] : kNamedControls) {
        for (const std::string& name : Words(names)) {
            int matches = 0;
            for (const Element* e : Children(MenuScreen(file), kind)) {
                matches += Attr(e, "name") == name && (!*action || Attr(e, "action") == action);
            }
            EXPECT_EQ(matches, 1) << file << ": " << kind << " " << name << " " << action;
        }
    }
    // Only the options' check boxes are check boxes, and its sliders are complete.
    const Element* options = MenuScreen("menu-options.xml");
    for (const Element* b : Children(options, "Button")) {
        const std::string name = Attr(b, "name");
        const bool checkBox = name == "btnFullScreen" || name == "btn3DHardware";
        // A check box is a button with a checked picture; the other buttons must not be one, or
        // a click would toggle and store them.
        EXPECT_EQ(!Attr(b, "outImgChecked").empty(), checkBox) << name;
        EXPECT_EQ(!Attr(b, "overImgChecked").empty(), checkBox) << name;
    }
    for (const Element* s : Children(options, "Slider")) {
        for (const char* a : {"outSliderImg", "overSliderImg", "outThumbImg", "overThumbImg"}) {
            EXPECT_FALSE(Attr(s, a).empty()) << Attr(s, "name") << " " << a;
        }
    }
    // The stage map lists start, then the seven stages in order: the game moves its marker to the
    // button whose number is the stage, and would lock and grey any other "btnStage" button.
    std::vector<std::string> map;
    for (const Element* b : Children(MenuScreen("menu-map.xml"), "Button")) {
        map.push_back(Attr(b, "name") + " " + Attr(b, "action"));
    }
    std::vector<std::string> expected = {"btnStart procStart"};
    for (const std::string stage : {"1", "2", "3", "4", "5", "6", "7"}) {
        expected.push_back("btnStage" + stage + " procStage" + stage);
    }
    EXPECT_EQ(map, expected);
}

TEST_F(VisualDataTest, ScreensLeaveFreeWhatTheGameDrawsThemselves) {
    // Rows 1 to 10 of the high-score table: y 0.29 + r x 0.045, 0.036 high, from x 0.25 on.
    const Rect table = {0.24f, 0.29f + 0.045f - 0.018f, 0.85f, 0.29f + 10 * 0.045f + 0.018f};
    // The 5 x 3 grid of pictures revealed at the game's end.
    const Rect grid = {0.31f - 0.0445f, 0.44f - 0.0594f, 0.666f + 0.0445f, 0.6775f + 0.0594f};
    const Rect loadingGauge = {0.5f - 0.125f, 0.75f - 0.045f, 0.5f + 0.125f, 0.75f + 0.045f};
    for (const auto& [file, area] :
         {std::pair{"menu-highscores.xml", table}, std::pair{"menu-game-complete.xml", grid},
          std::pair{"menu-intro.xml", loadingGauge}}) {
        SCOPED_TRACE(file);
        const Element* screen = MenuScreen(file);
        for (const Element* b : Children(screen, "Button")) {
            EXPECT_FALSE(ControlRect(b).Overlaps(area)) << Attr(b, "name");
        }
        for (const Element* t : Children(screen, "Text")) {
            if (!Attr(t, "text").empty() || !Attr(t, "name").empty()) {
                const float x = Number(t, "xc"), y = Number(t, "yc"), h = Number(t, "size");
                const Rect r = {x - 0.001f, y - h / 2, x + 0.001f, y + h / 2};
                EXPECT_FALSE(r.Overlaps(area)) << Attr(t, "text");
            }
        }
    }
    // The numbers of the play screen sit in its status panel, the left fifth of the screen.
    for (const Element* t : Children(MenuScreen("menu-ingame.xml"), "Text")) {
        EXPECT_LT(Number(t, "xc"), 0.2f) << Attr(t, "name");
    }
    // The mode panels appear beside the main menu and must not hide its buttons.
    const Element* main = MenuScreen("menu-main.xml");
    for (const char* file :
         {"menu-info-classic.xml", "menu-info-transformer.xml", "menu-info-relax.xml"}) {
        const Element* info = MenuScreen(file);
        EXPECT_FALSE(Attr(info, "bgImage").empty()) << file;
        for (const Element* b : Children(main, "Button")) {
            EXPECT_FALSE(ControlRect(info).Overlaps(ControlRect(b)))
                << file << " hides " << Attr(b, "name");
        }
    }
}

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

TEST_F(VisualDataTest, ClassesHaveFourTurnsFillingOneCellWithCleanEdgesAndDistinctSilhouettes) {
    const int count = static_cast<int>(Catalogue().size());
    ASSERT_TRUE(count >= kMinClasses && count <= kMaxClasses) << count;
    std::vector<std::vector<std::vector<bool>>> masks;
    for (const Element* shapeClass : Catalogue()) {
        const std::string name = Attr(shapeClass, "name");
        SCOPED_TRACE(name);
        EXPECT_EQ(Attr(shapeClass, "soundEvent"), "class_" + name);
        const auto shapes = Children(shapeClass, "Shape");
        ASSERT_EQ(shapes.size(), static_cast<size_t>(kVariants));
        masks.emplace_back();
        for (int v = 0; v < kVariants; ++v) {
            const std::string stem = "Graphics\\Shapes\\" + name + "_" + std::to_string(v);
            EXPECT_EQ(Attr(shapes[v], "mainImage"), stem + ".png");
            EXPECT_EQ(Attr(shapes[v], "maskImage"), stem + "_mask.png");
            for (const std::string& key : {stem + ".png", stem + "_mask.png"}) {
                // A cell is 0.0890625 x 800 by 0.11875 x 600 pixels, drawn at natural size.
                ASSERT_EQ(SizeOf(key), std::make_pair(71, 71)) << key;
                const ImageLib::Image* image = Load(key);
                EXPECT_EQ(Alpha(*image, 0, 0) + Alpha(*image, 70, 0), 0) << key << ": corners";
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
                        << Attr(Catalogue()[i], "name") << " " << a << " / "
                        << Attr(Catalogue()[j], "name") << " " << b;
                }
            }
        }
    }
}

TEST_F(VisualDataTest, PlayScreenPicturesHaveTheSizesTheyAreDrawnAt) {
    using Size = std::pair<int, int>;
    // Backgrounds stretched to 0.86 x 0.86 of the screen; cell-sized pictures; the star
    // 0.036 x 0.048; creatures in 6 x 1 sheets drawn a cell at natural size: the bug
    // 0.072 x 0.096, the butterflies 0.048 x 0.064.
    std::vector<std::pair<std::string, Size>> sizes = {
        {"Graphics\\back_menu.jpg", {800, 600}},     {"Graphics\\qy_bonus01.png", {71, 71}},
        {"Graphics\\qy_bonus02.png", {71, 71}},      {"Graphics\\qy_bonus03.png", {71, 71}},
        {"Graphics\\qy_effect_chomp.png", {71, 71}}, {"Graphics\\qy_effect_star.png", {29, 29}},
        {"Graphics\\bug_right.png", {6 * 58, 58}}};
    for (int i = 1; i <= 5; ++i) {
        sizes.push_back({"Graphics\\back_game0" + std::to_string(i) + ".jpg", {688, 516}});
    }
    for (int kind = 1; kind <= 4; ++kind) {
        for (const char* side : {"_left.png", "_right.png"}) {
            sizes.push_back(
                {"Graphics\\butterfly_anim" + std::to_string(kind) + side, {6 * 38, 38}});
        }
    }
    for (const auto& [key, size] : sizes) {
        EXPECT_EQ(SizeOf(key), size) << key;
    }
    // Line tiles are stacked 0.15833333 x 600 = 95 pixels apart and lines stand 95 apart.
    const Size tile = SizeOf("Graphics\\line1.png");
    EXPECT_EQ(tile.second, 95);
    EXPECT_TRUE(tile.first >= 71 && tile.first <= 95) << tile.first;
    for (const std::string& name : Words("line2 line3 line4 line5 line6 line_a")) {
        EXPECT_EQ(SizeOf("Graphics\\" + name + ".png"), tile) << name;
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
    EXPECT_EQ(stars.first % 3 + stars.second % 3, 0);
    // The status frame covers the screen, open over the play field, solid over the panel.
    for (const char* key : {"Graphics\\status-border.png", "English\\status-border.png"}) {
        ASSERT_EQ(SizeOf(key), Size(800, 600)) << key;
        const ImageLib::Image* frame = Load(key);
        EXPECT_EQ(Alpha(*frame, 480, 250), 0) << key;
        EXPECT_EQ(Alpha(*frame, 700, 550), 0) << key;  // the conveyor's bar shows through
        EXPECT_EQ(Alpha(*frame, 40, 300), 255) << key;
    }
}

TEST_F(VisualDataTest, NaturalSizeControlsMatchTheirPictures) {
    ForEachScreen([&](const Element* screen) {
        for (const Element* control : Children(screen, "Button Image")) {
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
    });
    // The veil over a locked stage is drawn at its natural size over the stage's button.
    for (const Element* b : Children(MenuScreen("menu-map.xml"), "Button")) {
        if (Attr(b, "name").rfind("btnStage", 0) == 0) {
            EXPECT_EQ(SizeOf("Graphics\\grey.png"), SizeOf(Attr(b, "outImg"))) << Attr(b, "name");
        }
    }
}

TEST_F(VisualDataTest, SymbolFontCoversPrintableTextOnOneGridWithItsCutEdgesClear) {
    const SymbolFont table = ReadSymbolFont();
    ASSERT_TRUE(table.columns > 0 && table.rows > 0);
    // Every printable character, the blank included (typed names have blanks), once.
    for (int c = 32; c < 127; ++c) {
        EXPECT_EQ(std::count(table.symbols.begin(), table.symbols.end(), static_cast<char>(c)), 1)
            << "'" << static_cast<char>(c) << "'";
    }
    ASSERT_LE(static_cast<int>(table.symbols.size()), table.columns * table.rows);
    for (size_t i = 0; i < table.symbols.size() && i < table.widths.size(); ++i) {
        EXPECT_GT(table.widths[i], 0.f) << "'" << table.symbols[i] << "' has no advance";
    }
    const std::pair<int, int> first = SizeOf("English\\font01.png");
    ASSERT_TRUE(first.first > 0 && first.first % table.columns + first.second % table.rows == 0);
    const int cellW = first.first / table.columns, cellH = first.second / table.rows;
    for (const char* key : {"English\\font01.png", "English\\font02.png", "English\\font03.png"}) {
        SCOPED_TRACE(key);
        // One width table serves every font image: they must share the layout.
        ASSERT_EQ(SizeOf(key), first);
        const ImageLib::Image* font = Load(key);
        for (size_t i = 0; i < table.symbols.size(); ++i) {
            const int left = static_cast<int>(i % table.columns) * cellW;
            const int top = static_cast<int>(i / table.columns) * cellH;
            int ink = 0, cut = 0;
            for (int y = 0; y < cellH; ++y) {
                for (int x = 0; x < cellW; ++x) {
                    // The game draws a cell without its right 6 % and its top 8 %.
                    const bool drawn = x < 0.94 * cellW && y >= 0.08 * cellH;
                    (drawn ? ink : cut) += Alpha(*font, left + x, top + y) > 0;
                }
            }
            EXPECT_EQ(cut, 0) << "'" << table.symbols[i] << "' is cut off";
            EXPECT_TRUE(ink > 0 || table.symbols[i] == ' ')
                << "'" << table.symbols[i] << "' has no glyph";
        }
    }
}

TEST_F(VisualDataTest, CaptionsAndTextsFitTheirButtonsAndPanels) {
    const SymbolFont table = ReadSymbolFont();
    const auto font = SizeOf("English\\font01.png");
    ASSERT_TRUE(table.columns > 0 && table.rows > 0 && font.first > 0);
    const int cellW = font.first / table.columns, cellH = font.second / table.rows;
    // Lays out a text as the symbol font does: the sum of the advances of its translation, in
    // screen pixels, at height `size` (a fraction of the screen height) or the font's own size.
    auto textWidth = [&](const std::string& text, double size, bool natural) {
        const double cell = natural ? cellW : cellW * (size * 600.0) / cellH;
        double total = 0;
        for (char c : Language(text)) {
            const size_t i = table.symbols.find(c);
            total += (i == std::string::npos || i >= table.widths.size() ? 8 : table.widths[i]) /
                     16 * cell;
        }
        return total;
    };
    const double rim = 8;  // pixels of a button's or panel's frame

    ForEachScreen([&](const Element* screen) {
        const bool panel = !Attr(screen, "bgImage").empty();
        const Rect area = ControlRect(screen);
        for (const Element* b : Children(screen, "Button")) {
            const std::string caption = Attr(b, "text");
            if (caption.empty() || Attr(b, "stretch") != "no") {
                continue;
            }
            const double width = textWidth(caption, 0, true);
            if (Attr(b, "align") != "left") {
                EXPECT_LE(width, SizeOf(Attr(b, "outImg")).first - rim * 2)
                    << caption << " overflows its button";
            } else if (panel) {
                // A check box's caption starts one box width to its right.
                const double right = (Number(b, "xc") + Number(b, "width")) * 800 + width;
                EXPECT_LE(right, area.right * 800 - rim * 2) << caption;
            }
        }
        if (!panel) {
            return;
        }
        for (const Element* t : Children(screen, "Text")) {
            const std::string key = Attr(t, "text");
            if (key.empty() || kTextsSetByGame.count(Attr(t, "name"))) {
                continue;
            }
            const double width = textWidth(key, Number(t, "size"), Attr(t, "stretch") == "no");
            const double x = Number(t, "xc") * 800;
            const std::string align = Attr(t, "align");
            const double left = align == "left" ? x : align == "right" ? x - width : x - width / 2;
            EXPECT_TRUE(left >= area.left * 800 + rim * 2 &&
                        left + width <= area.right * 800 - rim * 2)
                << key << " leaves its panel: " << left << " to " << left + width;
        }
    });
}

}  // namespace
