// The game's application object: start-up in the game's order, the loading thread's work, and
// the services (sprites, menus, scores, sound events) it wires together.
#include "shell/game_app.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
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
#include "shell/screenshot.h"

namespace Tuvo {

namespace {

// Options of "config.ini" read as integers with a default for a missing key.
int ReadConfigIntOr(const char* section, const char* key, int fallback) {
    int value = fallback;
    Quillory::ReadConfigInt(section, key, &value);
    return value;
}

// The version shown in the title and written into recordings, which only this version plays.
constexpr const char* kProgramVersion = "2.1";

// The folder where the symbol fonts and localised pictures live ("English\").
std::string LanguageFolder() {
    return Quillory::GetLanguageString("English\\");
}

}  // namespace

SteppedClockHolder::SteppedClockHolder(Platform::Clock& real,
                                       const std::vector<std::string>& arguments)
    : steppedClock_(real) {
    DemoOptions options;
    std::string ignored;  // judged again, with a message, by SetUpDemo
    if (ParseDemoOptions(arguments, options, ignored) && options.mode != DemoOptions::Mode::kNone) {
        steppedClock_.SetStepped(true);
    }
}

GameApp::GameApp(const std::vector<std::string>& arguments, Platform::Clock& clock)
    : SteppedClockHolder(clock, arguments),
      TuvoAppBase(steppedClock_),
      effects_(steppedClock_, cosmeticRandom_, &soundEvents_, &sprites_) {
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
    SetUpDemo(arguments, startFolder_);
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
    if (demo_ != nullptr && demo_->IsRecording()) {
        demo_->CaptureUserFiles(Platform::UserFolder());
    }

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
    version_ = kProgramVersion;
    title_ = productName_;
    registryKey_ = productName_;
    width_ = 800;
    height_ = 600;
    vsyncUpdates_ = true;

    Quillory::LogMessage("*** SESSION STARTED ***", Quillory::LOG_NEW_FILE | Quillory::LOG_FRAMED);
    for (const std::string& warning : demoWarnings_) {
        Quillory::LogMessage(warning.c_str());
    }
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
    // A playback opens the window as its recording did.
    const bool recordedMode = demo_ != nullptr && demo_->IsPlaying();
    RegistryWriteInteger("ScreenMode",
                         recordedMode ? (demo_->Data().windowed ? 0 : 1) : fullScreen);
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
    ApplyDemoStart();
    ShowDisplayOptions();
    game_->LoadClasses("classes.xml");
    SetGameState(0);
    // A playback's input is its recording's alone.
    const char* script = std::getenv("QUILLORY_INPUT_SCRIPT");
    if (script != nullptr && (demo_ == nullptr || demo_->IsRecording())) {
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
    PointerPosition(x, y);
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
    const int buttons =
        demo_ != nullptr ? demo_->SampleButtons() : TuvoAppBase::SampleMouseButtons();
    return buttons | scriptButtons_.Sample();
}

void GameApp::PointerPosition(int& x, int& y) const {
    if (demo_ != nullptr) {
        demo_->Pointer(x, y);
    } else {
        TuvoAppBase::PointerPosition(x, y);
    }
}

void GameApp::ScriptQuit() {
    if (demo_ != nullptr) {
        // Between updates, where the recording's end line can put it again.
        demoQuitRequested_ = true;
    } else {
        Quit();
    }
}

std::string GameApp::TakeScreenshot() {
    std::string error;
    const std::vector<uint32_t> pixels = ScreenPixels();
    const std::string path =
        WriteScreenshot(Platform::UserFolder() + "/screenshots",
                        pixels.empty() ? nullptr : pixels.data(), width_, height_, error);
    if (path.empty()) {
        Quillory::LogMessage(("Screenshot FAILED: " + error).c_str());
    } else {
        Quillory::LogMessage(("Screenshot: " + path).c_str());
    }
    return path;
}

void GameApp::DeliverInput(const Platform::InputEvent& event) {
    if (demo_ != nullptr) {
        demo_->HandOver(event);
    }
    if (event.kind == Platform::EventKind::kKeyDown && event.keyCode == Platform::Key::kF1 + 11) {
        TakeScreenshot();  // F12 is the screenshot key and nothing else
        return;
    }
    TuvoAppBase::DeliverInput(event);
}

void GameApp::PumpWindowEvents(std::vector<Platform::InputEvent>& events) {
    if (demo_ == nullptr || demo_->IsRecording()) {
        TuvoAppBase::PumpWindowEvents(events);
        return;
    }
    // A playback hears only its recording; closing the window still ends it.
    std::vector<Platform::InputEvent> live;
    TuvoAppBase::PumpWindowEvents(live);
    for (const Platform::InputEvent& event : live) {
        if (event.kind == Platform::EventKind::kCloseRequested ||
            event.kind == Platform::EventKind::kRepaint) {
            events.push_back(event);
        }
    }
}

void GameApp::SetUpDemo(const std::vector<std::string>& arguments, const std::string& startFolder) {
    DemoOptions options;
    std::string error;
    if (!ParseDemoOptions(arguments, options, error)) {
        Platform::ShowMessageBox(" Quillory", "Recorded play: " + error,
                                 Platform::MessageBoxKind::kError);
        Terminate(2);
    }
    if (options.mode == DemoOptions::Mode::kNone) {
        return;
    }
    const std::string path = DemoFilePath(options, startFolder, Platform::UserFolder());
    const uint64_t data =
        DataFingerprint(std::vector<std::string>(std::begin(kMenuFiles), std::end(kMenuFiles)));
    if (options.mode == DemoOptions::Mode::kRecord) {
        demo_ = DemoSession::ForRecording(path, data);
        return;
    }
    demo_ = DemoSession::ForPlayback(path, kProgramVersion, data, error);
    if (demo_ == nullptr) {
        Platform::ShowMessageBox(" Quillory", "Recorded play: " + error,
                                 Platform::MessageBoxKind::kError);
        Terminate(2);
    }
    // The player's own files are never played on: a fresh folder unless one was named.
    bool named = false;
    for (const std::string& argument : arguments) {
        named = named || argument.rfind("-userdir=", 0) == 0;
    }
    std::string folder = Platform::UserFolder();
    if (!named) {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern =
            std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
            "/quillory-play-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            Platform::ShowMessageBox(" Quillory", "Recorded play: no temporary folder to play in",
                                     Platform::MessageBoxKind::kError);
            Terminate(2);
        }
        folder = pattern;
        demo_->OwnTemporaryFolder(folder);
        Platform::SetUserFolderOverride(folder);
    }
    if (!PrepareUserFolder(demo_->Data(), folder, !named, demoWarnings_, error)) {
        Platform::ShowMessageBox(" Quillory", "Recorded play: " + error,
                                 Platform::MessageBoxKind::kError);
        Terminate(2);
    }
}

