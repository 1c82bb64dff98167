// A pointer script: timed pointer moves and button presses in screen fractions, read from a
// text file, one step a line:
//
//   # comments and blank lines are ignored
//   <seconds> move <x> <y>          the pointer goes to (x, y)
//   <seconds> press left|right      the button goes down
//   <seconds> release left|right    the button comes up
//   <seconds> click <x> <y>         move and press the left button, release it 0.05 s later
//
// Seconds count on the simulator's clock from its start; a step takes effect at the first 10 ms
// update at or after its time. The rules sample the buttons once an update, so a press and its
// release need different updates to be seen. x and y lie from 0 to 1 (the client area).
#pragma once

#include <string>
#include <vector>

#include "game/game_services.h"

namespace QuillorySim {

struct ScriptStep {
    enum class Kind { Move, Press, Release };
    double time = 0;
    Kind kind = Kind::Move;
    float x = 0;
    float y = 0;
    bool right = false;  // which button a press or release is for
};

class PointerScript {
public:
    static constexpr size_t kMaxFileBytes = 4 << 20;
    static constexpr size_t kMaxSteps = 200000;
    static constexpr double kClickSeconds = 0.05;

    // Reads a script text; false with `error` naming the first bad line.
    bool Parse(const std::string& text, std::string& error);
    // Reads a script file (a regular file of at most kMaxFileBytes).
    bool Load(const std::string& path, std::string& error);

    // Applies, in order, every step due at or before `time` that has not been applied yet.
    void Apply(double time, Quillory::PointerState& pointer);

    const std::vector<ScriptStep>& Steps() const { return steps_; }

private:
    std::vector<ScriptStep> steps_;
    size_t next_ = 0;
};

}  // namespace QuillorySim
