// The headless run of one level: folders, services, the update loop, the save on the way.
#include "sim/simulator.h"

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/app_log.h"
#include "engine/private_profile.h"
#include "engine/window_message.h"
#include "framework/archive/pak_interface.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace QuillorySim {

namespace {

constexpr uint32_t kUpdateMs = 10;
constexpr float kScreenWidth = 800;
constexpr float kScreenHeight = 600;
constexpr const char* kInGameScreen = "Menu\\menu-ingame.xml";
constexpr const char* kDiscardAction = "procDiscard";
// The elapsed level time is a whole number of milliseconds held in a float.
constexpr double kSaveTolerance = 0.0005;

// The in-game screen's discard button where the game's own menu has it, for a data folder
// without menus.
constexpr const char* kFallbackInGameScreen =
    "<Screen><Button name=\"btnDiscard\" xc=\"0.1\" yc=\"0.875\" width=\"0.1875\" "
    "height=\"0.0667\" action=\"procDiscard\"/></Screen>";

// The discard button of a loaded screen; false when it has none.
bool FindDiscardButton(const Quillory::CMenu& screen, float& x, float& y) {
    for (int i = 0; i < screen.ButtonCount(); ++i) {
        const Quillory::MenuButton& button = screen.Button(i);
        if (std::strcmp(button.action, kDiscardAction) == 0 && button.visible) {
            x = button.xc;
            y = button.yc;
            return true;
        }
    }
    return false;
}

}  // namespace

std::string TemporaryFolder() {
    const char* base = getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/quillory-sim-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return mkdtemp(name.data()) != nullptr ? std::string(name.data()) : std::string();
}

Simulator::Simulator(const SimOptions& options, std::ostream& out)
    : options_(options),
      out_(out),
      startMs_(clock_.Milliseconds()),
      rulesRandom_(options.seed),
      cosmeticRandom_(options.seed ^ 0x9E3779B9u) {}

Simulator::~Simulator() {
    game_.reset();
    events_.reset();
    effects_.reset();
    menus_.reset();
    archive_.reset();
    if (!previousFolder_.empty()) {
        Platform::ChangeCurrentDirectory(previousFolder_);
    }
    if (!userFolder_.empty()) {
        Platform::SetUserFolderOverride("");
        Quillory::ClearProfileCache();
    }
    if (temporaryUserFolder_) {
        std::error_code ignored;
        std::filesystem::remove_all(userFolder_, ignored);
    }
}

bool Simulator::OpenFolders() {
    namespace fs = std::filesystem;
    previousFolder_ = Platform::CurrentDirectory();
    std::string data = options_.dataFolder;
    if (data.empty()) {
        data = Platform::FileExists("classes.xml") ? "." : "data";
    }
    std::error_code failure;
    if (!fs::is_directory(data, failure) || !Platform::ChangeCurrentDirectory(data)) {
        error_ = "cannot open the data folder '" + data + "'";
        return false;
    }
    if (Platform::FileExists("main.pak")) {
        archive_ = std::make_unique<Tuvo::PakInterface>();
        archive_->MountArchive("main.pak");
    }

    if (options_.userFolder.empty()) {
        userFolder_ = TemporaryFolder();
        temporaryUserFolder_ = !userFolder_.empty();
        if (userFolder_.empty()) {
            error_ = "cannot make a temporary user folder";
            return false;
        }
    } else {
        fs::path user = fs::path(options_.userFolder);
        if (user.is_relative()) {
            user = fs::path(previousFolder_) / user;
        }
        fs::create_directories(user, failure);
        if (!fs::is_directory(user, failure)) {
            error_ = "cannot use the user folder '" + options_.userFolder + "'";
            return false;
        }
        userFolder_ = user.lexically_normal().string();
    }
    Platform::SetUserFolderOverride(userFolder_);
    Quillory::ClearProfileCache();
    Quillory::SetLogFilePath((userFolder_ + "/applog.htm").c_str());
    Quillory::LogMessage("quillory-sim: the game rules, headless", Quillory::LOG_NEW_FILE);
    return true;
}

bool Simulator::LoadInGameScreen() {
    float x = 0;
    float y = 0;
    if (inGameScreen_.Load(kInGameScreen) != 1 || !FindDiscardButton(inGameScreen_, x, y)) {
        Quillory::LogMessage(
            "quillory-sim: no discard button in 'Menu\\menu-ingame.xml', "
            "using one of its own");
        inGameScreen_ = Quillory::CMenu();
        inGameScreen_.LoadFromMemory("built-in in-game screen", kFallbackInGameScreen,
                                     std::strlen(kFallbackInGameScreen));
        FindDiscardButton(inGameScreen_, x, y);
    }
    menus_ = std::make_unique<Quillory::CMenuControls>(nullptr, &inGameScreen_, nullptr);
    if (options_.player != PlayerKind::None) {
        player_ = std::make_unique<SimPlayer>(options_.player, options_.seed, x, y);
    }
    return true;
}

