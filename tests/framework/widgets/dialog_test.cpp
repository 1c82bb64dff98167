// Tests of dialogs: button modes and layout, the buttons as siblings in front of the dialog,
// results, dragging limits, measuring and drawing.
#include "framework/widgets/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fixed_font.h"
#include "framework/graphics/memory_image.h"
#include "framework/widgets/widget_manager.h"

namespace Tuvo {
namespace {

using Log = std::vector<std::string>;

// The application: cursor requests and dialog events.
class FakeApplication : public WidgetApplication, public DialogListener {
public:
    void SetCursor(CursorKind kind) override { cursors.push_back(kind); }
    void OnDialogButtonPressed(int dialogId, int buttonId) override {
        log.push_back("pressed " + std::to_string(dialogId) + " " + std::to_string(buttonId));
    }
    void OnDialogButtonReleased(int dialogId, int buttonId) override {
        log.push_back("released " + std::to_string(dialogId) + " " + std::to_string(buttonId));
        if (onReleased) {
            onReleased();
        }
    }

    std::vector<CursorKind> cursors;
    Log log;
    std::function<void()> onReleased;
};

class DialogTest : public ::testing::Test {
protected:
    DialogTest() { manager.Resize(Rect(0, 0, 800, 600)); }

    std::unique_ptr<Dialog> MakeDialog(int mode, const std::string& footer = "footer") {
        auto dialog = std::make_unique<Dialog>(nullptr, nullptr, 5, true, "Header", "Some lines",
                                               footer, mode, &application);
        dialog->SetTitleFont(&font);
        dialog->SetBodyFont(&font);
        dialog->SetCaptionFont(&font);
        return dialog;
    }

    // A dialog at (100, 100), 400 x 200, in the manager.
    std::unique_ptr<Dialog> ShowDialog(int mode, const std::string& footer = "footer") {
        std::unique_ptr<Dialog> dialog = MakeDialog(mode, footer);
        dialog->Resize(100, 100, 400, 200);
        manager.AddWidget(dialog.get());
        return dialog;
    }

    void Click(Widget* button) {
        manager.MouseDown(button->X() + 2, button->Y() + 2, 1);
        manager.MouseUp(button->X() + 2, button->Y() + 2, 1);
    }

