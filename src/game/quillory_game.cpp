// The rules object itself: construction, the screen state, the per-frame step that runs the
// rules of every screen, the level clock's pause, and the score additions that the effects list
// times.
#include "game/quillory_game.h"

#include <cstring>

#include "effects/effect2d.h"
#include "engine/ini_access.h"
#include "platform/clock.h"
#include "platform/random.h"

namespace Quillory {

bool GameModel::IsBonusLevel() const {
    return std::strcmp(bonusLevel, "true") == 0;
}

CQuilloryGame::CQuilloryGame(const GameServices& services) : services_(services) {
    if (services_.clock != nullptr) {
        epochMs_ = services_.clock->Milliseconds();
    }
    int level = 1;
    if (ReadConfigInt("GAMEPLAY", "LastOpenedLevel", &level) && level >= 1) {
        model_.lastOpenedLevel = level;
    }
    ResetLines();
}

CQuilloryGame::~CQuilloryGame() = default;

// Seconds since the rules were made: small numbers keep a float's precision for hours of play,
// and the unsigned difference survives the millisecond clock's wrap.
float CQuilloryGame::ClockNow() const {
    if (services_.clock == nullptr) {
        return 0.0f;
    }
    const uint32_t since = services_.clock->Milliseconds() - epochMs_;
    return static_cast<float>(since) * 0.001f;
}

int CQuilloryGame::Rand(int lo, int hi) {
    if (hi < lo || services_.rulesRandom == nullptr) {
        return lo;
    }
    return services_.rulesRandom->RandInt(lo, hi);
}

double CQuilloryGame::R01() {
    return services_.rulesRandom != nullptr ? services_.rulesRandom->R01() : 0.0;
}

void CQuilloryGame::PlaySound(const char* eventName) {
    if (services_.sounds != nullptr) {
        services_.sounds->PlayEvent(eventName);
    }
}

void CQuilloryGame::SetGameState(int state) {
    const int previous = model_.screenState;
    model_.previousScreenState = previous;
    model_.screenState = state;
    if (state == STATE_OPTIONS && previous == STATE_PAUSED) {
        model_.optionsFromPause = 1;
    } else if (state == STATE_OPTIONS && previous == STATE_MAIN_MENU) {
        model_.optionsFromPause = 0;
    }
    if (previous == STATE_PLAYING && state == STATE_PAUSED) {
        Pause(true);
    } else if (previous == STATE_PAUSED && state == STATE_PLAYING) {
        Pause(false);
    }
    // A press that switched screens (the "Resume" button) must not act on the new screen.
    RestartButtonEdges();
    if (services_.host != nullptr) {
        services_.host->OnScreenStateChanged(previous, state);
    }
}

void CQuilloryGame::Pause(bool on) {
    const float now = ClockNow();
    if (on) {
        if (pauseDepth_++ == 0) {
            model_.pauseClock = now;
        }
        return;
    }
    if (pauseDepth_ == 0) {
        return;
    }
    if (--pauseDepth_ == 0) {
        const float paused = now - model_.pauseClock;
        model_.playStartTime += paused;
        model_.levelStartTime += paused;
    }
}

float CQuilloryGame::LevelClockElapsed() const {
    if (model_.phase != PHASE_PLAYING) {
        return model_.levelTime - model_.remainingAtStart;
    }
    const float now = pauseDepth_ > 0 ? model_.pauseClock : ClockNow();
    return now - model_.playStartTime;
}

void CQuilloryGame::AdvanceFrame(float updateAmount) {
    model_.frameStep = updateAmount / 100.0f;
    model_.now = ClockNow();
    switch (model_.screenState) {
        case STATE_LOADING:
            return;
        case STATE_PLAYING:
            UpdateGame(updateAmount);
            if (model_.screenState == STATE_PLAYING && model_.tutorialOn != 0) {
                TutorialSetUp();
            }
            return;
        case STATE_MAIN_MENU:
            MainMenuStep();
            RunEffects();
            break;
        case STATE_MAP:
            StageMapStep();
            break;
        case STATE_LEVEL_END:
            LevelEnd();
            break;
        case STATE_GAME_COMPLETE:
            RevealStep();
            break;
        default:
            break;
    }
    UpdateButterflies(model_.frameStep);
}

void CQuilloryGame::RunEffects() {
    if (services_.effects != nullptr) {
        services_.effects->Update();
    }
    ApplyDueScores();
    PlaceCellsOnLines();
}

bool CQuilloryGame::EffectsEmpty() const {
    return services_.effects == nullptr || services_.effects->Count() == 0;
}

void CQuilloryGame::ClearEffects() {
    if (services_.effects != nullptr) {
        services_.effects->Clear();
    }
    for (PendingScore& pending : pendingScores_) {
        pending = PendingScore{};
    }
}

void CQuilloryGame::QueueScore(float delay, int amount, ScoreReason reason) {
    for (PendingScore& pending : pendingScores_) {
        if (pending.used) {
            continue;
        }
        pending = PendingScore{};
        if (Fx().ScoreAt(delay, &pending.fired)) {
            pending.used = true;
            pending.amount = amount;
            pending.reason = reason;
            return;
        }
        break;
    }
    // No room to time it: the points are never lost, they arrive now.
    model_.score += amount;
    if (services_.events != nullptr) {
        services_.events->OnScoreAdded(amount, reason, model_.score);
    }
}

void CQuilloryGame::ApplyDueScores() {
    const bool listEmpty = EffectsEmpty();
    for (PendingScore& pending : pendingScores_) {
        if (!pending.used) {
            continue;
        }
        if (pending.fired != 0) {
            model_.score += pending.amount;
            if (services_.events != nullptr) {
                services_.events->OnScoreAdded(pending.amount, pending.reason, model_.score);
            }
            pending = PendingScore{};
        } else if (listEmpty) {
            // The effects list was cleared under it (the game was left): nothing will come.
            pending = PendingScore{};
        }
    }
}

}  // namespace Quillory
