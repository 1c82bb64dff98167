// The game's sounds, music and levels in data/, read as the game reads them: every event the game
// fires has files spelled as the preloading finds them, every sound decodes short, clean and
// unclipped, the music loops without a seam, and every level keeps to the rules and the limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data_files.h"
#include "engine/private_profile.h"
#include "framework/sound/sound_buffer.h"
#include "framework/sound/sound_files.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace {

using namespace DataFiles;

constexpr int kMaxSoundEvents = 100;
constexpr int kMaxFilesPerEvent = 10;
constexpr size_t kMaxSoundName = 59;         // event names and paths are char[60]
constexpr size_t kMaxSoundFolderFiles = 90;  // of the 100 samples, room for sounds loaded later
constexpr int kLevelCount = 40;
constexpr int kMaxClassesInList = 15;

// Every event the game's rules fire by name (besides the classes' own events).
constexpr char kFiredEvents[] =
    "take_shape place_shape place_shape_bonus_1 place_shape_bonus_2 place_shape_bonus_3 "
    "place_shape_bonus_4 place_shape_bonus_5 place_shape_bonus_6 place_shape_bonus_7 "
    "transform_shape drop_shape delete_shape shape_clear shape_panel_in shape_panel_out fill_area "
    "remove_line timeout no_bonus bug_alarm level_complete bonus_level_complete game_over "
    "game_complete level_start emit_scores collect_scores shape_chomp";

// Sample values of decoded 16-bit sound.
constexpr int kNoClipPeak = 30934;     // -0.5 dBFS: headroom left by every file
constexpr int kSilentEdge = 328;       // 1 % of full scale at the first and last sample
constexpr double kMaxDcOffset = 65.0;  // 0.2 % of full scale

class AudioLevelsDataTest : public InDataFolder {
protected:
    std::string IniValue(const std::string& section, const std::string& key) {
        char out[256];
        Quillory::GetPrivateProfileString(section.c_str(), key.c_str(), "\x01", out, sizeof(out),
                                          "sound.ini");
        return out;
    }

