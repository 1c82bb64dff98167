// Scripted input for end-to-end runs of the real program: a text file named by the environment
// variable QUILLORY_INPUT_SCRIPT, one command a line, run one step per update. It moves the
// pointer and presses the button and keys as a player would, through the same paths as real
// input, and waits for screens to appear. Commands ('#' starts a comment):
//   wait-state N            until the screen state is N
//   wait-slot K             until conveyor slot K holds a shape
//   wait-tutorial STEP      until the tutorial is at STEP (0: over)
//   wait-updates N          N updates (10 ms each)
//   click MENU CONTROL      a left click on a control of a menu file ("menu-main.xml")
//   hover MENU CONTROL      the pointer moved onto a control
//   click-slot K            a left click on conveyor slot K
//   click-cell K            a left click on cell K
//   right-click             a right click where the pointer is (turns a held shape)
//   take-fitting            a left click on the conveyor shape a good player would take: one
//                           with an empty cell to go to, preferably continuing a run of its class
//   drop-fitting            turns the held shape with the right button until it matches the
//                           best empty cell for it (Transformer), then a left click on that cell
//   play-level              plays the level on the play screen through as a good player would,
//                           taking, turning and dropping as above and throwing away (the in-game
//                           Discard button) a shape that fits nowhere, until the play screen
//                           closes: won (state 11) or lost (13)
//   key CODE                a key press (a Windows virtual-key code)
//   type TEXT               the characters of TEXT, typed
//   set-state N             switches to screen state N at once (pictures of rare screens)
//   game-complete           ends the game as if its last level were won
//   screenshot FILE         writes the last drawn picture as a PNG file
//   quit                    ends the program
// take-fitting, drop-fitting and play-level read the rules' state to choose where to click, and
// act only through the pointer and the buttons. Every command is written to the log as
// "Script: ..."; a wait that lasts longer than 60 s of updates, or a control that cannot be
// found, logs "Script FAILED: ..." and ends the program.
#pragma once

#include <string>
#include <vector>

namespace Quillory {
struct GameModel;
}

namespace Tuvo {

// What the script needs of the running program.
class ScriptTarget {
public:
    virtual ~ScriptTarget() = default;
    virtual int ScriptScreenState() const = 0;
    virtual int ScriptTutorialStep() const = 0;
    // The rules' state, to be read only.
    virtual const Quillory::GameModel& ScriptGame() const = 0;
    // Centres in screen fractions; false when there is no such thing (yet).
    virtual bool ScriptControlCentre(const std::string& menuFile, const std::string& control,
                                     float& x, float& y) const = 0;
    virtual bool ScriptShapeCentre(bool cell, int index, float& x, float& y) const = 0;
    virtual void ScriptMovePointer(float x, float y) = 0;
    virtual void ScriptButton(bool down, bool right, float x, float y) = 0;
    virtual void ScriptPointer(float& x, float& y) const = 0;
    virtual void ScriptKey(int code) = 0;
    virtual void ScriptCharacter(char character) = 0;
    virtual void ScriptQuit() = 0;
    virtual bool ScriptScreenshot(const std::string& path) = 0;
    virtual void ScriptSetState(int state) = 0;
    virtual void ScriptGameComplete() = 0;
};

class InputScript {
public:
    // Reads the script; false (logged) when the file cannot be read.
    bool Load(const std::string& path);
    // One step: runs commands until one has to wait. Called once per update.
    void Step(ScriptTarget& target);
    bool Finished() const { return next_ >= lines_.size(); }

private:
    // True when the command is done; false to run it again at the next update.
    bool Run(ScriptTarget& target, const std::string& command, const std::string& rest);
    bool Click(ScriptTarget& target, bool found, float x, float y, const std::string& what,
               bool right = false);
    void Fail(ScriptTarget& target, const std::string& why);

    // A player's hands in play: what the next click is for.
    enum class Hand { kIdle, kTake, kTurn, kDrop, kDiscard };
    enum class Goal { kHold, kPlace, kLevelEnd };
    // One update of play towards `goal`: goes on with the click under way, or starts the next.
    bool Play(ScriptTarget& target, Goal goal);
    Hand NextClick(const Quillory::GameModel& game, Goal goal);
    // Where the click under way goes at this update; false when its object is gone.
    bool ClickPoint(ScriptTarget& target, float& x, float& y);

    std::vector<std::string> lines_;
    size_t next_ = 0;
    int waited_ = 0;      // updates spent on the current command
    int clickPhase_ = 0;  // 0 move, 1 press, 2 release
    bool logged_ = false;
    Hand hand_ = Hand::kIdle;
    int slot_ = -1;  // the conveyor slot being taken
    int cell_ = -1;  // the cell being aimed at
    int stuck_ = 0;  // updates with a shape in hand and no cell for it
    float clickX_ = 0;
    float clickY_ = 0;
};

}  // namespace Tuvo
