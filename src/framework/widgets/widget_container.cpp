// The widget tree's container: child order, dirty marking and the traversals.
#include "framework/widgets/widget_container.h"

#include <iterator>

#include "framework/widgets/widget.h"
#include "framework/widgets/widget_manager.h"

namespace Tuvo {

WidgetContainer::WidgetContainer() = default;

WidgetContainer::~WidgetContainer() {
    // Widget and WidgetManager take their children out properly; this only makes sure no child
    // keeps a pointer to a container that is gone.
    for (Widget* child : children_) {
        child->parent_ = nullptr;
    }
}

Rect WidgetContainer::GetRect() const {
    return Rect(x_, y_, width_, height_);
}

bool WidgetContainer::Intersects(const WidgetContainer* other) const {
    if (other == nullptr) {
        return false;
    }
    return !GetRect().Intersection(other->GetRect()).IsEmpty();
}

WidgetList::iterator WidgetContainer::FindChild(const Widget* widget) {
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (*it == widget) {
            return it;
        }
    }
    return children_.end();
}

bool WidgetContainer::ContainsChild(const Widget* widget) const {
    for (const Widget* child : children_) {
        if (child == widget) {
            return true;
        }
    }
    return false;
}

WidgetList::iterator WidgetContainer::ZOrderPosition(WidgetList::iterator requested, int zOrder) {
    // Forward past lower z-orders, backward past higher ones: equal z-orders keep the requested
    // place.
    while (requested != children_.end() && (*requested)->zOrder_ < zOrder) {
        ++requested;
    }
    while (requested != children_.begin() && (*std::prev(requested))->zOrder_ > zOrder) {
        --requested;
    }
    return requested;
}

void WidgetContainer::UnlinkChild(WidgetList::iterator position) {
    for (UpdateWalk* walk = updateWalk_; walk != nullptr; walk = walk->outer) {
        if (walk->position == position) {
            ++walk->position;
            walk->advanced = true;
        }
    }
    children_.erase(position);
}

void WidgetContainer::AddWidget(Widget* widget) {
    if (widget == nullptr || ContainsChild(widget)) {
        return;
    }
    // A container cannot hold one of its own ancestors (or itself).
    for (const WidgetContainer* up = this; up != nullptr; up = up->parent_) {
        if (up == widget) {
            return;
        }
    }
    if (widget->parent_ != nullptr) {
        widget->parent_->RemoveWidget(widget);
    }
    children_.insert(ZOrderPosition(children_.end(), widget->zOrder_), widget);
    widget->widgetManager_ = widgetManager_;
    widget->parent_ = this;
    if (widgetManager_ != nullptr) {
        widget->OnAttach(widgetManager_);
        widget->MarkDirtyDeep();
        widgetManager_->RecheckMouse();
    }
    MarkDirty();
}

void WidgetContainer::RemoveWidget(Widget* widget) {
    if (FindChild(widget) == children_.end()) {
        return;
    }
    if (widget->widgetManager_ != nullptr) {
        widget->widgetManager_->DetachWidget(widget);
    }
    widget->parent_ = nullptr;
    // Detaching runs callbacks that may change the list; look the widget up again.
    const auto position = FindChild(widget);
    if (position != children_.end()) {
        UnlinkChild(position);
    }
}

void WidgetContainer::ForgetWidget(Widget*) {}

void WidgetContainer::RemoveAllChildren(bool deleteChildren, bool recursive) {
    while (!children_.empty()) {
        Widget* child = children_.front();
        if (recursive) {
            child->RemoveAllChildren(deleteChildren, true);
        }
        RemoveWidget(child);
        if (deleteChildren) {
            delete child;
        }
    }
}

void WidgetContainer::SetFocus(Widget*) {}

bool WidgetContainer::IsDrawnBelow(const Widget* a, const Widget* b) const {
    return widgetManager_ != nullptr && widgetManager_ != this &&
           widgetManager_->IsDrawnBelow(a, b);
}

void WidgetContainer::MarkTreeDirty() {
    MarkDirty();
    for (Widget* child : children_) {
        child->MarkTreeDirty();
    }
}