    Log drawn;
    Testing::FixedFont font{&drawn};
    FakeApplication application;
    WidgetManager manager{&application};
};

TEST_F(DialogTest, ButtonModesGiveTheirButtonsLabelsAndLayoutInFrontOfTheDialog) {
    auto yesNo = ShowDialog(Dialog::kModeYesNo);
    ASSERT_NE(yesNo->GetNoButton(), nullptr);
    // (400 - 48 - 8) / 2 = 172 wide, at the bottom inside the content insets.
    EXPECT_EQ(yesNo->GetYesButton()->GetRect(), Rect(124, 252, 172, 24));
    EXPECT_EQ(yesNo->GetNoButton()->GetRect(), Rect(304, 252, 172, 24));
    yesNo->Resize(100, 100, 401, 200);  // (401 - 48 - 8) / 2 = 172 (truncated)
    EXPECT_EQ(yesNo->GetNoButton()->GetRect(), Rect(304, 252, 172, 24));

    auto okCancel = MakeDialog(Dialog::kModeOkCancel);
    EXPECT_EQ(okCancel->GetYesButton()->GetLabel(), "OK");
    EXPECT_EQ(okCancel->GetNoButton()->GetLabel(), "CANCEL");

    auto single = MakeDialog(Dialog::kModeFooterButton, "Continue");
    single->Resize(0, 0, 300, 150);
    EXPECT_EQ(single->GetNoButton(), nullptr);
    EXPECT_EQ(single->GetYesButton()->GetRect(), Rect(24, 102, 252, 24));

    EXPECT_EQ(MakeDialog(Dialog::kModeNoButtons)->GetYesButton(), nullptr);
    EXPECT_EQ(MakeDialog(7)->GetYesButton(), nullptr);

    // The buttons are siblings kept directly in front of the dialog.
    Widget* yes = yesNo->GetYesButton();
    Widget* no = yesNo->GetNoButton();
    Widget other;
    manager.AddWidget(&other);
    EXPECT_EQ(manager.GetChildren(), (WidgetList{yesNo.get(), yes, no, &other}));
    manager.BringToFront(yesNo.get());
    EXPECT_EQ(manager.GetChildren(), (WidgetList{&other, yesNo.get(), yes, no}));
    manager.RemoveWidget(yesNo.get());
    EXPECT_EQ(manager.GetChildren(), WidgetList{&other});

    // Dialog colours 3 and 4 are the buttons' text colours.
    yesNo->SetColor(Dialog::kColorButtonText, Color(1, 2, 3));
    yesNo->SetColor(Dialog::kColorButtonTextHover, Color(4, 5, 6));
    EXPECT_EQ(no->GetColor(0), Color(1, 2, 3));
    EXPECT_EQ(yes->GetColor(1), Color(4, 5, 6));
}

TEST_F(DialogTest, ReleasingAButtonSetsTheResultAndTellsTheListenerWhichMayDeleteTheDialog) {
    auto dialog = ShowDialog(Dialog::kModeOkCancel);
    manager.PushModal(dialog.get());
    EXPECT_EQ(dialog->GetResult(), Dialog::kNoResult);
    Click(dialog->GetNoButton());
    EXPECT_EQ(application.log, (Log{"pressed 5 1001", "released 5 1001"}));
    EXPECT_EQ(dialog->GetResult(), Dialog::kButtonNo);
    Click(dialog->GetYesButton());
    EXPECT_EQ(dialog->GetResult(), Dialog::kButtonYes);
    // Buttons of other ids are not the dialog's.
    dialog->OnButtonReleased(3);
    EXPECT_EQ(dialog->GetResult(), Dialog::kButtonYes);

    // The listener may delete the dialog when its button is released.
    Widget* yes = dialog->GetYesButton();
    application.onReleased = [&] {
        manager.PopModal(dialog.get());
        dialog.reset();
    };
    Click(yes);
    EXPECT_EQ(dialog, nullptr);
    EXPECT_TRUE(manager.GetChildren().empty());
    EXPECT_EQ(manager.GetOverWidget(), nullptr);
    EXPECT_EQ(manager.GetPressedWidget(), nullptr);
    EXPECT_EQ(manager.GetBaseModalWidget(), nullptr);
    manager.MouseMove(1, 1);
    manager.UpdateFrame();
    manager.DrawScreen();
}

TEST_F(DialogTest, DraggingStopsEightPixelsBeyondEachEdge) {
    auto dialog = ShowDialog(Dialog::kModeNoButtons);
    manager.MouseDown(150, 150, 1);
    manager.MouseDrag(160, 155);
    EXPECT_EQ(dialog->GetRect(), Rect(110, 105, 400, 200));
    manager.MouseDrag(5000, 155);
    EXPECT_EQ(dialog->X(), 800 + 8 - 400);
    // The grab point was pulled in to 9 pixels from the right edge, so moving back moves the
    // dialog at once: point 391 of the dialog is under the mouse again.
    manager.MouseDrag(700, 155);
    EXPECT_EQ(dialog->X(), 700 - 391);
    manager.MouseDrag(-5000, -5000);
    EXPECT_EQ(dialog->GetRect(), Rect(-8, -8, 400, 200));
    manager.MouseDrag(5000, 5000);
    EXPECT_EQ(dialog->Y(), 600 + 8 - 200);
    manager.MouseUp(5000, 5000, 1);
    // A double click or the right button does not drag: the cursor shows one drag only.
    manager.MouseDown(450, 450, 2);
    manager.MouseUp(450, 450, 2);
    manager.MouseDown(450, 450, -1);
    manager.MouseUp(450, 450, -1);
    EXPECT_EQ(application.cursors,
              (std::vector<CursorKind>{CursorKind::Dragging, CursorKind::Arrow}));
}

TEST_F(DialogTest, MeasureHeightAddsHeaderLinesFooterAndButtons) {
    // Insets 48, header 14, gap 10, one line 14, footer 8 + 14, buttons 8 + 8 + 24.
    EXPECT_EQ(MakeDialog(Dialog::kModeYesNo)->MeasureHeight(400), 148);
    // Mode 3 draws no footer text.
    EXPECT_EQ(MakeDialog(Dialog::kModeFooterButton)->MeasureHeight(400), 126);
    EXPECT_EQ(MakeDialog(Dialog::kModeNoButtons)->MeasureHeight(400), 108);
    // "Some lines" is 60 wide: at a text width of 54 it wraps to two lines.
    EXPECT_EQ(MakeDialog(Dialog::kModeNoButtons)->MeasureHeight(54 + 52), 122);
    Dialog empty(nullptr, nullptr, 1, false, "", "", "", Dialog::kModeNoButtons);
    EXPECT_EQ(empty.MeasureHeight(400), 48);
    Dialog buttonsOnly(nullptr, nullptr, 1, false, "", "", "", Dialog::kModeYesNo);
    EXPECT_EQ(buttonsOnly.MeasureHeight(400), 48 + 8 + 24);
}

TEST_F(DialogTest, DrawsFrameHeaderLinesAndFooter) {
    MemoryImage screen(800, 600);
    manager.SetScreenImage(&screen);
    auto dialog = ShowDialog(Dialog::kModeYesNo);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(112, 112), 0xFFFFFFFFu);  // outline
    EXPECT_EQ(screen.GetPixel(100 + 12 + 400 - 25, 100 + 12 + 200 - 25), 0xFFFFFFFFu);
    EXPECT_EQ(screen.GetPixel(113, 113), 0xFF505050u);  // background
    EXPECT_EQ(screen.GetPixel(111, 111), 0u);           // outside the frame
    EXPECT_NE(screen.GetPixel(495, 130), 0u);           // shadow
    // Header centred on its baseline (24 + 10); lines from y 34 - 10 + 14 + 10 = 48 (baseline
    // 58) in colour 1; footer on baseline 48 + 14 + 8 + 14; then the buttons' labels.
    EXPECT_EQ(drawn, (Log{"Header @282,134 #255,255,255", "Some lines @270,158 #255,255,0",
                          "footer @282,184 #255,255,255", "YES @201,268 #255,255,255",
                          "NO @384,268 #255,255,255"}));

    // Mode 3 shows the footer only on its button.
    manager.RemoveWidget(dialog.get());
    drawn.clear();
    auto single = ShowDialog(Dialog::kModeFooterButton, "Go");
    manager.DrawScreen();
    EXPECT_EQ(drawn, (Log{"Header @282,134 #255,255,255", "Some lines @270,158 #255,255,0",
                          "Go @294,268 #255,255,255"}));
}

}  // namespace
}  // namespace Tuvo
