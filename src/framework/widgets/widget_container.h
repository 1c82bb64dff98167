// The widget tree's container: an ordered child list (ascending z-order, later children drawn on
// top and hit-tested first), dirty marking, and the update and draw traversals. Widget and
// WidgetManager derive from it.
#pragma once

#include <list>

#include "framework/graphics/graphics.h"
#include "framework/graphics/rect.h"
#include "framework/widgets/widget_flags.h"

namespace Tuvo {

class Widget;
class WidgetManager;

using WidgetList = std::list<Widget*>;

class WidgetContainer {
public:
    WidgetContainer();
    virtual ~WidgetContainer();
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;

    // Slot 1. (x, y, width, height) in the parent's coordinates.
    virtual Rect GetRect() const;
    // Slot 2. True when the rectangles overlap; touching edges do not.
    virtual bool Intersects(const WidgetContainer* other) const;
    // Slot 3. Appends the widget (subject to z-order); a widget of another container is taken
    // out of it first. Not owned.
    virtual void AddWidget(Widget* widget);
    // Slot 4. Takes a child out of the list (and out of the manager); never deletes it.
    virtual void RemoveWidget(Widget* widget);
    // Slot 5.
    virtual bool ContainsChild(const Widget* widget) const;
    // Slot 6. The manager drops every reference it holds to the widget.
    virtual void ForgetWidget(Widget* widget);
    // Slot 7. Removes every child front to back; recursive first empties each child the same
    // way; remove deletes each removed child.
    virtual void RemoveAllChildren(bool deleteChildren, bool recursive);
    // Slot 8. The manager moves the keyboard focus.
    virtual void SetFocus(Widget* widget);
    // Slot 9. True when a is drawn beneath b in the manager's tree order.
    virtual bool IsDrawnBelow(const Widget* a, const Widget* b) const;
    // Slot 10. This container and every descendant dirty.
    virtual void MarkTreeDirty();
    // Slots 11 to 14. Reorder a child (subject to z-order); the widget's OnOrderChanged follows.
    virtual void BringToFront(Widget* widget);
    virtual void SendToBack(Widget* widget);
    virtual void PlaceBehind(Widget* widget, Widget* reference);
    virtual void PlaceInFront(Widget* widget, Widget* reference);
    // Slot 15. Position in the root's coordinates.
    virtual void GetScreenPos(int* x, int* y) const;
    // Slot 16. A child has changed; see the .cpp for what else must be redrawn.
    virtual void MarkDirty(Widget* child);
    // Slot 17.
    virtual void MarkDirty();
    // Slot 18. A child has changed in a way that uncovers what lies beneath it.
    virtual void MarkDirtyDeep(Widget* child);
    // Slot 19.
    virtual void MarkDirtyDeep();
    // Slots 20, 21. This container joined or left a managed tree.
    virtual void OnAttach(WidgetManager* manager);
    virtual void OnDetach(WidgetManager* manager);
    // Slot 22. Per-frame logic; the base counts the update.
    virtual void Update();
    // Slot 23.
    virtual void UpdateTree(ModalFlags* flags);
    // Slot 24.
    virtual void UpdateFraction(float fraction);
    // Slot 25.
    virtual void UpdateFractionTree(ModalFlags* flags, float fraction);
    // Slot 26. Draws this container's own content (children draw themselves).
    virtual void Draw(Graphics* g);
    // Slot 27.
    virtual void DrawTree(ModalFlags* flags, Graphics* g);
    // Slots 28, 29.
    virtual void SystemColoursChangedTree();
    virtual void SystemColoursChanged();

    const WidgetList& GetChildren() const { return children_; }
    WidgetManager* GetWidgetManager() const { return widgetManager_; }
    WidgetContainer* GetParent() const { return parent_; }
    bool IsDirty() const { return dirty_; }
    void SetDirtyFlag(bool dirty) { dirty_ = dirty; }
    int GetUpdateCount() const { return updateCount_; }
    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasAlpha() const { return hasAlpha_; }
    void SetHasAlpha(bool hasAlpha) { hasAlpha_ = hasAlpha; }
    bool GetClip() const { return clip_; }
    void SetClip(bool clip) { clip_ = clip; }
    const FlagsModifier& GetFlagsModifier() const { return flagsModifier_; }
    void SetFlagsModifier(const FlagsModifier& modifier) { flagsModifier_ = modifier; }
    int GetPriority() const { return priority_; }
    void SetPriority(int priority) { priority_ = priority; }
    int GetZOrder() const { return zOrder_; }
    // Takes effect at the next insertion or move.
    void SetZOrder(int zOrder) { zOrder_ = zOrder; }

protected:
    friend class WidgetManager;

    // Whether a (visible) sibling hides everything of the rectangle beneath it.
    static bool IsOpaqueCover(Widget* sibling, const Rect& area);
    // The position in the child list to insert a widget of the given z-order at, starting from
    // the requested position.
    WidgetList::iterator ZOrderPosition(WidgetList::iterator requested, int zOrder);
    // Takes a child out of the list (keeping an update walk valid) and puts it back in front of
    // the child before (null: at the end), subject to z-order; then its OnOrderChanged.
    void MoveChild(Widget* widget, Widget* before);
    // Unlinks a child, advancing the update walks that point at it.
    void UnlinkChild(WidgetList::iterator position);
    WidgetList::iterator FindChild(const Widget* widget);

    WidgetList children_;
    WidgetManager* widgetManager_ = nullptr;
    WidgetContainer* parent_ = nullptr;
    // One update walk over the children: its current child position and whether a removal or
    // move has already advanced it. Walks nest when an update runs a frame of its own (a modal
    // dialog's loop); a removal advances every walk that points at the child.
    struct UpdateWalk {
        WidgetList::iterator position;
        bool advanced = false;
        UpdateWalk* outer = nullptr;
    };
    UpdateWalk* updateWalk_ = nullptr;  // the innermost walk running, or null
    int lastWMUpdateCount_ = 0;
    int updateCount_ = 0;
    bool dirty_ = false;
    int x_ = 0;
    int y_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool hasAlpha_ = false;
    bool clip_ = true;
    FlagsModifier flagsModifier_;
    int priority_ = 0;
    int zOrder_ = 0;

private:
    // Walks the children (front to back) for the update traversals; update selects UpdateTree,
    // otherwise UpdateFractionTree.
    void WalkChildrenForUpdate(ModalFlags* flags, bool update, float fraction);
};

}  // namespace Tuvo
