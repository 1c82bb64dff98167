// The small adapters that connect the game rules, the action table and the board to the
// application's real services: the pointer and buttons of the window, sound events and music
// volume, image look-up, and the rules' entry points as the action table sees them.
#pragma once

#include "effects/effect2d.h"
#include "engine/audio_volumes.h"
#include "engine/ogg_manager.h"
#include "engine/sprite_manager.h"
#include "game/quillory_game.h"
#include "shell/menu_actions.h"

namespace Tuvo {

class TuvoAppBase;

// The pointer in screen fractions and the sampled buttons (taps latched) of the main window.
class WindowPointer : public Quillory::PointerInput {
public:
    explicit WindowPointer(TuvoAppBase& application) : application_(application) {}
    Quillory::PointerState Sample() override;

private:
    TuvoAppBase& application_;
};

// Sound events by name through the sound front end. The rules' music volume is a duck over the
// player's own volume: it lowers what is heard and never reaches the saved settings.
class SoundEventsOutput : public Quillory::GameSounds {
public:
    SoundEventsOutput(Quillory::COggManager& events, Quillory::AudioVolumes& volumes)
        : events_(events), volumes_(volumes) {}
    void PlayEvent(const char* eventName) override { events_.PlaySoundEvent(eventName); }
    void SetMusicVolume(float volume) override { volumes_.SetMusicDuck(volume); }

private:
    Quillory::COggManager& events_;
    Quillory::AudioVolumes& volumes_;
};

class SpriteTextures : public Quillory::TextureSource {
public:
    explicit SpriteTextures(Quillory::CSpriteManager& sprites) : sprites_(sprites) {}
    Tuvo::Image* GetTexture(const char* fileName) override { return sprites_.GetTexture(fileName); }

private:
    Quillory::CSpriteManager& sprites_;
};

// The rules' entry points as the action table uses them.
class RulesActions : public ActionRules {
public:
    // `map` is the stage map's menu screen, whose "btnStage" buttons are the stages there are.
    RulesActions(Quillory::CQuilloryGame& game, Quillory::CEffect2d& effects,
                 const Quillory::CMenu& map)
        : game_(game), effects_(effects), map_(map) {}

    int ScreenState() const override { return game_.ScreenState(); }
    void SetGameState(int state) override { game_.SetGameState(state); }
    int PreviousState() const override { return game_.PrevScreenState(); }
    bool OptionsFromPause() const override { return game_.OptionsFromPause(); }
    int Mode() const override { return game_.State().mode; }
    void SetMode(int mode) override { game_.SetMode(mode); }
    int Score() const override { return game_.State().score; }
    int LevelNumber() const override { return game_.State().levelNumber; }
    int StartLevelOption(int which) const override;
    void SetStartLevelOption(int which, int level) override;
    bool IsGameSaved() override { return game_.IsGameSaved(); }
    bool LoadSavedGame(bool peek) override { return game_.LoadSavedGame(peek); }
    void SaveGame() override { game_.SaveGame(); }
    void NewGame() override { game_.NewGame(); }
    void StartLevel() override { game_.StartLevel(); }
    void DiscardShape() override { game_.DiscardShape(); }
    bool FirstConveyorX(float& x) const override;
    bool SelectStage(int stage) override;
    void ClearEffects() override { effects_.Clear(); }
    void SetEffectsDetail(int detail) override { effects_.SetDetail(detail); }

private:
    Quillory::CQuilloryGame& game_;
    Quillory::CEffect2d& effects_;
    const Quillory::CMenu& map_;
};

}  // namespace Tuvo
