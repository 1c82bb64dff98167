// The action table: what each menu action name does in each screen state.
#include "shell/menu_actions.h"

#include <cstdio>
#include <cstring>

#include "platform/input_events.h"

namespace Tuvo {

namespace {

bool Is(const char* action, const char* name) {
    return std::strcmp(action, name) == 0;
}

constexpr int kStartLevelSimple = 0;
constexpr int kStartLevelAdvanced = 1;

}  // namespace

void MenuActions::DispatchInput(const Quillory::WindowMessage& record) {
    const int state = rules_.ScreenState();
    if (record.message == Quillory::kMessageKeyDown) {
        if (record.wParam == Platform::Key::kF1) {
            showFrameRate_ = !showFrameRate_;
        }
        if (state == STATE_PLAYING) {
            PlayingKey(record);
            return;
        }
    }
    const int menu = MenuOfState(state);
    if (menu < 0) {
        return;
    }
    if (state == STATE_HIGH_SCORES) {
        scores_.HandleKey(record);
    }
    const char* action = menus_[menu].HandleMessage(record);
    if (action != nullptr && action[0] != '\0') {
        RunAction(state, action);
    }
}

void MenuActions::PlayingKey(const Quillory::WindowMessage& record) {
    if (record.wParam == Platform::Key::kSpace) {
        float x = 0;
        if (rules_.FirstConveyorX(x) && x < 0.5f) {
            rules_.DiscardShape();
        }
    } else if (record.wParam == Platform::Key::kEscape || record.wParam == Platform::Key::kPause) {
        // The keyboard way to the pause menu, as players expect of a game.
        rules_.SetGameState(STATE_PAUSED);
    }
}

void MenuActions::RunAction(int state, const char* action) {
    if (action == nullptr) {
        return;
    }
    switch (state) {
        case STATE_MAIN_MENU:
            MainMenuAction(action);
            break;
        case STATE_MAP:
            MapAction(action);
            break;
        case STATE_INSTRUCTIONS1:
        case STATE_INSTRUCTIONS2:
        case STATE_INSTRUCTIONS3:
            InstructionsAction(state, action);
            break;
        case STATE_PLAYING:
            if (Is(action, "procMenu")) {
                rules_.SetGameState(STATE_PAUSED);
            } else if (Is(action, "procDiscard")) {
                rules_.DiscardShape();
            }
            break;
        case STATE_PAUSED:
            if (Is(action, "procOptions")) {
                rules_.SetGameState(STATE_OPTIONS);
            } else if (Is(action, "procResume")) {
                rules_.SetGameState(STATE_PLAYING);
            } else if (Is(action, "procEnd")) {
                rules_.SaveGame();
                OfferScore();
            }
            break;
        case STATE_HIGH_SCORES:
            HighScoresAction(action);
            break;
        case STATE_OPTIONS:
            OptionsAction(action);
            break;
        case STATE_GAME_COMPLETE:
            if (Is(action, "procMenu")) {
                RestoreMusicVolume();
                OfferScore();
            }
            break;
        case STATE_GAME_OVER:
            if (Is(action, "procContinue")) {
                RestoreMusicVolume();
                rules_.StartLevel();
            } else if (Is(action, "procExit")) {
                RestoreMusicVolume();
                OfferScore();
            }
            break;
        case STATE_CLEAR_CONFIRM:
            if (Is(action, "procYes")) {
                scores_.ClearAll();
                rules_.SetGameState(STATE_HIGH_SCORES);
            } else if (Is(action, "procNo")) {
                rules_.SetGameState(STATE_HIGH_SCORES);
            }
            break;
        case STATE_CONTINUE_CONFIRM:
            if (Is(action, "procLoad")) {
                // The file may have changed since it was looked at: a failed restore starts anew.
                if (!rules_.LoadSavedGame(false)) {
                    rules_.NewGame();
                }
            } else if (Is(action, "procNew")) {
                rules_.NewGame();
            } else if (Is(action, "procCancel")) {
                rules_.SetGameState(STATE_MAIN_MENU);
            }
            break;
        case STATE_CREDITS:
            if (Is(action, "procOk")) {
                const int back = rules_.PreviousState();
                rules_.SetGameState(back == STATE_CREDITS ? STATE_OPTIONS : back);
            }
            break;
        default:
            break;
    }
}

void MenuActions::MainMenuAction(const char* action) {
    if (Is(action, "procClassicGame")) {
        ChooseMode(kModeClassic);
    } else if (Is(action, "procRelaxGame")) {
        ChooseMode(kModeRelax);
    } else if (Is(action, "procTransformerGame")) {
        ChooseMode(kModeTransformer);
    } else if (Is(action, "procLevelSimple")) {
        StepStartLevel(kStartLevelSimple);
    } else if (Is(action, "procLevelAdvanced")) {
        StepStartLevel(kStartLevelAdvanced);
    } else if (Is(action, "procOptions")) {
        rules_.SetGameState(STATE_OPTIONS);
    } else if (Is(action, "procInstructions")) {
        rules_.SetGameState(STATE_INSTRUCTIONS1);
    } else if (Is(action, "procHighScores")) {
        rules_.SetGameState(STATE_HIGH_SCORES);
    } else if (Is(action, "procExit")) {
        host_.Quit();
    } else if (Is(action, "procLogo")) {
        host_.OpenUrlFile("website.url");
    } else if (Is(action, "procMoreGames")) {
        host_.OpenUrlFile("moregames.url");
    } else if (Is(action, "procTellAFriend")) {
        host_.OpenUrlFile("tellafriend.url");
    } else if (Is(action, "procSubscribe")) {
        host_.OpenUrlFile("subscribe.url");
    }
}

void MenuActions::ChooseMode(int mode) {
    rules_.SetMode(mode);
    // The peek only sets the level and score that the confirmation shows.
    if (rules_.IsGameSaved() && rules_.LoadSavedGame(true)) {
        rules_.SetGameState(STATE_CONTINUE_CONFIRM);
    } else {
        rules_.NewGame();
    }
}

void MenuActions::StepStartLevel(int which) {
    int level = rules_.StartLevelOption(which) + 1;
    if (level > Quillory::kMaxStartLevel || level < 1) {
        level = 1;
    }
    rules_.SetStartLevelOption(which, level);
}

void MenuActions::MapAction(const char* action) {
    if (Is(action, "procStart")) {
        rules_.StartLevel();
        return;
    }
    if (std::strncmp(action, "procStage", 9) != 0) {
        return;
    }
    int stage = 0;
    if (std::sscanf(action + 9, "%d", &stage) == 1) {
        rules_.SelectStage(stage);
    }
}

void MenuActions::InstructionsAction(int state, const char* action) {
    if (Is(action, "procClose")) {
        rules_.SetGameState(STATE_MAIN_MENU);
    } else if (Is(action, "procNext") && state < STATE_INSTRUCTIONS3) {
        rules_.SetGameState(state + 1);
    } else if (Is(action, "procPrevious") && state > STATE_INSTRUCTIONS1) {
        rules_.SetGameState(state - 1);
    }
}

void MenuActions::HighScoresAction(const char* action) {
    // Any way out of the table keeps a name being typed, as far as it got.
    if (Is(action, "procClear")) {
        scores_.FinishEditing();
        rules_.SetGameState(STATE_CLEAR_CONFIRM);
    } else if (Is(action, "procClose")) {
        scores_.FinishEditing();
        rules_.SetGameState(STATE_MAIN_MENU);
    } else if (Is(action, "procPrevious")) {
        scores_.FinishEditing();
        if (rules_.Mode() > 0) {
            rules_.SetMode(rules_.Mode() - 1);
        }
    } else if (Is(action, "procNext")) {
        scores_.FinishEditing();
        // All three tables can be browsed: Relax scores are entered too.
        if (rules_.Mode() < kModeCount - 1) {
            rules_.SetMode(rules_.Mode() + 1);
        }
    }
}

void MenuActions::OptionsAction(const char* action) {
    Quillory::CMenu& options = menus_[MENU_OPTIONS];
    if (Is(action, "procSoundMode")) {
        host_.SetSfxVolume(options.GetSliderValue("SfxVolume"));
    } else if (Is(action, "procMusicMode")) {
        host_.SetMusicVolume(options.GetSliderValue("MusicVolume"));
    } else if (Is(action, "procFullScreenMode")) {
        const bool checked = options.IsButtonChecked("btnFullScreen");
        if (checked == host_.IsWindowed()) {
            host_.SwitchScreenMode(!checked);
        }
    } else if (Is(action, "proc3DHardware")) {
        const bool checked = options.IsButtonChecked("btn3DHardware");
        if (checked != host_.Is3D()) {
            host_.Switch3D(checked);
        }
        rules_.SetEffectsDetail(host_.Is3D() ? 10 : 5);
    } else if (Is(action, "procCredits")) {
        rules_.SetGameState(STATE_CREDITS);
    } else if (Is(action, "procClose")) {
        rules_.SetGameState(rules_.OptionsFromPause() ? STATE_PAUSED : STATE_MAIN_MENU);
    }
}

void MenuActions::RestoreMusicVolume() {
    // The player's own volume never changed: only the rules' duck is lifted.
    host_.LiftMusicDuck();
}

void MenuActions::OfferScore() {
    rules_.ClearEffects();
    scores_.SetTable(rules_.Mode());
    const int score = rules_.Score();
    // The table holds unsigned numbers: a Relax score below zero would enter as a huge one.
    if (score > 0 && scores_.AddScore(static_cast<uint32_t>(score), "") != 0) {
        rules_.SetGameState(STATE_HIGH_SCORES);
    } else {
        rules_.SetGameState(STATE_MAIN_MENU);
    }
}

}  // namespace Tuvo
