// Tests of the dialogs-by-id registry: sizing and placing, modal pushing, replacing a dialog of
// the same id, removal with retirement. RunModal through the application's registry is tested
// with the real application (tests/shell/app_base_test.cpp).
#include "framework/widgets/dialog_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace Tuvo {
namespace {

class DialogRegistryTest : public ::testing::Test {
protected:
    DialogRegistryTest() {
        manager.Resize(Rect(0, 0, 800, 600));
        manager.AddWidget(&board);
        manager.SetFocus(&board);
        registry.SetRetireFunction([this](Dialog* dialog) { retired.emplace_back(dialog); });
        registry.SetModalOpenedFunction([this](Dialog* dialog) { opened.push_back(dialog); });
    }

    WidgetManager manager{nullptr};
    Widget board;
    std::vector<std::unique_ptr<Dialog>> retired;
    std::vector<Dialog*> opened;
    DialogRegistry registry{&manager, nullptr, 800, 600};
};

TEST_F(DialogRegistryTest, ShownDialogsAreSizedPlacedAndMadeModalOpenedOnesKeepTheirSize) {
    Dialog* dialog = registry.ShowDialog(3, true, "Header", "Lines", "", Dialog::kModeYesNo);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetRect(), Rect(200, 120, 400, dialog->MeasureHeight(400)));
    EXPECT_EQ(registry.GetDialog(3), dialog);
    EXPECT_TRUE(manager.ContainsChild(dialog));
    EXPECT_EQ(manager.GetBaseModalWidget(), dialog);
    EXPECT_EQ(opened, std::vector<Dialog*>{dialog});

    // The same id again replaces it; the old one is retired.
    Dialog* second = registry.ShowDialog(3, false, "Other", "", "", Dialog::kModeNoButtons);
    EXPECT_EQ(registry.GetDialogCount(), 1);
    ASSERT_EQ(retired.size(), 1u);
    EXPECT_EQ(retired[0].get(), dialog);
    EXPECT_FALSE(manager.ContainsChild(dialog));
    EXPECT_EQ(manager.GetBaseModalWidget(), nullptr);
    EXPECT_EQ(manager.GetFocusWidget(), &board);
    EXPECT_EQ(opened.size(), 1u);  // not modal

    EXPECT_TRUE(registry.KillDialog(3));
    EXPECT_FALSE(registry.KillDialog(3));
    EXPECT_EQ(retired.back().get(), second);

    // An opened dialog keeps its own size and opens once.
    dialog = registry.CreateDialog(4, true, "", "x", "", Dialog::kModeFooterButton);
    dialog->Resize(10, 20, 300, 100);
    registry.OpenDialog(4, dialog);
    EXPECT_EQ(dialog->GetRect(), Rect(10, 20, 300, 100));
    registry.OpenDialog(4, dialog);  // opening it again keeps it, modal once
    EXPECT_EQ(registry.GetDialog(4), dialog);
    EXPECT_EQ(retired.size(), 2u);
    EXPECT_EQ(manager.GetPreModalRecords().size(), 1u);
    EXPECT_EQ(opened.size(), 2u);

    // Killed, it leaves no modal record behind and the board gets its focus back.
    EXPECT_TRUE(registry.KillDialog(4));
    EXPECT_TRUE(manager.GetPreModalRecords().empty());
    EXPECT_EQ(manager.GetFocusWidget(), &board);
}

}  // namespace
}  // namespace Tuvo
