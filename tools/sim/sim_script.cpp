// Reading and replaying pointer scripts.
#include "sim/sim_script.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace QuillorySim {

namespace {

bool ReadFraction(std::istringstream& in, float& value) {
    double read = 0;
    if (!(in >> read) || !std::isfinite(read) || read < 0 || read > 1) {
        return false;
    }
    value = static_cast<float>(read);
    return true;
}

bool ReadButton(std::istringstream& in, bool& right) {
    std::string button;
    if (!(in >> button) || (button != "left" && button != "right")) {
        return false;
    }
    right = button == "right";
    return true;
}

// One line into one or two steps; false when it is not a step.
bool ParseLine(const std::string& line, std::vector<ScriptStep>& steps) {
    std::istringstream in(line);
    double time = 0;
    std::string verb;
    if (!(in >> time) || !std::isfinite(time) || time < 0 || time > 1.0e6 || !(in >> verb)) {
        return false;
    }
    ScriptStep step;
    step.time = time;
    bool ok = true;
    if (verb == "move" || verb == "click") {
        step.kind = ScriptStep::Kind::Move;
        ok = ReadFraction(in, step.x) && ReadFraction(in, step.y);
    } else if (verb == "press" || verb == "release") {
        step.kind = verb == "press" ? ScriptStep::Kind::Press : ScriptStep::Kind::Release;
        ok = ReadButton(in, step.right);
    } else {
        return false;
    }
    std::string rest;
    if (!ok || (in >> rest)) {
        return false;
    }
    steps.push_back(step);
    if (verb == "click") {
        ScriptStep press = step;
        press.kind = ScriptStep::Kind::Press;
        steps.push_back(press);
        ScriptStep release = press;
        release.kind = ScriptStep::Kind::Release;
        release.time = time + PointerScript::kClickSeconds;
        steps.push_back(release);
    }
    return true;
}

}  // namespace

bool PointerScript::Parse(const std::string& text, std::string& error) {
    steps_.clear();
    next_ = 0;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t comment = line.find('#');
        if (comment != std::string::npos) {
            line.erase(comment);
        }
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        if (!ParseLine(line, steps_)) {
            error = "script line " + std::to_string(number) + " is not a step: " + line;
            steps_.clear();
            return false;
        }
        if (steps_.size() > kMaxSteps) {
            error = "the script has more than " + std::to_string(kMaxSteps) + " steps";
            steps_.clear();
            return false;
        }
    }
    // A click's release may fall after later lines; equal times keep the file's order.
    std::stable_sort(steps_.begin(), steps_.end(),
                     [](const ScriptStep& a, const ScriptStep& b) { return a.time < b.time; });
    return true;
}

bool PointerScript::Load(const std::string& path, std::string& error) {
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "cannot read the script '" + path + "': not a regular file";
        return false;
    }
    if (static_cast<size_t>(info.st_size) > kMaxFileBytes) {
        error = "the script '" + path + "' is larger than 4 MiB";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) {
        error = "cannot read the script '" + path + "'";
        return false;
    }
    return Parse(text.str(), error);
}

void PointerScript::Apply(double time, Quillory::PointerState& pointer) {
    for (; next_ < steps_.size() && steps_[next_].time <= time; ++next_) {
        const ScriptStep& step = steps_[next_];
        switch (step.kind) {
            case ScriptStep::Kind::Move:
                pointer.x = step.x;
                pointer.y = step.y;
                break;
            case ScriptStep::Kind::Press:
            case ScriptStep::Kind::Release:
                (step.right ? pointer.right : pointer.left) = step.kind == ScriptStep::Kind::Press;
                break;
        }
    }
}

}  // namespace QuillorySim