    std::vector<std::string> SoundEvents() {
        std::vector<char> names(10000, '\0');
        Quillory::GetPrivateProfileSectionNames(names.data(), names.size(), "sound.ini");
        std::vector<std::string> events;
        for (const char* at = names.data(); *at; at += events.back().size() + 1) {
            events.push_back(at);
        }
        return events;
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
};

TEST_F(AudioLevelsDataTest, EveryEventTheGameFiresHasFilesWithTheirPreloadedSpellingInTheTable) {
    const std::vector<std::string> events = SoundEvents();
    EXPECT_LE(events.size(), static_cast<size_t>(kMaxSoundEvents));
    const std::set<std::string> defined(events.begin(), events.end());
    EXPECT_EQ(defined.size(), events.size()) << "an event is defined twice";
    std::vector<std::string> wanted = Words(kFiredEvents);
    for (const Element* shapeClass : Catalogue()) {
        wanted.push_back(Attr(shapeClass, "soundEvent"));
    }
    for (const std::string& event : wanted) {
        // Event names are compared exactly, so the section must be spelled as the game fires it.
        EXPECT_TRUE(defined.count(event)) << "sound.ini lacks the event " << event;
        EXPECT_FALSE(EventFiles(event).empty()) << event << " has no file0";
    }

    const std::set<std::string> onDisk = SoundFolder();
    std::set<std::string> used;
    for (const std::string& event : events) {
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
    // The menus' click and hover sounds (the menu files' own test holds them to these).
    for (const std::string name : {"menu_click.ogg", "menu_hover.ogg"}) {
        EXPECT_TRUE(onDisk.count(name)) << "no file spelled Sound\\" << name;
        used.insert(name);
    }
    // Everything in the folder is preloaded, so a file nobody plays only wastes a sample.
    for (const std::string& name : onDisk) {
        EXPECT_TRUE(used.count(name)) << "Sound\\" << name << " is never played";
    }
    // Every file is preloaded, each in a sample of its own (a file played by no event, x.wav
    // beside x.ogg included, fails above).
    EXPECT_LE(onDisk.size(), kMaxSoundFolderFiles);
    const std::vector<Platform::DirectoryEntry> music = Platform::FindFiles("Music\\*");
    EXPECT_TRUE(std::any_of(music.begin(), music.end(), [](const auto& entry) {
        return entry.name == "theme1.ogg";
    })) << "the title music must be spelled Music\\theme1.ogg";
}

TEST_F(AudioLevelsDataTest, EveryLevelParsesAndFitsTheRules) {
    // Classes the catalogue lacks or a list names twice, and levels too big or too short to win,
    // fail the game's own level test and the level bot. The numbers every level gives, with the
    // range the rules can play.
    const std::tuple<const char*, double, double> ranges[] = {
        {"newShapeTime", -1e9, 1e9},
        {"levelTime", 1e-9, 1e9},
        {"shapeClassCount", 3, kMaxClassesInList},
        {"lineSpeed", 1e-9, 0.1},
        {"fBugAppearanceRange", 10, 1e9},  // a pause between bugs
        {"lineShapeCount", 7, 30},         // at least the screen's height
        {"fBonusAnyShapeP", 0, 0.25},
        {"fBonusBandP", 0, 0.25},
        {"fBonusAreaP", 0, 0.25},
    };
    for (int number = 1; number <= kLevelCount; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        const std::string file = "Levels\\level_" + std::to_string(number) + ".xml";
        tinyxml2::XMLDocument document;
        ASSERT_EQ(document.LoadFile(Platform::ResolvePath(file).c_str()), tinyxml2::XML_SUCCESS);
        const Element* map = document.FirstChildElement("LevelMap");
        ASSERT_NE(map, nullptr);
        std::map<std::string, double> value;
        for (const auto& [name, min, max] : ranges) {
            // Present and decimal text through and through, as the game would want it.
            const std::string text = Attr(map, name);
            char* end = nullptr;
            const double number = value[name] = std::strtod(text.c_str(), &end);
            EXPECT_TRUE(!text.empty() && *end == '\0' && number >= min && number <= max)
                << name << "=\"" << text << "\"";
        }
        // The last level of every stage, and the last level of the game, is a bonus level.
        const bool bonusLevel = number % 6 == 0 || number == kLevelCount;
        EXPECT_EQ(Attr(map, "bonusLevel"), bonusLevel ? "true" : "false");

        const std::vector<std::string> names = Split(Attr(map, "shapeClassList"), ',');
        EXPECT_EQ(value["shapeClassCount"], static_cast<double>(names.size()));
        EXPECT_EQ(value["lineShapeCount"], static_cast<int>(value["lineShapeCount"]));
        if (number == 1) {
            // The tutorial uses the level's class 0 in its second picture (every class has four).
            ASSERT_FALSE(Catalogue().empty());
            EXPECT_EQ(names[0], Attr(Catalogue()[0], "name"));
        }
    }
}

TEST_F(AudioLevelsDataTest, EverySoundDecodesShortCleanAndUnclipped) {
    for (const std::string& name : SoundFolder()) {
        SCOPED_TRACE(name);
        Tuvo::SoundBuffer sound;
        std::string error;
        ASSERT_TRUE(Tuvo::LoadSoundFile("Sound\\" + name, sound, error)) << error;
        EXPECT_EQ(std::make_pair(sound.rate, sound.channels), std::make_pair(44100u, 1));
        const double seconds = static_cast<double>(sound.Frames()) / sound.rate;
        EXPECT_TRUE(seconds >= 0.04 && seconds <= 6.0) << seconds << " s: effects are short";
        ASSERT_FALSE(sound.samples.empty());
        int peak = 0;
        double sum = 0.0;
        for (int16_t sample : sound.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
            sum += sample;
        }
        EXPECT_LE(peak, kNoClipPeak) << "no headroom: the decoder may clip";
        EXPECT_GE(peak, kNoClipPeak / 20) << "far too quiet next to the others";
        EXPECT_LE(std::abs(sum / sound.samples.size()), kMaxDcOffset) << "DC offset";
        // Faded in and out: a sound that starts or stops at a high level clicks.
        EXPECT_LE(std::max(std::abs(sound.samples.front()), std::abs(sound.samples.back())),
                  kSilentEdge);
    }
}

TEST_F(AudioLevelsDataTest, TitleMusicIsASeamlessLoop) {
    Tuvo::SoundBuffer music;
    std::string error;
    ASSERT_TRUE(Tuvo::LoadOggFile("Music\\theme1.ogg", music, error)) << error;
    ASSERT_EQ(std::make_pair(music.rate, music.channels), std::make_pair(44100u, 2));
    const size_t frames = music.Frames();
    ASSERT_TRUE(frames >= 60 * 44100 && frames <= 120 * 44100) << frames << " frames";
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE("channel " + std::to_string(channel));
        auto at = [&](size_t frame) {
            return static_cast<int>(music.samples[frame * 2 + channel]);
        };
        std::vector<int> steps;
        int peak = 0;
        for (size_t frame = 0; frame + 1 < frames; ++frame) {
            steps.push_back(std::abs(at(frame + 1) - at(frame)));
            peak = std::max(peak, std::abs(at(frame)));
        }
        EXPECT_LE(peak, kNoClipPeak);
        // Going round the loop, the step from the last sample to the first must look like any
        // other step of the music (at most the 99.9th percentile of all steps), and the slope
        // must go on as it was.
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
        const int usualStep = steps[steps.size() * 999 / 1000];
        EXPECT_LE(std::abs(at(0) - at(frames - 1)), usualStep);
        const int slopeBefore = at(frames - 1) - at(frames - 2);
        const int slopeAfter = at(1) - at(0);
        EXPECT_LE(std::abs(slopeAfter - slopeBefore), usualStep);
    }
}

}  // namespace
