// Adapters between the rules, the action table and the application's services.
#include "shell/game_wiring.h"

#include <cstdio>
#include <cstring>

#include "shell/app_base.h"

namespace Tuvo {

Quillory::PointerState WindowPointer::Sample() {
    Quillory::PointerState state;
    int x = 0;
    int y = 0;
    application_.PointerPosition(x, y);
    state.x = static_cast<float>(x) / static_cast<float>(application_.width_);
    state.y = static_cast<float>(y) / static_cast<float>(application_.height_);
    const int buttons = application_.SampleMouseButtons();
    state.left = (buttons & Platform::kLeftButton) != 0;
    state.right = (buttons & Platform::kRightButton) != 0;
    return state;
}

int RulesActions::StartLevelOption(int which) const {
    const Quillory::GameModel& m = game_.State();
    return which == 0 ? m.startLevelClassic : m.startLevelTransformer;
}

void RulesActions::SetStartLevelOption(int which, int level) {
    Quillory::GameModel& m = game_.EditState();
    (which == 0 ? m.startLevelClassic : m.startLevelTransformer) = level;
}

bool RulesActions::FirstConveyorX(float& x) const {
    const Quillory::GameModel& m = game_.State();
    if (m.conveyorCount <= 0) {
        return false;
    }
    x = m.conveyor[0].x;
    return true;
}

bool RulesActions::SelectStage(int stage) {
    // Only the stages the map shows: a stray number would name a level that does not exist.
    char name[24];
    std::snprintf(name, sizeof(name), "btnStage%d", stage);
    for (int i = 0; i < map_.ButtonCount(); ++i) {
        if (std::strcmp(map_.Button(i).name, name) == 0) {
            game_.SelectStage(stage);
            return true;
        }
    }
    return false;
}

}  // namespace Tuvo