void GameApp::ApplyDemoStart() {
    if (demo_ == nullptr) {
        return;
    }
    Recording& data = demo_->Data();
    if (demo_->IsRecording()) {
        // The session's own seed (the calendar's, or $QUILLORY_SEED), as an unrecorded session
        // would use it.
        const uint32_t seed = SeedOfSession();
        data.seeds = {seed, seed, seed, seed ^ 0x5EEDu};
        data.programVersion = version_;
        data.windowed = settings_.windowed;
        data.detail = effects_.Detail();
        Quillory::LogMessage(("Recording play into " + demo_->Path()).c_str());
    } else {
        effects_.SetDetail(data.detail);
        Quillory::LogMessage(("Playing back " + demo_->Path()).c_str());
    }
    Platform::StandardRandom().Seed(data.seeds[0]);
    Platform::FrameworkRandom().Seed(data.seeds[1]);
    rulesRandom_.Seed(data.seeds[2]);
    cosmeticRandom_.Seed(data.seeds[3]);
    demoRealStart_ = steppedClock_.Real().Milliseconds();
}

bool GameApp::StepTiming(bool maySleep) {
    if (demo_ == nullptr) {
        return TuvoAppBase::StepTiming(maySleep);
    }
    StepDemo();
    DeleteRetiredWidgets();
    return true;
}

