// Command lines split into parameters the way the game has always read them.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;

// Blanks end parameters, the first equals sign splits a name from its value, and quotes group
// blanks and are dropped.
TEST(CommandLineTest, SplitsParametersNamesAndValues) {
    const std::pair<const char*, Parameters> cases[] = {
        {"-screensaver -changedir=C:\\Games", {{"-screensaver", ""}, {"-changedir", "C:\\Games"}}},
        {"  a   b=  ", {{"a", ""}, {"b", ""}}},
        {"x=1=2", {{"x", "1=2"}}},
        {"=value", {}},
        {"", {}},
        {"-changedir=\"C:\\My Games\\Quillory\" -play",
         {{"-changedir", "C:\\My Games\\Quillory"}, {"-play", ""}}},
        {"-changedir=C:\\My Games", {{"-changedir", "C:\\My"}, {"Games", ""}}},
        {"\"-a b\"=\"=c\"", {{"-a b", "=c"}}},
        {"-x=\"open to the end", {{"-x", "open to the end"}}},
    };
    for (const auto& [text, expected] : cases) {
        Parameters parameters;
        Tuvo::SplitCommandLine(text, [&](const std::string& name, const std::string& value) {
            parameters.emplace_back(name, value);
        });
        EXPECT_EQ(parameters, expected) << text;
    }
}

TEST(CommandLineTest, ProcessArgumentsAreOneParameterEach) {
    Parameters parameters;
    Tuvo::SplitArguments({"-changedir=/home/me/My Games", "-userdir=\"/tmp/x\"", "", "-play"},
                         [&](const std::string& name, const std::string& value) {
                             parameters.emplace_back(name, value);
                         });
    EXPECT_EQ(
        parameters,
        (Parameters{{"-changedir", "/home/me/My Games"}, {"-userdir", "/tmp/x"}, {"-play", ""}}));
}

TEST(CommandLineTest, AbsolutePathValues) {
    EXPECT_TRUE(Tuvo::IsAbsolutePathValue("C:demo.dem"));
    EXPECT_TRUE(Tuvo::IsAbsolutePathValue("C:\\demo.dem"));
    EXPECT_TRUE(Tuvo::IsAbsolutePathValue("\\\\\\x"));
    EXPECT_TRUE(Tuvo::IsAbsolutePathValue("/tmp/demo.dem"));
    EXPECT_FALSE(Tuvo::IsAbsolutePathValue("demos\\a.dem"));
    EXPECT_FALSE(Tuvo::IsAbsolutePathValue(""));
}

}  // namespace
