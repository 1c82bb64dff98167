// Tests of the widget tree: the update walk under removals, once-per-frame updates, z-order,
// dirty marking under transparent and opaque siblings, and drawing with clipping.
#include "framework/widgets/widget_container.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/memory_image.h"
#include "framework/widgets/widget_manager.h"
#include "probe_widget.h"

namespace Tuvo {
namespace {

using Testing::ProbeWidget;

// The names of `widgets` (of the dirty ones only, if asked), joined by spaces.
std::string Names(const WidgetList& widgets, bool dirtyOnly = false) {
    std::string names;
    for (const Widget* widget : widgets) {
        if (!dirtyOnly || widget->IsDirty()) {
            names += (names.empty() ? "" : " ") + static_cast<const ProbeWidget*>(widget)->Name();
        }
    }
    return names;
}

using Log = std::vector<std::string>;

class WidgetTreeTest : public ::testing::Test {
protected:
    WidgetTreeTest() {
        manager.Resize(Rect(0, 0, 100, 100));
        manager.SetScreenImage(&screen);
    }

    Log TakeLog() { return std::exchange(log, Log{}); }

    Log log;
    MemoryImage screen{100, 100};
    WidgetManager manager{nullptr};
};

// Widgets removing themselves or a sibling during the update walk make it skip nothing and
// repeat nothing; a widget updates at most once per manager frame, however it is walked.
TEST_F(WidgetTreeTest, TheUpdateWalkSurvivesRemovalsAndUpdatesEachWidgetOncePerFrame) {
    ProbeWidget a("a", &log), b("b", &log), c("c", &log), d("d", &log);
    for (ProbeWidget* widget : {&a, &b, &c, &d}) {
        manager.AddWidget(widget);
    }
    b.onUpdate = [&] { manager.RemoveWidget(&b); };
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(), (Log{"a update", "b update", "c update", "d update"}));
    EXPECT_EQ(b.GetParent(), nullptr);

    // a removes the sibling the walk goes to next.
    a.onUpdate = [&] { manager.RemoveWidget(&c); };
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(), (Log{"a update", "d update"}));

    // a removes the widget after the next one; then d removes itself.
    manager.AddWidget(&b);
    manager.AddWidget(&c);  // order a, d, b, c
    a.onUpdate = [&] { manager.RemoveWidget(&b); };
    d.onUpdate = [&] { manager.RemoveWidget(&d); };
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(), (Log{"a update", "d update", "c update"}));

    // A widget moved to the front during the walk is reached again but does not run again,
    // nor in a second walk within the same frame; nested widgets run too.
    ProbeWidget child("child", &log);
    c.AddWidget(&child);
    a.onUpdate = [&] { manager.BringToFront(&a); };
    manager.UpdateFrame();
    ModalFlags flags{FlagUpdate, FlagUpdate, true};
    manager.UpdateTree(&flags);
    EXPECT_EQ(TakeLog(), (Log{"a update", "c update", "child update"}));
    manager.SetWidgetFlags(FlagDraw);  // without FlagUpdate nothing runs
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(), Log{});
}

// An update that runs a frame of its own (a modal dialog's loop) walks the tree inside the
// walk; the outer walk then goes on where it was, even when the inner frame removed the child
// it stands on, and widgets retired meanwhile (even the one whose update started the frame)
// live until the outermost frame ends.
TEST_F(WidgetTreeTest, AFrameStartedFromAnUpdateLeavesTheOuterWalkIntact) {
    struct CountingWidget : ProbeWidget {
        using ProbeWidget::ProbeWidget;
        void UpdateTree(ModalFlags* flags) override {
            ++walks;
            ProbeWidget::UpdateTree(flags);
        }
        int walks = 0;
    };
    CountingWidget a("a", &log);
    auto* b = new ProbeWidget("b", &log);
    ProbeWidget c("c", &log), d("d", &log);
    auto* retired = new ProbeWidget("r", &log);
    for (Widget* widget : std::initializer_list<Widget*>{&a, b, &c, &d, retired}) {
        manager.AddWidget(widget);
    }
    bool nested = false;
    b->onUpdate = [&] {
        if (!nested) {
            nested = true;
            manager.UpdateFrame();
        }
    };
    c.onUpdate = [&] {
        manager.RetireWidget(b);
        manager.RetireWidget(retired);
    };
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(),
              (Log{"a update", "b update", "a update", "b update", "c update", "d update"}));
    EXPECT_EQ(a.walks, 2);  // the outer walk and the inner one, and no walk past the end
    EXPECT_EQ(manager.GetRetiredCount(), 0);  // deleted when the outer frame ended
    c.onUpdate = nullptr;
    manager.UpdateFrame();
    EXPECT_EQ(TakeLog(), (Log{"a update", "c update", "d update"}));
}

