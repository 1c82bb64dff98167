// Splitting the command line into option names and values the way the game always has: quotes
// group blanks and are dropped, a blank ends a parameter, the first "=" splits name from value.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Tuvo {

using CommandLineHandler = std::function<void(const std::string& name, const std::string& value)>;

// Walks a parameter text and calls `handler` for every parameter whose name is not empty.
void SplitCommandLine(std::string_view text, const CommandLineHandler& handler);

// The parameter text of a whole command line: the program path is skipped, up to its closing
// quote when it starts with one (no closing quote: no parameters), else up to the first blank.
std::string_view ParametersOfCommandLine(std::string_view commandLine);

// The process's arguments as they come, each one parameter: name and value split at the first
// "=" outside quotes, quotes dropped. Empty names are skipped.
void SplitArguments(const std::vector<std::string>& arguments, const CommandLineHandler& handler);

// A value counts as an absolute path when its second character is ':' or its third is '\', or,
// on this system, when it starts with '/'.
bool IsAbsolutePathValue(std::string_view value);

}  // namespace Tuvo
