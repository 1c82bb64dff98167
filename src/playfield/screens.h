// The screen states and the menu screens that the board draws and the shell's action table
// feeds: their numbers, the menu files, and the mode names the high-score screen shows.
#pragma once

#include <array>

#include "engine/menu.h"
#include "game/quillory_game.h"

namespace Tuvo {

// The screen states are the rules' own (0 to 16; 10 is never used).
using Quillory::STATE_CLEAR_CONFIRM;
using Quillory::STATE_CONTINUE_CONFIRM;
using Quillory::STATE_CREDITS;
using Quillory::STATE_GAME_COMPLETE;
using Quillory::STATE_GAME_OVER;
using Quillory::STATE_HIGH_SCORES;
using Quillory::STATE_INSTRUCTIONS1;
using Quillory::STATE_INSTRUCTIONS2;
using Quillory::STATE_INSTRUCTIONS3;
using Quillory::STATE_LEVEL_END;
using Quillory::STATE_LOADING;
using Quillory::STATE_MAIN_MENU;
using Quillory::STATE_MAP;
using Quillory::STATE_OPTIONS;
using Quillory::STATE_PAUSED;
using Quillory::STATE_PLAYING;
constexpr int kScreenStateCount = 17;

// The menu screens, in the order of their files under "Menu\".
enum MenuScreen {
    MENU_MAIN,
    MENU_GAME_OVER,
    MENU_HIGHSCORES,
    MENU_INGAME,
    MENU_PAUSE,
    MENU_OPTIONS,
    MENU_MAP,
    MENU_INFO_CLASSIC,
    MENU_INFO_RELAX,
    MENU_INFO_TRANSFORMER,
    MENU_CLEAR_CONFIRMATION,
    MENU_CONTINUE_CONFIRMATION,
    MENU_GAME_COMPLETE,
    MENU_INSTRUCTIONS,
    MENU_INSTRUCTIONS2,
    MENU_INSTRUCTIONS3,
    MENU_INTRO,
    MENU_CREDITS,
    MENU_COUNT
};

extern const char* const kMenuFiles[MENU_COUNT];

using MenuSet = std::array<Quillory::CMenu, MENU_COUNT>;

// The menu screen that receives input in a state, or -1 (loading, level end, unknown states).
int MenuOfState(int state);

constexpr int kModeClassic = Quillory::MODE_CLASSIC;
constexpr int kModeTransformer = Quillory::MODE_TRANSFORMER;
constexpr int kModeRelax = Quillory::MODE_RELAX;
constexpr int kModeCount = 3;

// The display name of a mode ("Classic", "Transformer", "Relax"); "" for an unknown mode.
const char* ModeName(int mode);

}  // namespace Tuvo
