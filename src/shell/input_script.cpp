// The scripted-input runner.
#include "shell/input_script.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/app_log.h"
#include "game/move_choice.h"
#include "game/quillory_game.h"

namespace Tuvo {

namespace {

constexpr int kWaitLimit = 6000;  // updates: 60 s at 10 ms
// A scripted hand is there at once: any cell the pointer can reach will do, as long as it does
// not wrap to the bottom (at -0.079) or slide below the conveyor's edge during one click.
constexpr Quillory::CellReach kScriptReach{-0.03f, Quillory::kAimBottom};
// A shape in hand with no cell for it this long (3 s) is thrown away.
constexpr int kStuckLimit = 300;

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

int Number(const std::string& text) {
    return std::atoi(text.c_str());
}

}  // namespace

bool InputScript::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        Quillory::LogMessage(("Script FAILED: cannot read " + path).c_str());
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        const size_t comment = line.find('#');
        if (comment != std::string::npos) {
            line.erase(comment);
        }
        line = Trim(line);
        if (!line.empty()) {
            lines_.push_back(line);
        }
    }
    return true;
}

void InputScript::Step(ScriptTarget& target) {
    while (next_ < lines_.size()) {
        const std::string& line = lines_[next_];
        const size_t space = line.find(' ');
        const std::string command = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : Trim(line.substr(space + 1));
        if (!logged_) {
            logged_ = true;
            Quillory::LogMessage(("Script: " + line).c_str());
        }
        if (!Run(target, command, rest)) {
            if (++waited_ > kWaitLimit) {
                Fail(target, "timed out at '" + line + "'");
            }
            return;
        }
        ++next_;
        waited_ = 0;
        clickPhase_ = 0;
        logged_ = false;
        hand_ = Hand::kIdle;
    }
}

void InputScript::Fail(ScriptTarget& target, const std::string& why) {
    Quillory::LogMessage(("Script FAILED: " + why).c_str());
    next_ = lines_.size();
    target.ScriptQuit();
}

bool InputScript::Click(ScriptTarget& target, bool found, float x, float y, const std::string& what,
                        bool right) {
    if (!found) {
        // The thing may not be there yet (a shape still arriving): wait for it a while.
        if (waited_ >= kWaitLimit) {
            Fail(target, "no " + what);
            return true;
        }
        return false;
    }
    // One update each: move there, press, release, so the game samples every edge.
    switch (clickPhase_++) {
        case 0:
            target.ScriptMovePointer(x, y);
            return false;
        case 1:
            target.ScriptButton(true, right, x, y);
            return false;
        default:
            target.ScriptButton(false, right, x, y);
            return true;
    }
}

bool InputScript::Run(ScriptTarget& target, const std::string& command, const std::string& rest) {
    float x = 0;
    float y = 0;
    if (command == "wait-state") {
        return target.ScriptScreenState() == Number(rest);
    }
    if (command == "wait-tutorial") {
        return target.ScriptTutorialStep() == Number(rest);
    }
    if (command == "wait-slot") {
        return target.ScriptShapeCentre(false, Number(rest), x, y);
    }
    if (command == "wait-updates") {
        return waited_ >= Number(rest);
    }
    if (command == "click" || command == "hover") {
        std::istringstream words(rest);
        std::string menu;
        std::string control;
        words >> menu >> control;
        const bool found = target.ScriptControlCentre(menu, control, x, y);
        if (command == "hover" && found) {
            target.ScriptMovePointer(x, y);
            return true;
        }
        return Click(target, found, x, y, control + " in " + menu);
    }
    if (command == "click-slot" || command == "click-cell") {
        const bool cell = command == "click-cell";
        const bool found = target.ScriptShapeCentre(cell, Number(rest), x, y);
        return Click(target, found, x, y, command.substr(6) + " " + rest);
    }
    if (command == "right-click") {
        target.ScriptPointer(x, y);
        return Click(target, true, x, y, "pointer", true);
    }
    if (command == "take-fitting") {
        return Play(target, Goal::kHold);
    }
    if (command == "drop-fitting") {
        return Play(target, Goal::kPlace);
    }
    if (command == "play-level") {
        return Play(target, Goal::kLevelEnd);
    }
    if (command == "key") {
        target.ScriptKey(Number(rest));
        return true;
    }
    if (command == "type") {
        for (char character : rest) {
            target.ScriptCharacter(character);
        }
        return true;
    }
    if (command == "screenshot") {
        if (!target.ScriptScreenshot(rest)) {
            Fail(target, "cannot write " + rest);
        }
        return true;
    }
    if (command == "set-state") {
        target.ScriptSetState(Number(rest));
        return true;
    }
    if (command == "game-complete") {
        target.ScriptGameComplete();
        return true;
    }
    if (command == "quit") {
        target.ScriptQuit();
        return true;
    }
    Fail(target, "unknown command '" + command + "'");
    return true;
}

