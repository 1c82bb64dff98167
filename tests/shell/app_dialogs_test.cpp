// Dialogs in the application's own loop: the application shows them by id, a modal one blocks
// the widgets beneath it, its buttons (reported to the application) end it, and RunModal runs
// the real loop steps until a button is released.
#include "shell/app_base.h"

#include <gtest/gtest.h>

#include "support/user_folder.h"

namespace {

using Platform::EventKind;
using Tuvo::Dialog;

class ClickCountingWidget : public Tuvo::Widget {
public:
    void MouseDown(int, int, int, int) override { ++clicks; }
    int clicks = 0;
};

// The application base with no window: input comes only from queued events.
class DialogApp : public Tuvo::TuvoAppBase {
public:
    explicit DialogApp(Platform::ManualClock& clock) : TuvoAppBase(clock) {
        width_ = 800;
        height_ = 600;
        screenImage_.Create(800, 600);
        widgetManager_->SetScreenImage(&screenImage_);
        widgetManager_->Resize(Tuvo::Rect(0, 0, 800, 600));
        board.Resize(0, 0, 800, 600);
        widgetManager_->AddWidget(&board);
        widgetManager_->SetFocus(&board);
        loaded_ = true;
        running_ = true;
    }
    ~DialogApp() override { widgetManager_->RemoveWidget(&board); }

    void QueueClick(int x, int y) {
        QueueInputEvent({.kind = EventKind::kMouseMove, .x = x, .y = y});
        QueueInputEvent({.kind = EventKind::kMouseDown, .x = x, .y = y, .clickCount = 1});
        QueueInputEvent({.kind = EventKind::kMouseUp, .x = x, .y = y, .clickCount = 1});
    }
    void QueueClick(const Tuvo::Widget* widget) {
        int x = 0;
        int y = 0;
        widget->GetScreenPos(&x, &y);
        QueueClick(x + widget->Width() / 2, y + widget->Height() / 2);
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            bool updated = false;
            ASSERT_TRUE(LoopStep(&updated));
        }
    }

    ClickCountingWidget board;

protected:
    void PumpWindowEvents(std::vector<Platform::InputEvent>&) override {}
    void PresentFrame() override {}
};

class AppDialogsTest : public ::testing::Test {
protected:
    TestSupport::TestUserFolder folder_;
    Platform::ManualClock clock_;
};

TEST_F(AppDialogsTest, AModalDialogBlocksTheBoardUntilItsButtonEndsIt) {
    DialogApp app(clock_);
    Dialog* dialog =
        app.ShowDialog(5, true, "Leave?", "The game is saved.", "", Dialog::kModeYesNo);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetBaseModalWidget(), dialog);
    EXPECT_EQ(dialog->GetRect().x, 200);  // half the width, centred

    app.QueueClick(10, 590);  // beside the dialog, on the board
    app.Steps(50);
    EXPECT_EQ(app.board.clicks, 0);

    app.QueueClick(dialog->GetNoButton());
    app.Steps(50);
    EXPECT_EQ(app.GetDialog(5), nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetBaseModalWidget(), nullptr);
    EXPECT_TRUE(app.GetWidgetManager()->GetPreModalRecords().empty());
    EXPECT_EQ(app.GetWidgetManager()->GetRetiredCount(), 0);
    EXPECT_EQ(app.GetWidgetManager()->GetFocusWidget(), &app.board);

    app.QueueClick(10, 590);
    app.Steps(50);
    EXPECT_EQ(app.board.clicks, 1);
}

TEST_F(AppDialogsTest, RunModalRunsTheLoopUntilAButtonIsReleased) {
    DialogApp app(clock_);
    Dialog* dialog = app.ShowDialog(6, true, "", "Start again?", "", Dialog::kModeOkCancel);
    app.QueueClick(dialog->GetYesButton());
    EXPECT_EQ(dialog->RunModal(true), Dialog::kButtonYes);
    EXPECT_EQ(app.GetDialogCount(), 0);
    EXPECT_EQ(app.GetWidgetManager()->GetBaseModalWidget(), nullptr);

    // A dialog still open when the application ends goes with it.
    app.ShowDialog(7, true, "", "Left open", "", Dialog::kModeOkCancel);
}

}  // namespace
