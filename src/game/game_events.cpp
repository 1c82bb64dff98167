// The names the simulator prints for score reasons and level ends.
#include "game/game_events.h"

namespace Quillory {

const char* ScoreReasonName(ScoreReason reason) {
    switch (reason) {
        case ScoreReason::TimeBonus:
            return "time_bonus";
        case ScoreReason::Completion:
            return "completion";
        case ScoreReason::BonusLevel:
            return "bonus_level";
        case ScoreReason::BonusLevelFinal:
            return "bonus_level_final";
        case ScoreReason::Reveal:
            return "reveal";
    }
    return "";
}

const char* LevelEndNextName(LevelEndNext next) {
    switch (next) {
        case LevelEndNext::Level:
            return "level";
        case LevelEndNext::StageMap:
            return "stage_map";
        case LevelEndNext::GameComplete:
            return "game_complete";
    }
    return "";
}

}  // namespace Quillory