void WidgetContainer::MoveChild(Widget* widget, Widget* before) {
    auto position = FindChild(widget);
    if (position == children_.end()) {
        return;
    }
    if (before == widget) {
        const auto next = std::next(position);
        before = next == children_.end() ? nullptr : *next;
    }
    UnlinkChild(position);
    auto requested = before != nullptr ? FindChild(before) : children_.end();
    children_.insert(ZOrderPosition(requested, widget->zOrder_), widget);
    widget->OnOrderChanged();
}

void WidgetContainer::BringToFront(Widget* widget) {
    MoveChild(widget, nullptr);
}

void WidgetContainer::SendToBack(Widget* widget) {
    if (!children_.empty()) {
        MoveChild(widget, children_.front());
    }
}

void WidgetContainer::PlaceBehind(Widget* widget, Widget* reference) {
    if (widget == reference || !ContainsChild(reference)) {
        return;
    }
    MoveChild(widget, reference);
}

void WidgetContainer::PlaceInFront(Widget* widget, Widget* reference) {
    if (widget == reference) {
        return;
    }
    auto position = FindChild(reference);
    if (position == children_.end()) {
        return;
    }
    const auto next = std::next(position);
    MoveChild(widget, next == children_.end() ? nullptr : *next);
}

void WidgetContainer::GetScreenPos(int* x, int* y) const {
    int parentX = 0;
    int parentY = 0;
    if (parent_ != nullptr) {
        parent_->GetScreenPos(&parentX, &parentY);
    }
    *x = parentX + x_;
    *y = parentY + y_;
}

bool WidgetContainer::IsOpaqueCover(Widget* sibling, const Rect& area) {
    if (sibling->HasAlpha() || sibling->HasTransparencies() || area.IsEmpty()) {
        return false;
    }
    return sibling->Contains(area.x, area.y) &&
           sibling->Contains(area.x + area.width - 1, area.y + area.height - 1);
}

void WidgetContainer::MarkDirty(Widget* child) {
    if (child->dirty_) {
        return;
    }
    MarkDirty();
    child->dirty_ = true;
    if (parent_ != nullptr) {
        return;
    }
    if (child->HasAlpha()) {
        MarkDirtyDeep(child);
        return;
    }
    // What lies on top of the child must be redrawn after it.
    auto position = FindChild(child);
    if (position == children_.end()) {
        return;
    }
    for (auto it = std::next(position); it != children_.end(); ++it) {
        Widget* sibling = *it;
        if (sibling->IsVisible() && sibling->Intersects(child)) {
            MarkDirty(sibling);
        }
    }
}

void WidgetContainer::MarkDirty() {
    if (parent_ != nullptr) {
        parent_->MarkDirty(static_cast<Widget*>(this));
    } else {
        dirty_ = true;
    }
}

void WidgetContainer::MarkDirtyDeep(Widget* child) {
    MarkDirtyDeep();
    child->dirty_ = true;
    if (parent_ != nullptr) {
        return;
    }
    auto position = FindChild(child);
    if (position == children_.end()) {
        return;
    }
    // Beneath the child: redraw what shows through, down to the first opaque widget that
    // covers the child's whole (on-screen) area.
    const Rect area = child->GetRect().Intersection(Rect(0, 0, width_, height_));
    for (auto it = position; it != children_.begin();) {
        --it;
        Widget* sibling = *it;
        if (!sibling->IsVisible()) {
            continue;
        }
        if (IsOpaqueCover(sibling, area)) {
            MarkDirty(sibling);
            break;
        }
        if (sibling->Intersects(child)) {
            MarkDirty(sibling);
        }
    }
    for (auto it = position; it != children_.end(); ++it) {
        Widget* widget = *it;
        if (widget->IsVisible() && widget->Intersects(child)) {
            MarkDirty(widget);
        }
    }
}

void WidgetContainer::MarkDirtyDeep() {
    if (parent_ != nullptr) {
        parent_->MarkDirtyDeep(static_cast<Widget*>(this));
    } else {
        dirty_ = true;
    }
}

void WidgetContainer::OnAttach(WidgetManager* manager) {
    for (Widget* child : children_) {
        child->widgetManager_ = manager;
        child->OnAttach(manager);
    }
    MarkDirty();
}

