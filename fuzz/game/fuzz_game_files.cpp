// Fuzzes the game's own files: a level file, and a saved-game record with a sound checksum.
// Either loads or is refused with a log line; the level is then played for a few seconds with
// the pointer sweeping the field, and nothing is read or written outside the rules' tables.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "effects/effect2d.h"
#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "game/quillory_game.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/random.h"

namespace {

class SweepingPointer : public Quillory::PointerInput {
public:
    Quillory::PointerState Sample() override {
        ++tick_;
        Quillory::PointerState state;
        state.x = static_cast<float>(tick_ % 97) / 96.0f;
        state.y = static_cast<float>(tick_ % 89) / 88.0f;
        state.left = tick_ % 3 == 0;
        state.right = tick_ % 5 == 0;
        return state;
    }

private:
    int tick_ = 0;
};

const char kClasses[] =
    "<Classes><Level>"
    "<ShapeClass name=\"a\"><Shape mainImage=\"a0\"/><Shape mainImage=\"a1\"/></ShapeClass>"
    "<ShapeClass name=\"b\"><Shape mainImage=\"b0\"/></ShapeClass>"
    "<ShapeClass name=\"c\"/>"
    "</Level></Classes>";

// A data folder and a user folder of their own, made once.
const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/quillory-fuzz-game-XXXXXX";
        const char* made = mkdtemp(pattern);
        const std::string path = made != nullptr ? made : "/tmp";
        mkdir((path + "/Levels").c_str(), 0700);
        FILE* file = std::fopen((path + "/classes.xml").c_str(), "wb");
        if (file != nullptr) {
            std::fwrite(kClasses, 1, sizeof(kClasses) - 1, file);
            std::fclose(file);
        }
        if (chdir(path.c_str()) != 0) {
            return path;
        }
        Platform::SetUserFolderOverride(path);
        Quillory::SetLogFilePath((path + "/applog.htm").c_str());
        return path;
    }();
    return folder;
}

void WriteLevel(const uint8_t* data, size_t size) {
    FILE* file = std::fopen((Folder() + "/Levels/level_2.xml").c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    Folder();
    Quillory::ClearProfileCache();
    Platform::ManualClock clock;
    Platform::RandomGenerator rules(static_cast<uint32_t>(size));
    Platform::RandomGenerator cosmetic(7);
    SweepingPointer pointer;
    Quillory::CEffect2d effects(clock, cosmetic);
    Quillory::GameServices services;
    services.clock = &clock;
    services.pointer = &pointer;
    services.rulesRandom = &rules;
    services.cosmeticRandom = &cosmetic;
    services.effects = &effects;
    Quillory::CQuilloryGame game(services);
    game.LoadClasses("classes.xml");
    game.SetMode(data[0] % 3);

    if (data[0] < 128) {
        // The rest is a level file.
        WriteLevel(data + 1, size - 1);
        game.EditState().levelNumber = 2;
        game.SetGameState(Quillory::STATE_MAP);
        game.StartLevel();
    } else {
        // The rest is a saved record over a plain level (short input is padded with zeros).
        static const char kLevel[] =
            "<LevelMap levelTime=\"50\" shapeClassCount=\"3\" lineShapeCount=\"4\" "
            "lineSpeed=\"0.1\" fBugAppearanceRange=\"0\" fBonusBandP=\"0.3\"/>";
        WriteLevel(reinterpret_cast<const uint8_t*>(kLevel), sizeof(kLevel) - 1);
        uint8_t record[Quillory::kSavedRecordSize] = {};
        const size_t used = size - 1 < sizeof(record) ? size - 1 : sizeof(record);
        for (size_t i = 0; i < used; ++i) {
            record[i] = data[1 + i];
        }
        Quillory::WriteProfileStruct(game.State().mode == 1 ? "Relax" : "Classic", "Data", record,
                                     sizeof(record), "saved.ini");
        if (game.State().mode == 2) {
            Quillory::WriteProfileStruct("Transformer", "Data", record, sizeof(record),
                                         "saved.ini");
        }
        game.LoadSavedGame(false);
    }
    for (int frame = 0; frame < 600; ++frame) {
        clock.Advance(10);
        game.AdvanceFrame(1.0f);
    }
    game.SaveGame();
    return 0;
}
