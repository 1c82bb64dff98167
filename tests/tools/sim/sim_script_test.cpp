// Pointer scripts: the format, its refusals, and replay by update time.
#include "sim/sim_script.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

using QuillorySim::PointerScript;

TEST(SimScriptTest, ReplaysStepsInTimeOrderWithClicksExpanded) {
    PointerScript script;
    std::string error;
    ASSERT_TRUE(
        script.Parse("# take slot 4\n\n"
                     "5.0 click 0.775 0.915   # picks it up\n"
                     "5.02 move 0.29 0.55\r\n"
                     "5.2 press right\n"
                     "5.25 release right\n",
                     error))
        << error;
    EXPECT_EQ(script.Steps().size(), 6u);
    Quillory::PointerState pointer;
    script.Apply(4.99, pointer);
    EXPECT_FALSE(pointer.left);
    script.Apply(5.0, pointer);
    EXPECT_FLOAT_EQ(pointer.x, 0.775f);
    EXPECT_TRUE(pointer.left);
    script.Apply(5.03, pointer);  // the move falls before the click's release at 5.05
    EXPECT_FLOAT_EQ(pointer.y, 0.55f);
    EXPECT_TRUE(pointer.left);
    script.Apply(5.21, pointer);
    EXPECT_FALSE(pointer.left);
    EXPECT_TRUE(pointer.right);
    script.Apply(9, pointer);
    EXPECT_FALSE(pointer.right);
}

TEST(SimScriptTest, NamesTheFirstBadLineAndReadsOnlyRegularFiles) {
    for (const char* text : {"1 move 0.5\n", "1 move 0.5 1.5\n", "-1 move 0.5 0.5\n",
                             "1 press middle\n", "1 release left now\n"}) {
        PointerScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(std::string("0 move 0 0\n") + text, error)) << text;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
        EXPECT_TRUE(script.Steps().empty());
    }
    TestSupport::TempFolder folder;
    PointerScript script;
    std::string error;
    EXPECT_TRUE(script.Load(folder.Write("run.txt", "0.5 press left\n"), error)) << error;
    EXPECT_FALSE(script.Load(folder.Path(), error));
    EXPECT_FALSE(script.Load(folder.File("missing.txt"), error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
}

}  // namespace