bool InputScript::Play(ScriptTarget& target, Goal goal) {
    const Quillory::GameModel& game = target.ScriptGame();
    if (hand_ == Hand::kIdle) {
        // A click once begun is finished (released) before the goal is judged.
        const bool held = game.held.active != 0;
        if ((goal == Goal::kHold && held) || (goal == Goal::kPlace && !held) ||
            (goal == Goal::kLevelEnd && game.screenState != Quillory::STATE_PLAYING)) {
            return true;
        }
        hand_ = NextClick(game, goal);
        clickPhase_ = 0;
    }
    float x = 0;
    float y = 0;
    if (hand_ == Hand::kIdle) {
        return false;
    }
    if (!ClickPoint(target, x, y)) {
        hand_ = Hand::kIdle;  // what it was for is gone (taken, filled, scrolled away)
        return false;
    }
    if (Click(target, true, x, y, "shape", hand_ == Hand::kTurn)) {
        hand_ = Hand::kIdle;
    }
    return false;
}

InputScript::Hand InputScript::NextClick(const Quillory::GameModel& game, Goal goal) {
    if (!Quillory::InPlay(game)) {
        return Hand::kIdle;
    }
    const bool tutorial = game.tutorialOn != 0;
    if (game.held.active != 0) {
        cell_ = Quillory::ChooseCell(game, game.held, kScriptReach);
        if (cell_ < 0) {
            // Wait for the field to bring a cell for it, then give up on it.
            return !tutorial && ++stuck_ > kStuckLimit ? Hand::kDiscard : Hand::kIdle;
        }
        stuck_ = 0;
        return Quillory::TurnsNeeded(game, game.held, game.cells[cell_]) > 0 ? Hand::kTurn
                                                                             : Hand::kDrop;
    }
    stuck_ = 0;
    if (goal == Goal::kPlace) {
        return Hand::kIdle;
    }
    int cell = -1;
    if (Quillory::ChooseShape(game, kScriptReach, true, slot_, cell)) {
        return Hand::kTake;
    }
    // A first shape that fits nowhere blocks the conveyor: away with it.
    const bool blocked = !tutorial && goal == Goal::kLevelEnd && game.conveyorCount > 0 &&
                         game.conveyor[0].x <= Quillory::kTakeRight &&
                         !Quillory::FitsAnywhere(game, game.conveyor[0]);
    return blocked ? Hand::kDiscard : Hand::kIdle;
}

bool InputScript::ClickPoint(ScriptTarget& target, float& x, float& y) {
    if (clickPhase_ >= 2) {
        // The release comes where the press was, whatever the press changed.
        x = clickX_;
        y = clickY_;
        return true;
    }
    const Quillory::GameModel& game = target.ScriptGame();
    switch (hand_) {
        case Hand::kTake:
            if (slot_ < 0 || slot_ >= game.conveyorCount || game.held.active != 0) {
                return false;
            }
            x = game.conveyor[slot_].x;
            y = game.conveyor[slot_].y;
            break;
        case Hand::kDrop:
            if (cell_ < 0 || cell_ >= game.cellCount || game.held.active == 0 ||
                !Quillory::Fits(game, game.held, game.cells[cell_])) {
                return false;
            }
            x = game.cells[cell_].x;
            y = Quillory::AimY(game.cells[cell_]);
            break;
        case Hand::kTurn:
            target.ScriptPointer(x, y);
            break;
        case Hand::kDiscard:
            if (!target.ScriptControlCentre("menu-ingame.xml", "btnDiscard", x, y)) {
                return false;
            }
            break;
        case Hand::kIdle:
            return false;
    }
    clickX_ = x;
    clickY_ = y;
    return true;
}

}  // namespace Tuvo
