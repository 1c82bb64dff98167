// The menu files and the menu screen of each screen state.
#include "playfield/screens.h"

namespace Tuvo {

const char* const kMenuFiles[MENU_COUNT] = {
    "menu-main.xml",
    "menu-game-over.xml",
    "menu-highscores.xml",
    "menu-ingame.xml",
    "menu-pause.xml",
    "menu-options.xml",
    "menu-map.xml",
    "menu-info-classic.xml",
    "menu-info-relax.xml",
    "menu-info-transformer.xml",
    "menu-clear-confirmation.xml",
    "menu-continue-confirmation.xml",
    "menu-game-complete.xml",
    "menu-instructions.xml",
    "menu-instructions2.xml",
    "menu-instructions3.xml",
    "menu-intro.xml",
    "menu-credits.xml",
};

int MenuOfState(int state) {
    switch (state) {
        case STATE_MAIN_MENU:
            return MENU_MAIN;
        case STATE_MAP:
            return MENU_MAP;
        case STATE_INSTRUCTIONS1:
            return MENU_INSTRUCTIONS;
        case STATE_INSTRUCTIONS2:
            return MENU_INSTRUCTIONS2;
        case STATE_INSTRUCTIONS3:
            return MENU_INSTRUCTIONS3;
        case STATE_PLAYING:
            return MENU_INGAME;
        case STATE_PAUSED:
            return MENU_PAUSE;
        case STATE_HIGH_SCORES:
            return MENU_HIGHSCORES;
        case STATE_OPTIONS:
            return MENU_OPTIONS;
        case STATE_GAME_COMPLETE:
            return MENU_GAME_COMPLETE;
        case STATE_GAME_OVER:
            return MENU_GAME_OVER;
        case STATE_CLEAR_CONFIRM:
            return MENU_CLEAR_CONFIRMATION;
        case STATE_CONTINUE_CONFIRM:
            return MENU_CONTINUE_CONFIRMATION;
        case STATE_CREDITS:
            return MENU_CREDITS;
        default:
            return -1;
    }
}

const char* ModeName(int mode) {
    switch (mode) {
        case kModeClassic:
            return "Classic";
        case kModeTransformer:
            return "Transformer";
        case kModeRelax:
            return "Relax";
        default:
            return "";
    }
}

}  // namespace Tuvo
