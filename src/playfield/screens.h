// The screen states and the menu screens that the board draws and the shell's action table
// feeds: their numbers, the menu files, and the mode names the high-score screen shows.
#pragma once

#include <array>

#include "engine/menu.h"

namespace Tuvo {

// The screen states. 10 is never used.
enum ScreenStateValue {
    STATE_LOADING = 0,
    STATE_MAIN_MENU = 1,
    STATE_MAP = 2,
    STATE_INSTRUCTIONS1 = 3,
    STATE_INSTRUCTIONS2 = 4,
    STATE_INSTRUCTIONS3 = 5,
    STATE_PLAYING = 6,
    STATE_PAUSED = 7,
    STATE_HIGH_SCORES = 8,
    STATE_OPTIONS = 9,
    STATE_LEVEL_END = 11,
    STATE_GAME_COMPLETE = 12,
    STATE_GAME_OVER = 13,
    STATE_CLEAR_CONFIRM = 14,
    STATE_CONTINUE_CONFIRM = 15,
    STATE_CREDITS = 16,
    STATE_COUNT = 17
};

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

constexpr int kModeClassic = 0;
constexpr int kModeTransformer = 1;
constexpr int kModeRelax = 2;
constexpr int kModeCount = 3;

// The display name of a mode ("Classic", "Transformer", "Relax"); "" for an unknown mode.
const char* ModeName(int mode);

}  // namespace Tuvo
