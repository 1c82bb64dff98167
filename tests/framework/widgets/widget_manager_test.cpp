// Tests of the widget manager's input routing: hover, press-drag-release, keys and focus,
// enabling, modal widgets and hit testing.
#include "framework/widgets/widget_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/memory_image.h"
#include "probe_widget.h"

namespace Tuvo {
namespace {

using Testing::ProbeWidget;
using Log = std::vector<std::string>;

class CursorRecorder : public WidgetApplication {
public:
    void SetCursor(CursorKind kind) override { cursors.push_back(kind); }
    std::vector<CursorKind> cursors;
};

class WidgetManagerTest : public ::testing::Test {
protected:
    WidgetManagerTest() {
        manager.Resize(Rect(0, 0, 200, 100));
        manager.AddWidget(&left);
        manager.AddWidget(&right);
    }

    Log TakeLog() { return std::exchange(log, Log{}); }

    Log log;
    CursorRecorder application;
    WidgetManager manager{&application};
    ProbeWidget left{"L", &log, 0, 0, 100, 100};
    ProbeWidget right{"R", &log, 100, 0, 100, 100};
};

TEST_F(WidgetManagerTest, HoverEntersLeavesAndMovesInLocalCoordinates) {
    manager.MouseMove(10, 20);
    manager.MouseMove(10, 20);  // no change: nothing
    manager.MouseMove(150, 30);
    manager.MouseLeaveWindow(250, 30);
    EXPECT_EQ(TakeLog(),
              (Log{"L enter", "L move 10,20", "L leave", "R enter", "R move 50,30", "R leave"}));
    EXPECT_FALSE(manager.IsMouseIn());

    // Hand cursors follow widgets that show the finger.
    right.SetShowFinger(true);
    manager.MouseMove(115, 10);
    manager.MouseMove(50, 10);
    EXPECT_EQ(application.cursors, (std::vector<CursorKind>{CursorKind::Hand, CursorKind::Arrow}));

    // Adding, moving and hiding widgets rechecks the hover.
    manager.MouseMove(10, 10);
    ProbeWidget cover("C", &log, 0, 0, 50, 50);
    TakeLog();
    manager.AddWidget(&cover);
    EXPECT_EQ(TakeLog(), (Log{"L leave", "C enter", "C move 10,10"}));
    cover.Move(60, 60);
    EXPECT_EQ(TakeLog(), (Log{"C leave", "L enter", "L move 10,10"}));
    cover.Move(0, 0);
    cover.SetVisible(false);
    EXPECT_EQ(TakeLog(),
              (Log{"L leave", "C enter", "C move 10,10", "C leave", "L enter", "L move 10,10"}));
}

TEST_F(WidgetManagerTest, PressDragAndReleaseGoToThePressedWidgetOnly) {
    manager.MouseMove(10, 10);
    TakeLog();
    manager.MouseDown(10, 10, 1);
    manager.MouseMove(150, 20);  // a move with a button down is a drag
    manager.MouseDrag(160, 30);
    manager.MouseUp(160, 30, 1);
    EXPECT_EQ(TakeLog(), (Log{"L down 10,10 b0 c1", "L drag 150,20", "L leave", "L drag 160,30",
                              "L up 160,30 b0 c1", "R enter", "R move 60,30"}));

    // Dragging back over the pressed widget gives it the hover again.
    manager.MouseDown(150, 30, -1);
    manager.MouseDrag(50, 30);
    manager.MouseDrag(150, 30);
    EXPECT_EQ(TakeLog(), (Log{"R move 50,30", "R down 50,30 b1 c1", "R drag -50,30", "R leave",
                              "R drag 50,30", "R enter"}));
    // A second button held at once goes to the same widget (hover follows the pointer); it
    // stays pressed until both are up.
    manager.MouseDown(20, 20, 3);
    EXPECT_EQ(TakeLog(), (Log{"R leave", "L enter", "L move 20,20", "R down -80,20 b2 c1"}));
    manager.MouseUp(20, 20, -1);
    manager.MouseUp(20, 20, 3);
    EXPECT_EQ(manager.GetPressedWidget(), nullptr);
    EXPECT_EQ(TakeLog(), (Log{"R up -80,20 b1 c1", "R up -80,20 b2 c1"}));

    // ReleaseHeldButtons lets go of a held widget at the last mouse position.
    manager.MouseDown(30, 40, 2);
    manager.ReleaseHeldButtons();
    EXPECT_EQ(TakeLog(), (Log{"L move 30,40", "L down 30,40 b0 c2", "L up 30,40 b0 c1"}));
    EXPECT_FALSE(left.IsDown());
    EXPECT_EQ(manager.GetDownButtons(), 0);
}

TEST_F(WidgetManagerTest, NestedWidgetsReceivePointsInTheirOwnCoordinates) {
    ProbeWidget inner("I", &log, 20, 30, 10, 10);
    right.AddWidget(&inner);
    manager.MouseMove(125, 35);
    manager.MouseDown(125, 35, 1);
    manager.MouseDrag(126, 36);
    manager.MouseUp(127, 37, 1);
    EXPECT_EQ(TakeLog(), (Log{"I enter", "I move 5,5", "I down 5,5 b0 c1", "I drag 6,6",
                              "I up 7,7 b0 c1", "I move 7,7"}));
    // A hole in a widget lets the point through to what lies beneath.
    class Ring : public ProbeWidget {
    public:
        using ProbeWidget::ProbeWidget;
        bool HitsPoint(int x, int y) override { return x < 2 || y < 2; }
    };
    Ring ring("ring", &log, 0, 0, 50, 50);
    manager.AddWidget(&ring);
    manager.MouseMove(1, 30);
    manager.MouseMove(30, 30);
    EXPECT_EQ(TakeLog(), (Log{"I leave", "ring enter", "ring move 1,30", "ring leave", "L enter",
                              "L move 30,30"}));
}

TEST_F(WidgetManagerTest, KeysGoToTheFocusWidgetAndOnlyCodesBelow255AreRecorded) {
    left.acceptsFocus = true;
    manager.MouseDown(10, 10, 1);
    manager.MouseUp(10, 10, 1);
    TakeLog();
    manager.KeyDown(65);
    manager.KeyDown(300);
    manager.KeyChar('a');
    manager.MouseWheel(-2);
    EXPECT_TRUE(manager.IsKeyDown(65));
    EXPECT_FALSE(manager.IsKeyDown(300));
    EXPECT_EQ(TakeLog(), (Log{"L keydown 65", "L keydown 300", "L char 97", "L wheel -2"}));

    // Losing the window focus releases every key still down, then the widget loses the focus;
    // a focus set meanwhile is given only when the window has the focus again.
    manager.LostFocus();
    EXPECT_EQ(TakeLog(), (Log{"L keyup 65", "L lostfocus"}));
    EXPECT_FALSE(manager.IsKeyDown(65));
    manager.SetFocus(&right);  // no GotFocus while the window has no focus
    manager.GotFocus();
    EXPECT_EQ(TakeLog(), (Log{"L lostfocus", "R gotfocus"}));
}

TEST_F(WidgetManagerTest, DisablingDropsFocusAndHoverAndReEnablingUnderThePointerRestoresHover) {
    manager.SetFocus(&left);
    manager.MouseMove(10, 10);
    TakeLog();
    left.SetDisabled(true);
    EXPECT_EQ(TakeLog(), (Log{"L leave", "L lostfocus"}));
    manager.MouseMove(11, 10);
    manager.MouseDown(11, 10, 1);
    manager.MouseUp(11, 10, 1);
    EXPECT_EQ(TakeLog(), Log{});
    left.SetDisabled(false);
    EXPECT_EQ(TakeLog(), (Log{"L enter", "L move 11,10"}));

    // Disabling a pressed widget releases it.
    manager.MouseDown(11, 10, 1);
    TakeLog();
    left.SetDisabled(true);
    EXPECT_EQ(TakeLog(), (Log{"L leave", "L up 11,10 b0 c1"}));
    EXPECT_EQ(manager.GetPressedWidget(), nullptr);
}

TEST_F(WidgetManagerTest, AModalWidgetBlocksHoverClicksAndFocusBeneathItWhileTheyStillRun) {
    MemoryImage screen(200, 100);
    manager.SetScreenImage(&screen);
    ProbeWidget dialog("D", &log, 50, 25, 100, 50);
    dialog.fill = Color(0, 0, 255);
    left.acceptsFocus = true;
    manager.SetFocus(&left);
    manager.MouseMove(10, 10);
    manager.AddWidget(&dialog);
    TakeLog();
    manager.PushModal(&dialog);
    EXPECT_EQ(TakeLog(), (Log{"L leave", "L lostfocus"}));

    manager.MouseMove(12, 10);
    manager.MouseDown(12, 10, 1);
    manager.MouseUp(12, 10, 1);
    EXPECT_EQ(TakeLog(), Log{});
    manager.MouseMove(60, 30);
    manager.MouseDown(60, 30, 1);
    manager.MouseUp(60, 30, 1);
    EXPECT_EQ(TakeLog(), (Log{"D enter", "D move 10,5", "D down 10,5 b0 c1", "D up 10,5 b0 c1"}));

    // Beneath the modal widget everything still updates and draws.
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(), (Log{"L update", "R update", "D update"}));
    left.fill = Color(0, 255, 0);
    left.MarkDirty();
    EXPECT_TRUE(manager.DrawScreen());
    EXPECT_EQ(screen.GetPixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(screen.GetPixel(60, 30), 0xFF0000FFu);  // the dialog on top was redrawn too

    // Popping restores the focus; hover beneath works again.
    manager.PopModal(&left);  // not the latest push: nothing
    EXPECT_EQ(manager.GetBaseModalWidget(), &dialog);
    manager.PopModal(&dialog);
    EXPECT_EQ(TakeLog(), (Log{"L gotfocus"}));
    manager.MouseMove(10, 10);
    EXPECT_EQ(TakeLog(), (Log{"D leave", "L enter", "L move 10,10"}));
    manager.RemoveWidget(&dialog);

    // Removing modal widgets clears their records and pops through.
    ProbeWidget first("F", &log), second("S", &log);
    manager.AddWidget(&first);
    manager.AddWidget(&second);
    manager.PushModal(&first);
    manager.PushModal(&second);
    // The first dialog goes away while the second is still up.
    manager.RemoveWidget(&first);
    EXPECT_EQ(manager.GetPreModalRecords().back().previousBaseModal, nullptr);
    manager.PopModal(&second);
    EXPECT_TRUE(manager.GetPreModalRecords().empty());
    EXPECT_EQ(manager.GetBaseModalWidget(), nullptr);
    EXPECT_EQ(manager.GetFocusWidget(), &left);

    // A pressed widget beneath a new modal widget is released.
    manager.MouseDown(150, 50, 1);
    TakeLog();
    manager.PushModal(&second);
    EXPECT_EQ(TakeLog(), (Log{"R leave", "R up 50,50 b0 c1", "L lostfocus"}));
}

}  // namespace
}  // namespace Tuvo