void WidgetContainer::OnDetach(WidgetManager* manager) {
    for (Widget* child : children_) {
        // Children detached one by one beforehand (WidgetManager::DetachWidget) are skipped.
        if (child->widgetManager_ == nullptr) {
            continue;
        }
        if (manager != nullptr) {
            manager->ForgetWidget(child);
        }
        child->OnDetach(manager);
        child->widgetManager_ = nullptr;
    }
    if (manager != nullptr && manager->GetPopupCommandWidget() == this) {
        manager->ClearPopupCommandWidget();
    }
}

void WidgetContainer::Update() {
    ++updateCount_;
}

void WidgetContainer::WalkChildrenForUpdate(ModalFlags* flags, bool update, float fraction) {
    // A child may remove itself or a sibling (or move it) while it runs: the removal advances
    // the walk and marks it advanced, and the walk then does not advance again. A frame started
    // from a child's update walks the children with its own record, leaving this one intact.
    UpdateWalk walk{children_.begin(), false, updateWalk_};
    updateWalk_ = &walk;
    while (walk.position != children_.end()) {
        Widget* child = *walk.position;
        if (widgetManager_ != nullptr && child == widgetManager_->GetBaseModalWidget()) {
            flags->isOver = true;
        }
        if (update) {
            child->UpdateTree(flags);
        } else {
            child->UpdateFractionTree(flags, fraction);
        }
        if (walk.advanced) {
            walk.advanced = false;
        } else {
            ++walk.position;
        }
    }
    updateWalk_ = walk.outer;
}

void WidgetContainer::UpdateTree(ModalFlags* flags) {
    const ModalFlags saved = *flags;
    flags->Apply(flagsModifier_);
    const int effective = flags->GetFlags();
    if ((effective & FlagMarkDirty) != 0) {
        MarkDirty();
    }
    // At most one Update per manager frame, however often the tree is walked.
    if (widgetManager_ != nullptr && (effective & FlagUpdate) != 0 &&
        lastWMUpdateCount_ != widgetManager_->updateCount_) {
        lastWMUpdateCount_ = widgetManager_->updateCount_;
        Update();
    }
    WalkChildrenForUpdate(flags, true, 0.0f);
    *flags = saved;
}

void WidgetContainer::UpdateFraction(float) {}

void WidgetContainer::UpdateFractionTree(ModalFlags* flags, float fraction) {
    const ModalFlags saved = *flags;
    flags->Apply(flagsModifier_);
    const int effective = flags->GetFlags();
    if ((effective & FlagMarkDirty) != 0) {
        MarkDirty();
    }
    if (widgetManager_ != nullptr && (effective & FlagUpdate) != 0) {
        UpdateFraction(fraction);
    }
    WalkChildrenForUpdate(flags, false, fraction);
    *flags = saved;
}

void WidgetContainer::Draw(Graphics*) {}

void WidgetContainer::DrawTree(ModalFlags* flags, Graphics* g) {
    if (widgetManager_ != nullptr && priority_ > widgetManager_->GetMinDeferredPriority()) {
        widgetManager_->DrawDeferredOverlays(priority_);
    }
    const ModalFlags saved = *flags;
    flags->Apply(flagsModifier_);
    const int effective = flags->GetFlags();
    if (clip_ && (effective & FlagClip) != 0) {
        g->ClipRect(0, 0, width_, height_);
    }
    if (children_.empty()) {
        if ((effective & FlagDraw) != 0) {
            Draw(g);
        }
        *flags = saved;
        return;
    }
    if ((effective & FlagDraw) != 0) {
        g->SaveState();
        Draw(g);
        g->RestoreState();
    }
    for (Widget* child : children_) {
        if (widgetManager_ != nullptr && child == widgetManager_->GetBaseModalWidget()) {
            flags->isOver = true;
        }
        if (child->IsVisible()) {
            Graphics childGraphics(*g);
            childGraphics.Translate(child->x_, child->y_);
            child->DrawTree(flags, &childGraphics);
        }
        // A hidden child has nothing to draw: it is clean too, so that showing it marks again.
        child->dirty_ = false;
    }
    *flags = saved;
}

void WidgetContainer::SystemColoursChangedTree() {
    SystemColoursChanged();
    for (Widget* child : children_) {
        child->SystemColoursChangedTree();
    }
}

void WidgetContainer::SystemColoursChanged() {}

}  // namespace Tuvo