TEST_F(WidgetTreeTest, ZOrderKeepsEqualKeysInTheRequestedPlace) {
    ProbeWidget a("a", nullptr), b("b", nullptr), c("c", nullptr), d("d", nullptr);
    ProbeWidget stranger("s", nullptr);
    b.SetZOrder(1);
    d.SetZOrder(-1);
    manager.AddWidget(&a);
    manager.AddWidget(&b);
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] { manager.AddWidget(&c); }, "a c b"},     // same z as a: after a, but below b
        {[&] { manager.SendToBack(&b); }, "a c b"},    // cannot go beneath lower keys
        {[&] { manager.BringToFront(&a); }, "c a b"},  // the end, but beneath the higher key
        {[&] { manager.SendToBack(&a); }, "a c b"},
        {[&] { manager.PlaceInFront(&a, &c); }, "c a b"},
        {[&] { manager.PlaceInFront(&a, &b); }, "c a b"},  // the higher key stays on top
        {[&] { manager.AddWidget(&d); }, "d c a b"},
        {[&] { manager.BringToFront(&stranger); }, "d c a b"},  // not a child: nothing
        {[&] { manager.PlaceInFront(&a, &stranger); }, "d c a b"},
    };
    for (const auto& [step, order] : steps) {
        step();
        EXPECT_EQ(Names(manager.GetChildren()), order);
    }
    EXPECT_TRUE(manager.IsDrawnBelow(&d, &b));
    EXPECT_FALSE(manager.IsDrawnBelow(&stranger, &a));

    // In the tree a parent draws before its children, and they before the parent's later siblings.
    ProbeWidget a1("a1", nullptr), b1("b1", nullptr);
    a.AddWidget(&a1);
    b.AddWidget(&b1);
    EXPECT_TRUE(manager.IsDrawnBelow(&a1, &b1));
    EXPECT_TRUE(manager.IsDrawnBelow(&a, &a1));
    EXPECT_FALSE(manager.IsDrawnBelow(&a1, &a));
    EXPECT_TRUE(manager.IsDrawnBelow(&a1, &b));
    EXPECT_FALSE(manager.IsDrawnBelow(&b1, &a1));
}

TEST_F(WidgetTreeTest, DirtyMarkingRedrawsWhatShowsThroughDownToTheFirstCoveringOpaqueWidget) {
    ProbeWidget floor("floor", nullptr, 0, 0, 100, 100);
    ProbeWidget cover("cover", nullptr, 10, 10, 50, 50);
    ProbeWidget glass("glass", nullptr, 20, 20, 20, 20);
    ProbeWidget top("top", nullptr, 30, 30, 40, 40);
    ProbeWidget away("away", nullptr, 80, 80, 10, 10);
    const WidgetList all = {&floor, &cover, &glass, &top, &away};
    for (Widget* widget : all) {
        manager.AddWidget(widget);
    }
    manager.DrawScreen();
    ASSERT_EQ(Names(all, true), "");

    // A transparent widget: the opaque cover beneath hides the floor, so the walk stops there;
    // the widget on top that overlaps is redrawn too.
    glass.SetHasAlpha(true);
    glass.MarkDirty();
    EXPECT_EQ(Names(all, true), "cover glass top");
    EXPECT_TRUE(manager.IsDirty());
    EXPECT_TRUE(manager.DrawScreen());

    // A cover with transparencies does not hide what is beneath it; the floor is redrawn
    // whole, so everything over it is too.
    cover.SetHasTransparencies(true);
    glass.MarkDirty();
    EXPECT_EQ(Names(all, true), "floor cover glass top away");
    manager.DrawScreen();

    // An opaque widget redraws only itself and what lies on top of it.
    glass.SetHasAlpha(false);
    glass.MarkDirty();
    EXPECT_EQ(Names(all, true), "glass top");
    manager.DrawScreen();

    // Hidden widgets are neither marked nor drawn; touching edges do not overlap.
    top.SetVisible(false);
    manager.DrawScreen();
    glass.MarkDirty();
    EXPECT_EQ(Names(all, true), "glass");
    ProbeWidget touching("touch", nullptr, 40, 20, 10, 10);
    manager.AddWidget(&touching);
    manager.DrawScreen();
    glass.MarkDirty();
    EXPECT_FALSE(touching.IsDirty());

    // Moving redraws what is uncovered at the old place and what lies above the new one.
    cover.SetHasTransparencies(false);
    manager.DrawScreen();
    glass.Move(75, 75);
    EXPECT_EQ(Names(all, true), "cover glass away");
}

