#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;

Parameters Split(std::string_view text) {
    Parameters parameters;
    Tuvo::SplitCommandLine(text, [&](const std::string& name, const std::string& value) {
        parameters.emplace_back(name, value);
    });
    return parameters;
}

TEST(CommandLineTest, BlanksEndParametersAndEqualsSplitsNameFromValue) {
    EXPECT_EQ(Split("-screensaver -changedir=C:\\Games"),
              (Parameters{{"-screensaver", ""}, {"-changedir", "C:\\Games"}}));
    EXPECT_EQ(Split("  a   b=  "), (Parameters{{"a", ""}, {"b", ""}}));
    EXPECT_EQ(Split("x=1=2"), (Parameters{{"x", "1=2"}}));
    EXPECT_EQ(Split("=value"), Parameters{});
    EXPECT_EQ(Split(""), Parameters{});
}

TEST(CommandLineTest, QuotesGroupBlanksAndAreDropped) {
    EXPECT_EQ(Split("-changedir=\"C:\\My Games\\Quillory\" -play"),
              (Parameters{{"-changedir", "C:\\My Games\\Quillory"}, {"-play", ""}}));
    EXPECT_EQ(Split("-changedir=C:\\My Games"),
              (Parameters{{"-changedir", "C:\\My"}, {"Games", ""}}));
    EXPECT_EQ(Split("\"-a b\"=\"=c\""), (Parameters{{"-a b", "=c"}}));
    EXPECT_EQ(Split("-x=\"open to the end"), (Parameters{{"-x", "open to the end"}}));
}

TEST(CommandLineTest, ProgramPathIsSkipped) {
    EXPECT_EQ(Tuvo::ParametersOfCommandLine("\"C:\\Program Files\\q.exe\" -play"), " -play");
    EXPECT_EQ(Tuvo::ParametersOfCommandLine("\"C:\\Program Files\\q.exe -play"), "");
    EXPECT_EQ(Tuvo::ParametersOfCommandLine("q.exe -a -b"), "-a -b");
    EXPECT_EQ(Tuvo::ParametersOfCommandLine("q.exe"), "");
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