void GameApp::StepDemo() {
    loopStepState_ = LOOP_DONE;
    Platform::Clock& real = steppedClock_.Real();
    if (loadingFailed_) {
        Quit();
        return;
    }
    if (!loadingThreadCompleted_) {
        // No update before everything is loaded: the loading screen alone, now and then.
        if (real.Milliseconds() - demoLastLoadingDraw_ >= 50) {
            demoLastLoadingDraw_ = real.Milliseconds();
            PrepareScreenImage();
            widgetManager_->DrawScreen();
            PresentFrame();
        }
        real.Sleep(5);
        demoRealStart_ = real.Milliseconds();
        return;
    }
    const int tick = demo_->NextTick();
    if (demo_->IsPlaying()) {
        for (const Platform::InputEvent& event : demo_->EventsBefore(tick)) {
            DeliverInput(event);
        }
    }
    if (shutdown_) {
        return;
    }
    if (demoQuitRequested_ || (demo_->IsPlaying() && demo_->EndsBefore(tick))) {
        Quit();
        return;
    }
    TryUpdate();
    if (!shutdown_) {
        RunFractionalUpdate(1.0f);
    }
    steppedClock_.Step(static_cast<uint32_t>(frameTime_));
    demo_->TickDone(ScreenState(), game_->State().score, game_->State().levelNumber);
    if (tick % 2 == 0) {
        // Drawing reads the clock too: it happens after the same updates in every run.
        PrepareScreenImage();
        if (widgetManager_->DrawScreen()) {
            ++drawCount_;
        }
        PresentFrame();
    }
    // Recording, and playing where someone watches, keep to real time; headless playback runs
    // as fast as it can. A long stall is not caught up.
    if (demo_->IsRecording() || Platform::HasDisplay()) {
        const uint32_t due = demoRealStart_ + static_cast<uint32_t>(tick * frameTime_);
        const int ahead = static_cast<int>(due - real.Milliseconds());
        if (ahead > 0) {
            ++sleepCount_;
            real.Sleep(static_cast<uint32_t>(ahead));
        } else if (ahead < -200) {
            demoRealStart_ = real.Milliseconds() - static_cast<uint32_t>(tick * frameTime_);
        }
    }
}

void GameApp::OnLoopEnd() {
    if (demo_ == nullptr) {
        return;
    }
    std::string error;
    if (demo_->Finish(error)) {
        Quillory::LogMessage((demo_->IsRecording() ? "Recording written: " + demo_->Path()
                                                   : "Playback finished: " + demo_->Path())
                                 .c_str());
        return;
    }
    if (demo_->IsRecording()) {
        Quillory::LogMessage(("Recording FAILED: " + error).c_str());
        exitCode_ = 1;
    } else {
        Quillory::LogMessage(("Playback FAILED: the session went another way: " + error).c_str());
        std::fprintf(stderr, "Playback of %s went another way: %s\n", demo_->Path().c_str(),
                     error.c_str());
        exitCode_ = 3;
    }
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
    if (demo_ != nullptr) {
        return;  // recorded, the buttons are those of the events handed over, as in playback
    }
    if (down) {
        scriptButtons_.Press(button);
    } else {
        scriptButtons_.Release(button);
    }
}

void GameApp::ScriptPointer(float& x, float& y) const {
    int px = 0;
    int py = 0;
    PointerPosition(px, py);
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
    const std::vector<uint32_t> pixels = ScreenPixels();
    return !pixels.empty() && ImageLib::WritePngFile(path, pixels.data(), width_, height_);
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
    const int held = demo_ != nullptr ? demo_->HeldButtons() : window_.HeldMouseButtons();
    return (held & Platform::kLeftButton) != 0;
}

bool GameApp::PlaySample(int id) {
    return playback_ != nullptr && playback_->PlaySample(id);
}

bool GameApp::PlaySample(int id, int pan) {
    return playback_ != nullptr && playback_->PlaySample(id, pan);
}

}  // namespace Tuvo
