// The command-line splitter.
#include "shell/command_line.h"

namespace Tuvo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Collects one parameter's name and value; `splitOnBlanks` ends a parameter at a blank outside
// quotes (a command-line text) or never (one process argument).
void Split(std::string_view text, bool splitOnBlanks, const CommandLineHandler& handler) {
    std::string name;
    std::string value;
    bool quoted = false;
    bool inValue = false;
    auto finish = [&]() {
        if (!name.empty()) {
            handler(name, value);
        }
        name.clear();
        value.clear();
        inValue = false;
    };
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (splitOnBlanks && IsBlank(c) && !quoted) {
            finish();
        } else if (c == '=' && !quoted && !inValue) {
            inValue = true;
        } else if (inValue) {
            value.push_back(c);
        } else {
            name.push_back(c);
        }
    }
    finish();
}

}  // namespace

void SplitCommandLine(std::string_view text, const CommandLineHandler& handler) {
    Split(text, true, handler);
}

std::string_view ParametersOfCommandLine(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        const size_t closing = commandLine.find('"', 1);
        if (closing == std::string_view::npos) {
            return {};
        }
        return commandLine.substr(closing + 1);
    }
    const size_t blank = commandLine.find_first_of(" \t");
    return blank == std::string_view::npos ? std::string_view() : commandLine.substr(blank + 1);
}

void SplitArguments(const std::vector<std::string>& arguments, const CommandLineHandler& handler) {
    for (const std::string& argument : arguments) {
        Split(argument, false, handler);
    }
}

bool IsAbsolutePathValue(std::string_view value) {
    return (value.size() > 1 && value[1] == ':') || (value.size() > 2 && value[2] == '\\') ||
           (!value.empty() && value.front() == '/');
}

}  // namespace Tuvo
