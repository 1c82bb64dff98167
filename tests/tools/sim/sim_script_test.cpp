// Pointer scripts: the format, its refusals, and replay by update time.
#include "sim/sim_script.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

using QuillorySim::PointerScript;
using QuillorySim::ScriptStep;

TEST(SimScriptTest, ReadsStepsAndExpandsClicksInTimeOrder) {
    PointerScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("# take slot 4\n"
                             "\n"
                             "5.0 click 0.775 0.915   # picks it up\n"
                             "5.02 move 0.29 0.55\r\n"
                             "5.2 press right\n"
                             "5.25 release right\n",
                             error))
        << error;
    const std::vector<ScriptStep>& steps = script.Steps();
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].kind, ScriptStep::Kind::Move);
    EXPECT_EQ(steps[1].kind, ScriptStep::Kind::Press);
    EXPECT_FALSE(steps[1].right);
    EXPECT_DOUBLE_EQ(steps[2].time, 5.02);  // the move comes before the click's release
    EXPECT_EQ(steps[3].kind, ScriptStep::Kind::Release);
    EXPECT_DOUBLE_EQ(steps[3].time, 5.05);
    EXPECT_TRUE(steps[4].right);

    Quillory::PointerState pointer;
    script.Apply(4.99, pointer);
    EXPECT_FALSE(pointer.left);
    script.Apply(5.0, pointer);
    EXPECT_FLOAT_EQ(pointer.x, 0.775f);
    EXPECT_TRUE(pointer.left);
    script.Apply(5.03, pointer);
    EXPECT_FLOAT_EQ(pointer.y, 0.55f);
    EXPECT_TRUE(pointer.left);
    script.Apply(5.21, pointer);
    EXPECT_FALSE(pointer.left);
    EXPECT_TRUE(pointer.right);
    script.Apply(9, pointer);
    EXPECT_FALSE(pointer.right);
}

TEST(SimScriptTest, NamesTheFirstBadLine) {
    const char* bad[] = {
        "1 move 0.5\n",         "1 move 0.5 1.5\n",   "1 move 0.5 nan\n", "-1 move 0.5 0.5\n",
        "1 press middle\n",     "1 jump 0.5 0.5\n",   "x move 0.5 0.5\n", "1 release left now\n",
        "1 click 0.1 0.1 0.1\n"};
    for (const char* text : bad) {
        PointerScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(std::string("0 move 0 0\n") + text, error)) << text;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
        EXPECT_TRUE(script.Steps().empty());
    }
}

TEST(SimScriptTest, LoadsOnlyRegularFiles) {
    TestSupport::TempFolder folder;
    const std::string path = folder.Write("run.txt", "0.5 press left\n0.6 release left\n");
    PointerScript script;
    std::string error;
    EXPECT_TRUE(script.Load(path, error)) << error;
    EXPECT_EQ(script.Steps().size(), 2u);
    EXPECT_FALSE(script.Load(folder.Path(), error));  // a folder
    EXPECT_FALSE(script.Load(folder.File("missing.txt"), error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
}

}  // namespace
