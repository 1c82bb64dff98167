// The game's application object: start-up in the game's order, the loading thread's work, and
// the services (sprites, menus, scores, sound events) it wires together.
#include "shell/game_app.h"

#include <algorithm>
#include <cstdlib>

#include "engine/app_log.h"
#include "engine/display_image.h"
#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "framework/sound/dsound_manager.h"
#include "framework/sound/stream_music_interface.h"
#include "imagefiles/png_writer.h"
#include "platform/atomic_file.h"
#include "platform/audio_device.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/system.h"

namespace Tuvo {

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
    : TuvoAppBase(clock), effects_(clock, cosmeticRandom_, &soundEvents_, &sprites_) {
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

    // The rules read the progress from the options file: the user folder is known by now.
    Quillory::GameServices services;
    services.clock = &clock_;
    services.pointer = &pointer_;
    services.rulesRandom = &rulesRandom_;
    services.cosmeticRandom = &cosmeticRandom_;
    services.sounds = &soundOutput_;
    services.textures = &textures_;
    services.effects = &effects_;
    services.menus = &menuControls_;
    services.host = this;
    game_ = std::make_unique<Quillory::CQuilloryGame>(services);
    rulesActions_ = std::make_unique<RulesActions>(*game_, effects_, menus_[MENU_MAP]);
    actions_ = std::make_unique<MenuActions>(*rulesActions_, *this, menus_, scores_);
    painter_ = std::make_unique<ScreenPainter>(*game_, sprites_, menus_, effects_, scores_);
    painter_->SetLanguageFolder(LanguageFolder().c_str());
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
    effects_.SetDetail(is3D_ ? 10 : 5);

    TuvoAppBase::Init();
    if (shutdown_) {
        return;
    }
    CreateSoundServices();
    SetWindowIcon();
    Quillory::LogMessage("Init()");
    // The rules and the decoration draw from their own generators, seeded with the session.
    rulesRandom_.Seed(SeedOfSession());
    cosmeticRandom_.Seed(SeedOfSession() ^ 0x5EEDu);
    // The renderer may have refused acceleration: the particle detail follows what we got.
    effects_.SetDetail(Is3DAccelerated() ? 10 : 5);
    ShowDisplayOptions();
    game_->LoadClasses("classes.xml");
    SetGameState(0);
    if (const char* script = std::getenv("QUILLORY_INPUT_SCRIPT"); script != nullptr) {
        script_ = std::make_unique<InputScript>();
        if (!script_->Load(script)) {
            script_.reset();
        }
    }

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
    if (script_ != nullptr) {
        script_->Step(*this);
    }
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
    auto* board = new Board(*this, sprites_, clock_);
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
        // On the main thread, since the effects and the menus belong to it: the panels start
        // invisible and the main menu fades in from black.
        effects_.Clear();
        menus_[MENU_INFO_CLASSIC].SetAlpha(0.0f);
        menus_[MENU_INFO_RELAX].SetAlpha(0.0f);
        menus_[MENU_INFO_TRANSFORMER].SetAlpha(0.0f);
        float* fade = &game_->EditState().fade;
        *fade = 0.0f;
        effects_.AddFloatTween(0.0f, 0.5f, 0.0f, 1.0f, fade);
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

int GameApp::ScreenState() const {
    return game_ != nullptr ? game_->ScreenState() : 0;
}

void GameApp::SetGameState(int state) {
    if (game_ != nullptr) {
        game_->SetGameState(state);
    }
}

void GameApp::OnScreenStateChanged(int, int) {
    // Texts and options are served from memory; a screen change is when files are looked at again.
    Quillory::RevalidateProfileFiles();
    // The warp also queues the move, so hover is refreshed where warping is refused.
    int x = 0;
    int y = 0;
    window_.PointerPosition(x, y);
    window_.WarpPointer(x, y + 1);
    if (board_ != nullptr) {
        board_->MarkDirty();
    }
}

void GameApp::AdvanceFrame(float updateAmount) {
    game_->AdvanceFrame(updateAmount);
    painter_->UpdateRelaxPanel(game_->State().frameStep);
}

void GameApp::PaintScreen(int state) {
    painter_->SetLoadPercent(LoadPercent());
    painter_->PaintScreen(state);
}

void GameApp::DispatchInput(const Quillory::WindowMessage& record) {
    actions_->DispatchInput(record);
}

float GameApp::Fade() const {
    return game_ != nullptr ? game_->State().fade : 1.0f;
}

bool GameApp::ShowFrameRate() const {
    return actions_ != nullptr && actions_->ShowFrameRate();
}

int GameApp::LoadPercent() const {
    const int total = loadTotal_;
    if (total <= 0) {
        return 0;
    }
    const int percent = static_cast<int>(loadDone_ / static_cast<double>(total) * 100.0);
    return std::clamp(percent, 0, 100);
}

void GameApp::OpenUrlFile(const char* path) {
    Platform::OpenUrlFile(path);
}

void GameApp::Switch3D(bool on) {
    if (on == Is3DAccelerated() || !window_.IsCreated()) {
        return;
    }
    // A new renderer: the window is made again with the other kind.
    is3D_ = on;
    RegistryWriteInteger("Is3D", on ? 1 : 0);
    if (!CreateMainWindow()) {
        is3D_ = !on;
        if (!CreateMainWindow()) {
            Quit();
            return;
        }
    }
    window_.Show();
    ResetTimeBacklog(false);
    ShowDisplayOptions();
}

void GameApp::SwitchScreenMode(bool windowed) {
    TuvoAppBase::SwitchScreenMode(windowed);
    ShowDisplayOptions();
}

void GameApp::ShowDisplayOptions() {
    menus_[MENU_OPTIONS].SetButtonChecked("btnFullScreen", !settings_.windowed);
    menus_[MENU_OPTIONS].SetButtonChecked("btn3DHardware", Is3DAccelerated());
}

int GameApp::SampleMouseButtons() {
    return TuvoAppBase::SampleMouseButtons() | scriptButtons_.Sample();
}

int GameApp::ScriptTutorialStep() const {
    const Quillory::GameModel& m = game_->State();
    return m.tutorialOn != 0 ? m.tutorialStep : 0;
}

bool GameApp::ScriptControlCentre(const std::string& menuFile, const std::string& control, float& x,
                                  float& y) const {
    for (int screen = 0; screen < MENU_COUNT; ++screen) {
        if (menuFile != kMenuFiles[screen]) {
            continue;
        }
        const Quillory::CMenu& menu = menus_[screen];
        for (int i = 0; i < menu.ButtonCount(); ++i) {
            if (control == menu.Button(i).name) {
                x = menu.Button(i).xc;
                y = menu.Button(i).yc;
                return true;
            }
        }
    }
    return false;
}

bool GameApp::ScriptShapeCentre(bool cell, int index, float& x, float& y) const {
    const Quillory::GameModel& m = game_->State();
    const int count = cell ? m.cellCount : m.conveyorCount;
    if (index < 0 || index >= count) {
        return false;
    }
    const Quillory::ShapeItem& item = cell ? m.cells[index] : m.conveyor[index];
    x = item.x;
    y = item.y;
    return item.active != 0 || !cell;
}

void GameApp::ScriptMovePointer(float x, float y) {
    window_.WarpPointer(static_cast<int>(x * width_), static_cast<int>(y * height_));
}

void GameApp::ScriptButton(bool down, bool right, float x, float y) {
    Platform::InputEvent event;
    event.kind = down ? Platform::EventKind::kMouseDown : Platform::EventKind::kMouseUp;
    event.x = static_cast<int>(x * width_);
    event.y = static_cast<int>(y * height_);
    event.clickCount = right ? -1 : 1;
    QueueInputEvent(event);
    const int button = right ? Platform::kRightButton : Platform::kLeftButton;
    if (down) {
        scriptButtons_.Press(button);
    } else {
        scriptButtons_.Release(button);
    }
}

void GameApp::ScriptPointer(float& x, float& y) const {
    int px = 0;
    int py = 0;
    window_.PointerPosition(px, py);
    x = static_cast<float>(px) / width_;
    y = static_cast<float>(py) / height_;
}

void GameApp::ScriptKey(int code) {
    Platform::InputEvent event;
    event.kind = Platform::EventKind::kKeyDown;
    event.keyCode = code;
    QueueInputEvent(event);
    event.kind = Platform::EventKind::kKeyUp;
    QueueInputEvent(event);
}

void GameApp::ScriptCharacter(char character) {
    Platform::InputEvent event;
    event.kind = Platform::EventKind::kKeyChar;
    event.character = static_cast<unsigned char>(character);
    QueueInputEvent(event);
}

bool GameApp::ScriptScreenshot(const std::string& path) {
    const uint32_t* bits = screenImage_.GetBits();
    if (bits == nullptr) {
        return false;
    }
    // The back buffer is opaque however its alpha bytes were left.
    std::vector<uint32_t> pixels(bits, bits + static_cast<size_t>(width_) * height_);
    for (uint32_t& pixel : pixels) {
        pixel |= 0xFF000000u;
    }
    return ImageLib::WritePngFile(path, pixels.data(), width_, height_);
}

void GameApp::SetMusicVolume(float volume) {
    soundEvents_.SetMusicVolume(volume);
}

void GameApp::LiftMusicDuck() {
    SetMusicDuck(1.0);
}

void GameApp::SetSfxVolume(float volume) {
    soundEvents_.SetSfxVolume(volume);
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
