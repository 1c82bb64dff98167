// Tests of the dialogs-by-id registry: sizing and placing, modal pushing, replacing a dialog of
// the same id, removal with retirement, and RunModal with auto-kill through it.
#include "framework/widgets/dialog_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fixed_font.h"

namespace Tuvo {
namespace {

class RecordingListener : public DialogListener {
public:
    void OnDialogButtonPressed(int, int) override {}
    void OnDialogButtonReleased(int dialogId, int buttonId) override {
        released.push_back(dialogId * 10000 + buttonId);
    }
    std::vector<int> released;
};

// An application whose loop step runs a script and whose KillDialog goes to the registry.
class LoopApplication : public WidgetApplication {
public:
    bool UpdateAppStep() override {
        ++steps;
        if (onStep) {
            onStep(steps);
        }
        return steps < 100;
    }
    void KillDialog(int id) override { registry->KillDialog(id); }

    DialogRegistry* registry = nullptr;
    int steps = 0;
    std::function<void(int)> onStep;
};

class DialogRegistryTest : public ::testing::Test {
protected:
    DialogRegistryTest() {
        manager.Resize(Rect(0, 0, 800, 600));
        manager.AddWidget(&board);
        manager.SetFocus(&board);
        application.registry = &registry;
        registry.SetRetireFunction([this](Dialog* dialog) { retired.emplace_back(dialog); });
        registry.SetModalOpenedFunction([this](Dialog* dialog) { opened.push_back(dialog); });
    }

    LoopApplication application;
    RecordingListener listener;
    WidgetManager manager{&application};
    Widget board;
    std::vector<std::unique_ptr<Dialog>> retired;
    std::vector<Dialog*> opened;
    DialogRegistry registry{&manager, &listener, 800, 600};
};

TEST_F(DialogRegistryTest, ShownDialogsAreSizedPlacedAndMadeModal) {
    board.Resize(0, 0, 800, 600);
    Dialog* dialog = registry.ShowDialog(3, true, "Header", "Lines", "", Dialog::kModeYesNo);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetRect(), Rect(200, 120, 400, dialog->MeasureHeight(400)));
    EXPECT_EQ(registry.GetDialog(3), dialog);
    EXPECT_TRUE(manager.ContainsChild(dialog));
    EXPECT_TRUE(manager.ContainsChild(dialog->GetYesButton()));
    EXPECT_EQ(manager.GetBaseModalWidget(), dialog);
    EXPECT_EQ(manager.GetFocusWidget(), nullptr);  // the board is beneath the dialog
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
    EXPECT_EQ(manager.GetChildren().size(), 1u);
}

TEST_F(DialogRegistryTest, AnOpenedDialogKeepsItsOwnSizeAndOpensOnce) {
    Dialog* dialog = registry.CreateDialog(4, true, "", "x", "", Dialog::kModeFooterButton);
    dialog->Resize(10, 20, 300, 100);
    registry.OpenDialog(4, dialog);
    EXPECT_EQ(dialog->GetRect(), Rect(10, 20, 300, 100));
    registry.OpenDialog(4, dialog);  // opening it again keeps it, modal once
    EXPECT_EQ(registry.GetDialog(4), dialog);
    EXPECT_TRUE(retired.empty());
    EXPECT_EQ(manager.GetPreModalRecords().size(), 1u);
    EXPECT_EQ(opened.size(), 1u);

    // Killed, it leaves no modal record behind and the board gets its focus back.
    EXPECT_TRUE(registry.KillDialog(4));
    EXPECT_TRUE(manager.GetPreModalRecords().empty());
    EXPECT_EQ(manager.GetBaseModalWidget(), nullptr);
    EXPECT_EQ(manager.GetFocusWidget(), &board);
}

TEST_F(DialogRegistryTest, RunModalWithAutoKillRemovesTheDialogThroughTheApplication) {
    Testing::FixedFont font;
    Dialog* dialog = registry.ShowDialog(9, true, "Question", "Go on?", "", Dialog::kModeYesNo);
    dialog->SetCaptionFont(&font);
    application.onStep = [&](int step) {
        if (step == 2) {
            int x = 0;
            int y = 0;
            dialog->GetYesButton()->GetScreenPos(&x, &y);
            manager.MouseMove(x + 1, y + 1);
            manager.MouseDown(x + 1, y + 1, 1);
            manager.MouseUp(x + 1, y + 1, 1);
        }
    };
    EXPECT_EQ(dialog->RunModal(true), Dialog::kButtonYes);
    EXPECT_EQ(application.steps, 2);
    EXPECT_EQ(listener.released, std::vector<int>{9 * 10000 + Dialog::kButtonYes});
    EXPECT_EQ(registry.GetDialog(9), nullptr);
    ASSERT_EQ(retired.size(), 1u);
    EXPECT_EQ(retired[0].get(), dialog);
    EXPECT_EQ(manager.GetBaseModalWidget(), nullptr);
    EXPECT_EQ(manager.GetFocusWidget(), &board);

    // Dialogs still open when the registry goes are deleted with it.
    registry.ShowDialog(1, true, "", "left open", "", Dialog::kModeOkCancel);
}

}  // namespace
}  // namespace Tuvo