bool Simulator::Start() {
    if (started_) {
        return true;
    }
    if (!options_.scriptFile.empty()) {
        // Relative to where the simulator was started, before it moves into the data folder.
        if (!script_.Load(options_.scriptFile, error_)) {
            return false;
        }
    }
    if (!OpenFolders() || !LoadInGameScreen()) {
        return false;
    }
    effects_ = std::make_unique<Quillory::CEffect2d>(clock_, cosmeticRandom_);
    events_ = std::make_unique<JsonEventWriter>(out_, [this] { return Seconds(); });
    Quillory::GameServices services;
    services.clock = &clock_;
    services.pointer = &pointer_;
    services.rulesRandom = &rulesRandom_;
    services.cosmeticRandom = &cosmeticRandom_;
    services.sounds = &sounds_;
    services.effects = effects_.get();
    services.menus = menus_.get();
    services.events = events_.get();
    game_ = std::make_unique<Quillory::CQuilloryGame>(services);
    if (!game_->LoadClasses("classes.xml")) {
        error_ = "cannot load 'classes.xml' from the data folder";
        return false;
    }
    game_->SetGameState(Quillory::STATE_MAIN_MENU);
    started_ = options_.restore ? RestoreSavedGame() : StartLevel();
    return started_;
}

bool Simulator::StartLevel() {
    if (!game_->LevelExists(options_.level)) {
        error_ = "there is no level " + std::to_string(options_.level) + " in the data folder";
        return false;
    }
    // As a new game does, then the stage map's "procStart".
    game_->SetMode(options_.mode);
    Quillory::GameModel& model = game_->EditState();
    model.levelNumber = options_.level;
    model.score = 0;
    game_->SetGameState(Quillory::STATE_MAP);
    game_->StartLevel();
    return true;
}

bool Simulator::RestoreSavedGame() {
    // As choosing the mode on the main menu, then "procLoad" on the continue confirmation.
    game_->SetMode(options_.mode);
    const std::string mode = ModeOptionName(options_.mode);
    if (!game_->IsGameSaved()) {
        error_ = "no saved " + mode + " game in '" + userFolder_ + "/saved.ini'";
        return false;
    }
    game_->SetGameState(Quillory::STATE_CONTINUE_CONFIRM);
    if (!game_->LoadSavedGame(false)) {
        error_ = "the saved " + mode + " game could not be restored (see applog.htm)";
        return false;
    }
    return true;
}

double Simulator::Seconds() const {
    return static_cast<double>(clock_.Milliseconds() - startMs_) / 1000.0;
}

bool Simulator::Finished() const {
    if (!started_) {
        return true;
    }
    return events_->Finished() || Seconds() >= options_.maxSeconds - 1e-9;
}

bool Simulator::Step() {
    if (Finished()) {
        return false;
    }
    const Quillory::PointerState before = pointer_.state;
    Quillory::PointerState now = before;
    if (player_ != nullptr) {
        now = player_->Act(game_->State(), Seconds());
    }
    clock_.Advance(kUpdateMs);
    script_.Apply(Seconds(), now);
    pointer_.state = now;
    PressOnScreen(before, now);
    game_->AdvanceFrame(1.0f);
    SaveWhenDue();
    return !Finished();
}

int Simulator::Run() {
    if (!Start()) {
        return 1;
    }
    while (Step()) {
    }
    out_.flush();
    return 0;
}

void Simulator::PressOnScreen(const Quillory::PointerState& before,
                              const Quillory::PointerState& now) {
    if (!now.left || before.left || game_->ScreenState() != Quillory::STATE_PLAYING) {
        return;
    }
    Quillory::WindowMessage message;
    message.message = Quillory::kMessageLeftButtonDown;
    message.x = static_cast<int>(now.x * kScreenWidth);
    message.y = static_cast<int>(now.y * kScreenHeight);
    const char* action = inGameScreen_.HandleMessage(message);
    // Only the discard button acts here: the simulator has no pause menu to go to.
    if (action != nullptr && std::strcmp(action, kDiscardAction) == 0) {
        game_->DiscardShape();
    }
}

void Simulator::SaveWhenDue() {
    const Quillory::GameModel& model = game_->State();
    if (saved_ || options_.saveAt < 0 || model.screenState != Quillory::STATE_PLAYING ||
        model.phase != Quillory::PHASE_PLAYING || model.tutorialOn != 0 ||
        model.elapsed < options_.saveAt - kSaveTolerance) {
        return;
    }
    // What "procEnd" does, without leaving the level.
    game_->SaveGame();
    saved_ = true;
}

std::string LogProblems(const std::string& logFile) {
    std::ifstream in(logFile);
    std::stringstream contents;
    contents << in.rdbuf();
    const std::string log = contents.str();
    std::string problems;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find("<BR>", start);
        if (end == std::string::npos) {
            end = log.size();
        }
        std::string entry;
        bool inTag = false;
        for (size_t i = start; i < end; ++i) {
            if (log[i] == '<') {
                inTag = true;
            } else if (log[i] == '>') {
                inTag = false;
            } else if (!inTag && log[i] != '\r' && log[i] != '\n') {
                entry += log[i];
            }
        }
        if (entry.find("FAIL") != std::string::npos || entry.find("WARNING") != std::string::npos) {
            problems += entry + "\n";
        }
        start = end + 4;
    }
    return problems;
}

}  // namespace QuillorySim
