// The screen-state machine's input side: every window-message record goes to the menu screen of
// the current state, and the action name it answers with is carried out here (switching screens,
// calling the game rules, changing options, opening shortcut files). The rules and the
// application are reached through two small interfaces, so tests drive the table without a
// window.
#pragma once

#include "engine/scores.h"
#include "engine/window_message.h"
#include "playfield/screens.h"

namespace Tuvo {

// What the actions ask of the game rules.
class ActionRules {
public:
    virtual ~ActionRules() = default;
    virtual int ScreenState() const = 0;
    // The rules' part of a switch (pausing between 6 and 7, the options-from-pause flag); the
    // rules then tell the shell, which nudges the pointer and redraws.
    virtual void SetGameState(int state) = 0;
    virtual int PreviousState() const = 0;
    virtual bool OptionsFromPause() const = 0;
    virtual int Mode() const = 0;
    virtual void SetMode(int mode) = 0;
    virtual int Score() const = 0;
    virtual int LevelNumber() const = 0;
    // The start levels of the level-selection options: 0 for Classic and Relax, 1 Transformer.
    virtual int StartLevelOption(int which) const = 0;
    virtual void SetStartLevelOption(int which, int level) = 0;
    virtual bool IsGameSaved() = 0;
    virtual bool LoadSavedGame(bool peek) = 0;
    virtual void SaveGame() = 0;
    virtual void NewGame() = 0;
    virtual void StartLevel() = 0;
    virtual void DiscardShape() = 0;
    // The x of the first conveyor shape; false when the conveyor is empty.
    virtual bool FirstConveyorX(float& x) const = 0;
    // The map's stage choice: level, marker and the stage's sound. False for an unknown stage.
    virtual bool SelectStage(int stage) = 0;
    virtual void ClearEffects() = 0;
    virtual void SetEffectsDetail(int detail) = 0;
};

// What the actions ask of the window and the application.
class ActionHost {
public:
    virtual ~ActionHost() = default;
    virtual void Quit() = 0;
    // Opens a shortcut file beside the program with the system's handler; a missing one does
    // nothing.
    virtual void OpenUrlFile(const char* path) = 0;
    virtual bool IsWindowed() const = 0;
    virtual void SwitchScreenMode(bool windowed) = 0;
    virtual bool Is3D() const = 0;
    // Switches hardware acceleration and re-creates the renderer.
    virtual void Switch3D(bool on) = 0;
    virtual void SetMusicVolume(float volume) = 0;
    virtual void SetSfxVolume(float volume) = 0;
    // Lifts the rules' lowering of the music (after a loss or the end of the game) as play goes
    // on; the player's own volume is never touched by it.
    virtual void LiftMusicDuck() = 0;
};

class MenuActions {
public:
    MenuActions(ActionRules& rules, ActionHost& host, MenuSet& menus, Quillory::CScores& scores)
        : rules_(rules), host_(host), menus_(menus), scores_(scores) {}

    // The application's message handler: F1, the game's keys, then the current menu's action.
    void DispatchInput(const Quillory::WindowMessage& record);
    // Carries out an action name of the given state; unknown names are ignored.
    void RunAction(int state, const char* action);

    bool ShowFrameRate() const { return showFrameRate_; }
    // Offers the current score to the mode's high-score table: state 8 when it entered, else 1.
    void OfferScore();

private:
    void MainMenuAction(const char* action);
    void ChooseMode(int mode);
    void MapAction(const char* action);
    void HighScoresAction(const char* action);
    void OptionsAction(const char* action);
    void InstructionsAction(int state, const char* action);
    void PlayingKey(const Quillory::WindowMessage& record);
    void RestoreMusicVolume();
    void StepStartLevel(int which);

    ActionRules& rules_;
    ActionHost& host_;
    MenuSet& menus_;
    Quillory::CScores& scores_;
    bool showFrameRate_ = false;
};

}  // namespace Tuvo