TEST_F(WidgetTreeTest, DrawScreenRedrawsOnlyDirtyTopLevelWidgetsClippedAndTranslated) {
    ProbeWidget left("left", nullptr, 0, 0, 50, 100);
    ProbeWidget right("right", nullptr, 50, 0, 50, 100);
    left.fill = Color(0, 0, 255);
    right.fill = Color(0, 255, 0);
    ProbeWidget child("child", nullptr, 10, 10, 5, 5);  // its fill is clipped to its 5 x 5
    child.fill = Color(255, 255, 255);
    manager.AddWidget(&left);
    manager.AddWidget(&right);
    right.AddWidget(&child);
    EXPECT_TRUE(manager.DrawScreen());
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(screen.GetPixel(99, 99), 0xFF00FF00u);
    EXPECT_EQ(screen.GetPixel(60, 10), 0xFFFFFFFFu);
    EXPECT_EQ(screen.GetPixel(64, 14), 0xFFFFFFFFu);
    EXPECT_EQ(screen.GetPixel(65, 14), 0xFF00FF00u);
    EXPECT_EQ(screen.GetPixel(59, 10), 0xFF00FF00u);

    EXPECT_FALSE(manager.DrawScreen());

    // Only the dirty widget (with its whole subtree) is drawn again.
    right.fill = Color(255, 0, 0);
    child.MarkDirty();
    EXPECT_TRUE(manager.DrawScreen());
    EXPECT_EQ((std::vector{left.draws, right.draws, child.draws}), (std::vector{1, 2, 2}));
    EXPECT_EQ(screen.GetPixel(99, 99), 0xFFFF0000u);
    EXPECT_FALSE(child.IsDirty());

    // A widget shown again is redrawn, even though it was marked while hidden.
    left.SetVisible(false);
    left.MarkDirty();
    manager.DrawScreen();
    left.SetVisible(true);
    EXPECT_TRUE(manager.IsDirty());
    EXPECT_TRUE(manager.DrawScreen());
    EXPECT_EQ(left.draws, 2);
}

TEST_F(WidgetTreeTest, RemoveAllChildrenAndDestructionLeaveNoDanglingPointers) {
    auto* parent = new ProbeWidget("p", nullptr, 0, 0, 50, 50);
    auto* child = new ProbeWidget("c", nullptr, 0, 0, 10, 10);
    auto* grandchild = new ProbeWidget("g", nullptr, 0, 0, 5, 5);
    // Built before it joins the manager, the whole subtree is attached.
    child->AddWidget(grandchild);
    parent->AddWidget(child);
    manager.AddWidget(parent);
    manager.SetFocus(grandchild);
    EXPECT_EQ(manager.GetFocusWidget(), grandchild);

    // Deleting a widget takes it out of its parent and out of the manager.
    delete grandchild;
    EXPECT_TRUE(child->GetChildren().empty());
    EXPECT_EQ(manager.GetFocusWidget(), nullptr);

    parent->RemoveAllChildren(true, true);
    EXPECT_TRUE(parent->GetChildren().empty());
    manager.RemoveWidget(parent);
    EXPECT_EQ(parent->GetWidgetManager(), nullptr);
    delete parent;
    EXPECT_TRUE(manager.GetChildren().empty());

    // Adding a widget that sits in another container moves it.
    ProbeWidget x("x", nullptr), y("y", nullptr);
    manager.AddWidget(&x);
    y.AddWidget(&x);
    EXPECT_FALSE(manager.ContainsChild(&x));
    EXPECT_EQ(x.GetParent(), &y);
    x.AddWidget(&y);  // would make a cycle: refused
    EXPECT_EQ(y.GetParent(), nullptr);
}

}  // namespace
}  // namespace Tuvo
