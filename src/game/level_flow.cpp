// The course of a game: modes, a new game, the stage map, the opening of a level with its phases,
// winning and losing, the step to the next level or stage, the game-complete reveal, and the
// main menu's information panels.
#include <cstdio>
#include <cstring>

#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "game/quillory_game.h"

namespace Quillory {

namespace {

constexpr float kClockStartDelay = 0.9f;  // the level clock starts this long after the opening
constexpr float kPanelRate = 4.0f;        // information panels fade at 4 per second
constexpr int kCompletionBonus = 1500;
constexpr int kBonusLevelPart = 750;
constexpr int kBonusLevelFinal = 1000;
constexpr int kRevealPoints = 1000;
constexpr float kWinScoreX = 0.59f;
constexpr float kWinScoreY = 0.45f;

}  // namespace

void CQuilloryGame::ResetLines() {
    GameModel& m = model_;
    for (int i = 0; i < kLineCount; ++i) {
        PlayLine& line = m.lines[i];
        line = PlayLine{};
        line.x = static_cast<float>(i) * kLineSpacing + kFirstLineX;
        lineSlot_[i] = i;
    }
    m.linesLeft = kLineCount;
}

void CQuilloryGame::ClearTutorial() {
    model_.tutorialOn = 0;
    model_.tutorialStep = TUTORIAL_TAKE;
    pauseDepth_ = 0;
}

void CQuilloryGame::SetMode(int mode) {
    if (mode >= MODE_CLASSIC && mode <= MODE_RELAX) {
        model_.mode = mode;
    }
}

void CQuilloryGame::ChooseMode(int mode) {
    SetMode(mode);
    if (IsGameSaved() && LoadSavedGame(true)) {
        SetGameState(STATE_CONTINUE_CONFIRM);
    } else {
        NewGame();
    }
}

void CQuilloryGame::AdvanceStartLevel(bool transformer) {
    int& level = transformer ? model_.startLevelTransformer : model_.startLevelClassic;
    level = level >= kMaxStartLevel ? 1 : level + 1;
}

void CQuilloryGame::NewGame() {
    GameModel& m = model_;
    m.levelNumber = m.mode == MODE_TRANSFORMER ? m.startLevelTransformer : m.startLevelClassic;
    m.score = 0;
    ClearTutorial();
    ShowStageMap();
}

void CQuilloryGame::ShowStageMap() {
    SetGameState(STATE_MAP);
    Fx().Fade(&model_.fade, 1.0f, 0.0f);
    model_.phase = PHASE_MAP_FADE;
    openingEndsAt_ = ClockNow() + GameEffects::kFadeSeconds;
}

void CQuilloryGame::StartLevel() {
    GameModel& m = model_;
    char line[64];
    std::snprintf(line, sizeof(line), "StartLevel(%d)", m.levelNumber);
    LogMessage(line, LOG_FRAMED);
    ResetLines();
    ClearTutorial();
    SetGameState(STATE_PLAYING);
    LoadLevel();
    std::snprintf(m.backgroundNext, sizeof(m.backgroundNext), "Graphics\\back_game0%d.jpg",
                  ((m.levelNumber - 1) % 30 + 30) % 30 / 6 + 1);
    ClearEffects();
    const float now = ClockNow();
    m.now = now;
    if (m.previousScreenState == STATE_MAIN_MENU || m.previousScreenState == STATE_MAP) {
        Fx().Fade(&m.fade, 1.0f, 0.0f);
        m.phase = PHASE_FADE_FROM_MENU;
        std::memcpy(m.backgroundCurrent, m.backgroundNext, sizeof(m.backgroundCurrent));
        if (services_.textures != nullptr) {
            services_.textures->GetTexture(m.backgroundCurrent);
            services_.textures->GetTexture("Graphics\\status-border.png");
        }
        openingEndsAt_ = now + GameEffects::kFadeSeconds;
    } else {
        m.phase = PHASE_OPENING;
        openingEndsAt_ = now;
    }
    m.levelStartTime = now;
    m.playStartTime = now;
    m.sinceLevelStart = 0;
    m.elapsed = 0;
    m.timeLeft = m.levelTime;
    m.resumedFromSave = 0;
    m.remainingAtStart = m.levelTime;
    m.filledCount = 0;
    RefreshCellImages();
    if (services_.events != nullptr) {
        LevelStartInfo info;
        info.level = m.levelNumber;
        info.mode = m.mode;
        info.bonus = m.IsBonusLevel();
        info.cells = m.cellCount;
        info.perLine = m.lineShapeCount;
        info.classCount = m.shapeClassCount;
        info.classes = m.levelClasses;
        info.timeLimit = m.levelTime;
        services_.events->OnLevelStart(info);
    }
}

void CQuilloryGame::AdvancePhase() {
    GameModel& m = model_;
    if (m.screenState != STATE_PLAYING || m.now < openingEndsAt_) {
        return;
    }
    if (m.phase == PHASE_FADE_FROM_MENU || m.phase == PHASE_OPENING) {
        Fx().Fade(&m.fade, m.fade, 1.0f);
        if (!m.IsBonusLevel()) {
            PlaySound("shape_panel_in");
            Fx().LevelTitle(m.levelNumber);
            Fx().SoundAt(GameEffects::kTitleDelay, "level_start");
        } else {
            Fx().BonusLevelTitle();
        }
        std::memcpy(m.backgroundCurrent, m.backgroundNext, sizeof(m.backgroundCurrent));
        m.phase = PHASE_ANNOUNCE;
        // The announcement (and the fade under it) is the last of the opening.
        openingEndsAt_ = m.now + GameEffects::kTitleDelay + GameEffects::kTitleSeconds;
        return;
    }
    if (m.phase == PHASE_ANNOUNCE) {
        m.phase = PHASE_PLAYING;
        m.playStartTime = m.now + kClockStartDelay;
        if (m.levelNumber == 1 && m.resumedFromSave == 0 && m.cellCount > m.tutorialCell) {
            m.tutorialOn = 1;
            m.tutorialStep = TUTORIAL_TAKE;
            KeepTutorialCellInReach();
            Pause(true);
        }
    }
}

// The scroll carries over from level to level, and the field stands still during the lesson, so on
// a second play of the first level the lesson's cell could wait under the conveyor or above the
// screen where no drop reaches it, and the clock would never start. Bring the field back to its
// first position then.
void CQuilloryGame::KeepTutorialCellInReach() {
    GameModel& m = model_;
    constexpr float kHighestReachable = 0.05f;
    constexpr float kLowestReachable = kConveyorLimit - 0.05f;
    const float y = m.cells[m.tutorialCell].y;
    if (y >= kHighestReachable && y <= kLowestReachable) {
        return;
    }
    m.scrollOffset = 0;
    PlaceCellsAtScroll();
}

void CQuilloryGame::TutorialSetUp() {
    GameModel& m = model_;
    if (m.cellCount <= 4 || m.shapeClassCount <= 0) {
        return;
    }
    const bool turn = m.mode == MODE_TRANSFORMER && m.levelClasses[0].shapeCount > 1;
    m.tutorialCell = 4;
    ShapeItem& cell = m.cells[4];
    cell.classIndex = 0;
    cell.variant = turn ? 1 : 0;
    RefreshItemImages(cell);
    m.tutorialShape = 4;
    ShapeItem& slot = m.conveyor[4];
    slot.classIndex = 0;
    slot.variant = 0;
    // A bonus shape would fill cell 4 unturned and never finish the lesson.
    slot.bonusKind = kBonusNone;
    RefreshItemImages(slot);
}

void CQuilloryGame::WinLevel() {
    GameModel& m = model_;
    if (services_.events != nullptr) {
        services_.events->OnWon(m.score, m.timeLeft);
    }
    float scoreX = kWinScoreX;
    float scoreY = kWinScoreY;
    float timeX = kWinScoreX;
    float timeY = kWinScoreY;
    if (services_.menus != nullptr) {
        services_.menus->ControlPosition(GameMenu::InGame, "txtScoreNum", scoreX, scoreY);
        services_.menus->ControlPosition(GameMenu::InGame, "txtTimeNum", timeX, timeY);
    }
    GameEffects fx = Fx();
    if (!m.IsBonusLevel()) {
        fx.LevelComplete();
        PlaySound("level_complete");
        const int seconds = static_cast<int>(m.timeLeft);
        fx.ScoreFlight(1.75f, 1.0f, timeX, timeY, scoreX, scoreY, seconds);
        fx.Star(1.75f, timeX, timeY);
        QueueScore(2.75f, seconds, ScoreReason::TimeBonus);
        fx.SetFloatAt(1.75f, &m.timeLeft, 0.0f);
        fx.ScoreFlight(1.75f, 1.0f, kWinScoreX, kWinScoreY, scoreX, scoreY, kCompletionBonus);
        fx.Star(1.75f, kWinScoreX, kWinScoreY);
        QueueScore(2.75f, kCompletionBonus, ScoreReason::Completion);
        fx.SoundAt(1.75f, "emit_scores");
        fx.SoundAt(2.75f, "collect_scores");
    } else {
        fx.BonusTitle();
        for (int i = 0; i < 5; ++i) {
            const float t = 1.4f + 0.3f * static_cast<float>(i);
            fx.ScoreFlight(t, 0.6f, kWinScoreX, kWinScoreY, scoreX, scoreY, kBonusLevelPart);
            fx.Star(t, kWinScoreX, kWinScoreY);
            QueueScore(t + 0.6f, kBonusLevelPart, ScoreReason::BonusLevel);
            fx.SoundAt(t, "emit_scores");
            fx.SoundAt(t + 0.6f, "collect_scores");
        }
        PlaySound("bonus_level_complete");
        m.score += kBonusLevelFinal;
        if (services_.events != nullptr) {
            services_.events->OnScoreAdded(kBonusLevelFinal, ScoreReason::BonusLevelFinal, m.score);
        }
    }
    fx.SoundAt(3.4f, "shape_panel_out");
    for (int i = 0; i < m.conveyorCount; ++i) {
        fx.Shrink(&m.conveyor[i].width, m.conveyor[i].width);
        fx.Shrink(&m.conveyor[i].height, m.conveyor[i].height);
        fx.Shrink(&m.meter, m.meter);
    }
    SetGameState(STATE_LEVEL_END);
}

void CQuilloryGame::LoseLevel() {
    GameModel& m = model_;
    if (services_.events != nullptr) {
        services_.events->OnLost(m.score, m.timeLeft);
    }
    if (services_.sounds != nullptr) {
        services_.sounds->SetMusicVolume(0);
    }
    PlaySound("game_over");
    SetGameState(STATE_GAME_OVER);
    SetGameSaved(0);
}

void CQuilloryGame::LevelEnd() {
    GameModel& m = model_;
    RunEffects();
    if (!EffectsEmpty()) {
        return;
    }
    ApplyDueScores();
    ++m.levelNumber;
    if (m.levelNumber > m.lastOpenedLevel) {
        m.lastOpenedLevel = m.levelNumber;
        WriteConfigInt("GAMEPLAY", "LastOpenedLevel", m.lastOpenedLevel);
    }
    if (!LevelExists(m.levelNumber)) {
        if (services_.events != nullptr) {
            services_.events->OnLevelEnd(m.score, LevelEndNext::GameComplete);
        }
        GameComplete();
    } else if (m.levelNumber % 6 == 1) {
        if (services_.events != nullptr) {
            services_.events->OnLevelEnd(m.score, LevelEndNext::StageMap);
        }
        ShowStageMap();
    } else {
        if (services_.events != nullptr) {
            services_.events->OnLevelEnd(m.score, LevelEndNext::Level);
        }
        StartLevel();
    }
}

void CQuilloryGame::GameComplete() {
    GameModel& m = model_;
    if (services_.sounds != nullptr) {
        services_.sounds->SetMusicVolume(0);
    }
    PlaySound("game_complete");
    SetGameState(STATE_GAME_COMPLETE);
    SetGameSaved(0);
    for (int i = 0; i < kRevealCount; ++i) {
        const float x = static_cast<float>(i % 5) * kCellWidth + 0.31f;
        const float y = static_cast<float>(i / 5) * kCellHeight + 0.44f;
        m.chompShown[i] = 0;
        Fx().Chomp(i, x, y);
        Fx().Reveal(static_cast<float>(i) * 0.5f + 0.5f, &m.chompShown[i]);
    }
    m.chompCount = 0;
}

void CQuilloryGame::RevealStep() {
    GameModel& m = model_;
    RunEffects();
    int shown = 0;
    for (int i = 0; i < kRevealCount; ++i) {
        if (m.chompShown[i] > 0) {
            shown = i + 1;
        }
    }
    // At most one picture's points a frame; a frame that saw two reveals pays the second later.
    if (shown > m.chompCount) {
        ++m.chompCount;
        m.score += kRevealPoints;
        if (services_.events != nullptr) {
            services_.events->OnScoreAdded(kRevealPoints, ScoreReason::Reveal, m.score);
        }
    }
}

void CQuilloryGame::StageMapStep() {
    GameModel& m = model_;
    RunEffects();
    MenuControls* menus = services_.menus;
    const int stage = m.Stage();
    if (m.phase == PHASE_MAP_FADE && ClockNow() >= openingEndsAt_) {
        m.phase = PHASE_MAP_SHOWN;
        Fx().Fade(&m.fade, m.fade, 1.0f);
        if (menus != nullptr) {
            if (stage < 2) {
                menus->ButtonPosition(GameMenu::Map, stage, m.markerX, m.markerY);
            } else {
                menus->ButtonPosition(GameMenu::Map, stage - 1, m.markerX, m.markerY);
                float toX = m.markerX;
                float toY = m.markerY;
                menus->ButtonPosition(GameMenu::Map, stage, toX, toY);
                Fx().MarkerMove(&m.markerX, &m.markerY, toX, toY);
            }
        }
        const int entry = stage + 3;
        if (stage >= 2 && entry < m.catalogueCount) {
            Fx().SoundAt(2.5f, m.catalogue[entry].soundEvent);
        }
    }
    if (menus == nullptr) {
        return;
    }
    const int lastStage = m.LastStage();
    const int buttons = menus->ButtonCount(GameMenu::Map);
    for (int i = 0; i < buttons; ++i) {
        const char* name = menus->ButtonName(GameMenu::Map, i);
        int number = 0;
        if (name != nullptr && std::strncmp(name, "btnStage", 8) == 0 &&
            std::sscanf(name + 8, "%d", &number) == 1) {
            menus->SetButtonEnabled(GameMenu::Map, i, number <= lastStage);
        }
    }
}

void CQuilloryGame::SelectStage(int stage) {
    GameModel& m = model_;
    if (stage < 1 || stage > 100000) {
        return;
    }
    m.levelNumber = (stage - 1) * 6 + 1;
    const int current = m.Stage();
    if (services_.menus != nullptr) {
        services_.menus->ButtonPosition(GameMenu::Map, current, m.markerX, m.markerY);
    }
    const int entry = current + 3;
    if (entry < m.catalogueCount) {
        PlaySound(m.catalogue[entry].soundEvent);
    }
}

void CQuilloryGame::MainMenuStep() {
    GameModel& m = model_;
    const float change = kPanelRate * m.frameStep;
    auto fadePanel = [&](float& alpha, const char* button) {
        const bool hover =
            services_.menus != nullptr && services_.menus->IsButtonHover(GameMenu::Main, button);
        alpha += hover ? change : -change;
        alpha = alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha);
    };
    fadePanel(m.infoClassicAlpha, "btnClassicGame");
    fadePanel(m.infoTransformerAlpha, "btnTransformerGame");
}

}  // namespace Quillory
