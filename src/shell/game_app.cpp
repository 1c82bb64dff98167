// The game's application object: start-up in the game's order, the loading thread's work, and
// the services (sprites, menus, scores, sound events) it wires together.
#include "shell/game_app.h"

#include "engine/app_log.h"
#include "engine/display_image.h"
#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "framework/sound/dsound_manager.h"
#include "framework/sound/stream_music_interface.h"
#include "platform/atomic_file.h"
#include "platform/audio_device.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "shell/start_board.h"

namespace Tuvo {

const char* const kMenuFiles[MENU_COUNT] = {
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

namespace {

// Options of "config.ini" read as integers with a default for a missing key.
int ReadConfigIntOr(const char* section, const char* key, int fallback) {
    int value = fallback;
    Quillory::ReadConfigInt(section, key, &value);
    return value;
}

// The folder where the symbol fonts and localised pictures live ("English\").
std::string LanguageFolder() {
    return Quillory::GetLanguageString("English\\");
}

}  // namespace

GameApp::GameApp(const std::vector<std::string>& arguments, Platform::Clock& clock)
    : TuvoAppBase(clock) {
    SetArguments(arguments);
    // A second copy must not touch the first copy's files: it is found out before the log is
    // started or any option is written. Only the options that decide this are looked at here.
    // The texts and menus read below come from the data folder (archive first), so it is
    // entered and its archive mounted first. Folders are taken relative to the start folder.
    std::string changeDirOption;
    bool hasChangeDir = false;
    for (const std::string& argument : arguments) {
        if (argument.rfind("-userdir=", 0) == 0) {
            Platform::SetUserFolderOverride(AbsoluteFromStart(argument.substr(9)));
        } else if (argument.rfind("-changedir=", 0) == 0) {
            changeDirOption = AbsoluteFromStart(argument.substr(11));
            hasChangeDir = true;
        } else if (argument == "-screensaver") {
            screenSaverMode_ = true;
        }
    }
    std::string problem;
    if (hasChangeDir && !Platform::CheckDataFolder(changeDirOption, problem)) {
        // An empty game that exits 0 would hide the mistake.
        Platform::ShowMessageBox(" Quillory", problem, Platform::MessageBoxKind::kError);
        Terminate(2);
    }
    changeDirectory_ = Platform::FindDataFolder(changeDirOption);
    Platform::ChangeCurrentDirectory(changeDirectory_);
    OpenDataArchive();
    std::string lockError;
    const Platform::LockResult lock = AcquireSingleInstance(&lockError);
    if (lock == Platform::LockResult::kFailed) {
        RefuseUnlockableUserFolder(lockError);
    }
    if (lock == Platform::LockResult::kTaken) {
        secondInstance_ = true;
        return;
    }
    // Only the copy that holds the lock may tidy the folder: writes killed before their rename.
    Platform::RemoveStaleTemporaryFiles(Platform::UserFolder());

    char language[Quillory::kConfigValueSize] = {};
    if (!Quillory::ReadConfigString("LANGUAGE", "Name", language)) {
        std::snprintf(language, sizeof(language), "%s", "ENGLISH");
        Quillory::WriteConfigString("LANGUAGE", "Name", language);
    }
    Quillory::SetLanguageName(language);

    productName_ = Quillory::GetLanguageString("Quillory");
    if (productName_.empty()) {
        productName_ = "Quillory";
    }
    version_ = "2.1";
    title_ = productName_;
    registryKey_ = productName_;
    width_ = 800;
    height_ = 600;
    vsyncUpdates_ = true;

    Quillory::LogMessage("*** SESSION STARTED ***", Quillory::LOG_NEW_FILE | Quillory::LOG_FRAMED);
    sprites_.SetHost(this);
    for (int screen = 0; screen < MENU_COUNT; ++screen) {
        menus_[screen].Attach(&sprites_, this);
        const std::string path = std::string("Menu\\") + kMenuFiles[screen];
        menus_[screen].Load(path.c_str());
    }
}

GameApp::~GameApp() {
    JoinResourceThread();
    if (board_ != nullptr) {
        widgetManager_->RemoveWidget(board_);
        delete board_;
        board_ = nullptr;
    }
    if (!secondInstance_) {
        sprites_.DeleteAllTextures();
        soundEvents_.FreeMusicManager();
        Quillory::LogMessage("*** Session finished ***", Quillory::LOG_FRAMED);
    }
}

void GameApp::Init() {
    if (secondInstance_) {
        OnSecondInstance();
        return;
    }
    // The options file is the source of truth; the settings store's copy is what the base reads.
    const int fullScreen = ReadConfigIntOr("OPTIONS", "btnFullScreen", 1);
    const int hardware = ReadConfigIntOr("OPTIONS", "btn3DHardware", 1);
    RegistryWriteInteger("ScreenMode", fullScreen);
    RegistryWriteInteger("Is3D", hardware);
    is3D_ = hardware != 0;

    TuvoAppBase::Init();
    if (shutdown_) {
        return;
    }
    CreateSoundServices();
    SetWindowIcon();
    Quillory::LogMessage("Init()");
    SetGameState(0);

    if (!scores_.Load()) {
        scores_.Save();
    }
    if (musicInterface_ != nullptr) {
        musicInterface_->LoadMusic(0, "Music\\theme1.ogg");
        musicInterface_->FadeIn(0, 0, 0.002, false);
    }
}

void GameApp::RunUpdate() {
    if (boardReady_ && !boardAdded_) {
        boardAdded_ = true;
        widgetManager_->AddWidget(board_);
        widgetManager_->SetFocus(board_);
    }
    TuvoAppBase::RunUpdate();
}

void GameApp::CreateSoundServices() {
    if (soundManager_ == nullptr) {
        auto sounds = std::make_unique<DSoundManager>(Platform::OpenAudioDevice(), false, &clock_);
        auto music = std::make_unique<StreamMusicInterface>(*sounds);
        SetSoundManager(std::move(sounds));
        SetMusicInterface(std::move(music));
    }
    playback_ = std::make_unique<Quillory::SoundPlayback>(soundManager_.get());
    soundEvents_.Connect(playback_.get(), musicInterface_.get());
    // The sliders' volumes reach the output only through the application's one volume owner.
    soundEvents_.SetVolumeOwner(this);
    ApplySfxVolume(settings_.sfxVolume);
    ApplyMusicVolume(settings_.musicVolume);
}

void GameApp::LoadResources() {
    auto* board = new StartBoard(*this);
    board->Resize(0, 0, width_, height_);
    board_ = board;
    // The board joins the tree on the main thread at the next update.
    boardReady_ = true;

    soundEvents_.Init();
    soundEvents_.SetMusicVolume(menus_[MENU_OPTIONS].GetSliderValue("MusicVolume"));
    soundEvents_.SetSfxVolume(menus_[MENU_OPTIONS].GetSliderValue("SfxVolume"));

    const std::string languageFolder = LanguageFolder();
    const std::string folders[3] = {"Graphics\\", "Graphics\\Shapes\\", languageFolder};
    int total = 0;
    for (const std::string& folder : folders) {
        total += sprites_.CountImages(folder.c_str());
    }
    loadTotal_ = total;
    loadDone_ = 0;
    for (const std::string& folder : folders) {
        PreloadImageFolder(folder.c_str());
    }
    const std::string font = languageFolder + "font01.png";
    sprites_.InitSymbolFont(font.c_str());
    soundEvents_.LoadSoundFolder("Sound\\");

    menus_[MENU_INFO_CLASSIC].SetAlpha(0.0f);
    menus_[MENU_INFO_RELAX].SetAlpha(0.0f);
    menus_[MENU_INFO_TRANSFORMER].SetAlpha(0.0f);
}

void GameApp::PreloadImageFolder(const char* folder) {
    if (sprites_.PreloadFolder(folder, 1)) {
        ++loadDone_;
        while (sprites_.PreloadFolder(folder, 2)) {
            ++loadDone_;
        }
    }
}

void GameApp::OnResourcesLoaded() {
    TuvoAppBase::OnResourcesLoaded();
    if (!loadingFailed_) {
        SetGameState(1);
        Platform::DebugOutput("Main menu reached after %u ms\r\n", Now() - timeLoaded_);
    }
}

void GameApp::SetWindowIcon() {
    const std::unique_ptr<MemoryImage> icon = Quillory::LoadDisplayImage("icon.png", true);
    if (icon == nullptr || !window_.SetIcon(icon->GetBits(), icon->GetWidth(), icon->GetHeight())) {
        Quillory::LogMessage("Window icon: 'icon.png' ... FAILED");
    }
}

void GameApp::OnQuit() {
    // A high score whose name is still being typed is kept with the name typed so far.
    scores_.FinishEditing();
}

void GameApp::OnScreenModeChanged(bool windowed) {
    // The options file decides the mode at the next start; Alt+Enter's choice must survive.
    Quillory::WriteConfigInt("OPTIONS", "btnFullScreen", windowed ? 0 : 1);
    menus_[MENU_OPTIONS].SetButtonChecked("btnFullScreen", !windowed);
}

void GameApp::OnHardwareAccelerationRefused() {
    Quillory::WriteConfigInt("OPTIONS", "btn3DHardware", 0);
}

void GameApp::SetGameState(int state) {
    // Texts and options are served from memory; a screen change is when files are looked at again.
    Quillory::RevalidateProfileFiles();
    previousScreenState_ = screenState_;
    screenState_ = state;
    if (board_ != nullptr) {
        board_->MarkDirty();
    }
}

std::unique_ptr<Image> GameApp::LoadDisplayImage(const char* fileName, bool commitBits) {
    return Quillory::LoadDisplayImage(fileName, commitBits);
}

uint32_t GameApp::Milliseconds() const {
    return const_cast<Platform::Clock&>(clock_).Milliseconds();
}

void GameApp::PlaySound(const char* fileName) {
    const int id = soundEvents_.FindSound(fileName);
    if (id >= 0) {
        soundEvents_.PlaySample(id);
    }
}

bool GameApp::IsLeftButtonDown() const {
    return (window_.HeldMouseButtons() & Platform::kLeftButton) != 0;
}

bool GameApp::PlaySample(int id) {
    return playback_ != nullptr && playback_->PlaySample(id);
}

bool GameApp::PlaySample(int id, int pan) {
    return playback_ != nullptr && playback_->PlaySample(id, pan);
}

}  // namespace Tuvo
