// The widget manager: frame traversals, screen drawing with deferred overlays, hit testing,
// mouse and key routing, focus and modal widgets.
#include "framework/widgets/widget_manager.h"

#include <algorithm>

namespace Tuvo {

namespace {

struct ButtonRelease {
    int bit;
    int clickCount;
};

constexpr ButtonRelease kButtonReleases[] = {
    {kButtonBitLeft, 1},
    {kButtonBitRight, -1},
    {kButtonBitMiddle, 3},
};

int ButtonBitOf(int clickCount) {
    if (clickCount < 0) {
        return kButtonBitRight;
    }
    return clickCount == 3 ? kButtonBitMiddle : kButtonBitLeft;
}

// The chain of containers from the root down to the widget.
std::vector<const WidgetContainer*> PathFromRoot(const Widget* widget) {
    std::vector<const WidgetContainer*> path;
    for (const WidgetContainer* up = widget; up != nullptr; up = up->GetParent()) {
        path.push_back(up);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

// Counts an update frame or an input route as running for as long as it lasts: widgets
// retired meanwhile may still be on the caller's stack.
class BusyScope {
public:
    explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
    ~BusyScope() { --depth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& depth_;
};

}  // namespace

WidgetManager::WidgetManager(WidgetApplication* application) : application_(application) {
    widgetManager_ = this;
}

WidgetManager::~WidgetManager() {
    busyDepth_ = 0;
    DeleteRetiredWidgets();
    // The widgets belong to their creators; they only stop pointing at this manager.
    while (!children_.empty()) {
        Widget* child = children_.front();
        children_.pop_front();
        child->parent_ = nullptr;
        child->widgetManager_ = nullptr;
        std::vector<Widget*> pending(child->children_.begin(), child->children_.end());
        while (!pending.empty()) {
            Widget* descendant = pending.back();
            pending.pop_back();
            descendant->widgetManager_ = nullptr;
            pending.insert(pending.end(), descendant->children_.begin(),
                           descendant->children_.end());
        }
    }
}

void WidgetManager::Resize(const Rect& area) {
    x_ = area.x;
    y_ = area.y;
    width_ = area.width;
    height_ = area.height;
    MarkTreeDirty();
}

void WidgetManager::SetDrawingOffset(int x, int y) {
    drawingOffsetX_ = x;
    drawingOffsetY_ = y;
}

int WidgetManager::EffectiveFlags() const {
    return hasFocus_ ? widgetFlags_ : lostFocusModifier_.Apply(widgetFlags_);
}

ModalFlags WidgetManager::ResetModalFlags() {
    ModalFlags flags;
    flags.isOver = baseModalWidget_ == nullptr;
    flags.overFlags = EffectiveFlags();
    flags.underFlags = belowModalModifier_.Apply(flags.overFlags);
    return flags;
}

bool WidgetManager::UpdateFrame() {
    ModalFlags flags = ResetModalFlags();
    ++updateCount_;
    lastWMUpdateCount_ = updateCount_;
    {
        const BusyScope updating(busyDepth_);
        UpdateTree(&flags);
    }
    DeleteRetiredWidgets();
    return dirty_;
}

bool WidgetManager::UpdateFrameFraction(float fraction) {
    ModalFlags flags = ResetModalFlags();
    {
        const BusyScope updating(busyDepth_);
        UpdateFractionTree(&flags, fraction);
    }
    DeleteRetiredWidgets();
    return dirty_;
}

void WidgetManager::RetireWidget(Widget* widget) {
    if (widget == nullptr || std::find(retiredWidgets_.begin(), retiredWidgets_.end(), widget) !=
                                 retiredWidgets_.end()) {
        return;
    }
    if (widget->GetParent() != nullptr) {
        widget->GetParent()->RemoveWidget(widget);
    }
    retiredWidgets_.push_back(widget);
}

void WidgetManager::DeleteRetiredWidgets() {
    // Deleting one may retire others: take the list first.
    while (busyDepth_ == 0 && !retiredWidgets_.empty()) {
        const std::vector<Widget*> retired = std::move(retiredWidgets_);
        retiredWidgets_.clear();
        for (Widget* widget : retired) {
            delete widget;
        }
    }
}

bool WidgetManager::DrawScreen() {
    ModalFlags flags = ResetModalFlags();
    int dirtyCount = 0;
    for (Widget* widget : children_) {
        if (!widget->IsDirty()) {
            continue;
        }
        if (widget->IsVisible()) {
            ++dirtyCount;
        } else {
            // Nothing to draw; left dirty it would make every later frame count as drawn.
            widget->dirty_ = false;
        }
    }
    minDeferredPriority_ = kNoDeferredPriority;
    deferredOverlays_.clear();
    Graphics screen(screenImage_);
    currentGraphics_ = &screen;
    if (dirtyCount > 0) {
        Graphics offset(screen);
        offset.Translate(-drawingOffsetX_, -drawingOffsetY_);
        const bool accelerated = application_ != nullptr && application_->Is3DAccelerated();
        for (Widget* widget : children_) {
            if (widget == baseModalWidget_) {
                flags.isOver = true;
            }
            if (!widget->IsDirty() || !widget->IsVisible()) {
                continue;
            }
            Graphics widgetGraphics(offset);
            widgetGraphics.SetQuickScaling(!accelerated);
            widgetGraphics.SetSmoothSampling(accelerated);
            widgetGraphics.Translate(widget->x_, widget->y_);
            widget->DrawTree(&flags, &widgetGraphics);
            widget->dirty_ = false;
        }
    }
    DrawDeferredOverlays(kNoDeferredPriority);
    currentGraphics_ = nullptr;
    dirty_ = false;
    return dirtyCount > 0;
}

void WidgetManager::DeferOverlay(Widget* widget, int priority) {
    if (widget == nullptr) {
        return;
    }
    deferredOverlays_.emplace_back(widget, priority);
    minDeferredPriority_ = std::min(minDeferredPriority_, priority);
}

void WidgetManager::DrawDeferredOverlays(int maxPriority) {
    for (;;) {
        int nextPriority = kNoDeferredPriority;
        // By index: an overlay may defer another one while it draws.
        for (size_t i = 0; i < deferredOverlays_.size(); ++i) {
            Widget* widget = deferredOverlays_[i].first;
            const int priority = deferredOverlays_[i].second;
            if (widget == nullptr) {
                continue;
            }
            if (priority != minDeferredPriority_) {
                nextPriority = std::min(nextPriority, priority);
                continue;
            }
            deferredOverlays_[i].first = nullptr;
            if (currentGraphics_ != nullptr) {
                // The widget's place on the screen, so nested widgets draw where they are.
                int screenX = 0;
                int screenY = 0;
                widget->GetScreenPos(&screenX, &screenY);
                Graphics overlay(*currentGraphics_);
                overlay.Translate(-drawingOffsetX_, -drawingOffsetY_);
                overlay.Translate(screenX, screenY);
                widget->DrawOnTop(&overlay, priority);
            }
        }
        minDeferredPriority_ = nextPriority;
        if (nextPriority == kNoDeferredPriority) {
            deferredOverlays_.clear();
            return;
        }
        if (nextPriority >= maxPriority) {
            return;
        }
    }
}

void WidgetManager::ToLocal(const Widget* widget, int x, int y, int* localX, int* localY) {
    int screenX = 0;
    int screenY = 0;
    widget->GetScreenPos(&screenX, &screenY);
    *localX = x - screenX;
    *localY = y - screenY;
}

Widget* WidgetManager::HitTest(WidgetContainer* container, int x, int y, int flags, int* localX,
                               int* localY) {
    bool belowModal = false;
    for (auto it = container->children_.rbegin(); it != container->children_.rend(); ++it) {
        Widget* child = *it;
        int childFlags = child->flagsModifier_.Apply(flags);
        if (belowModal) {
            childFlags = belowModalModifier_.Apply(childFlags);
        }
        if ((childFlags & FlagAllowMouse) != 0 && child->IsVisible()) {
            Widget* inner =
                HitTest(child, x - child->x_, y - child->y_, childFlags, localX, localY);
            if (inner != nullptr) {
                return inner;
            }
            if (child->IsMouseVisible() && child->GetHitRect().Contains(x, y) &&
                child->HitsPoint(x - child->x_, y - child->y_)) {
                *localX = x - child->x_;
                *localY = y - child->y_;
                return child;
            }
        }
        if (child == baseModalWidget_) {
            belowModal = true;
        }
    }
    return nullptr;
}

Widget* WidgetManager::FindAnyWidgetAt(int x, int y, int* localX, int* localY) {
    int ignoredX = 0;
    int ignoredY = 0;
    return HitTest(this, x, y, EffectiveFlags(), localX != nullptr ? localX : &ignoredX,
                   localY != nullptr ? localY : &ignoredY);
}

Widget* WidgetManager::FindWidgetAt(int x, int y, int* localX, int* localY) {
    Widget* widget = FindAnyWidgetAt(x, y, localX, localY);
    if (widget != nullptr && widget->IsDisabled()) {
        return nullptr;
    }
    return widget;
}

void WidgetManager::EnterWidget(Widget* widget) {
    overWidget_ = widget;
    widget->isOver_ = true;
    widget->MouseEnter();
    // The callback may have taken the widget out of the tree.
    if (overWidget_ == widget && widget->ShowsFinger()) {
        widget->ShowHandCursor(true);
    }
}

void WidgetManager::LeaveOverWidget() {
    Widget* widget = overWidget_;
    if (widget == nullptr) {
        return;
    }
    overWidget_ = nullptr;
    widget->isOver_ = false;
    if (widget->ShowsFinger()) {
        widget->ShowHandCursor(false);
    }
    widget->MouseLeave();
}

void WidgetManager::HoverAt(int x, int y) {
    int localX = 0;
    int localY = 0;
    Widget* widget = FindWidgetAt(x, y, &localX, &localY);
    const bool samePosition = x == lastMouseX_ && y == lastMouseY_;
    lastMouseX_ = x;
    lastMouseY_ = y;
    if (widget == overWidget_ && (samePosition || widget == nullptr)) {
        return;
    }
    if (widget != overWidget_) {
        LeaveOverWidget();
        if (widget != nullptr) {
            EnterWidget(widget);
        }
    }
    if (widget != nullptr && widget == overWidget_) {
        widget->MouseMove(localX, localY);
    }
}

bool WidgetManager::MouseMove(int x, int y) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    if (downButtons_ != 0) {
        return MouseDrag(x, y);
    }
    mouseIn_ = true;
    HoverAt(x, y);
    return true;
}

bool WidgetManager::MouseDown(int x, int y, int clickCount) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    const int bit = ButtonBitOf(clickCount);
    actualDownButtons_ |= bit;
    HoverAt(x, y);
    if (popupCommandWidget_ != nullptr && !popupCommandWidget_->Contains(x, y)) {
        RemovePopupCommandWidget();
    }
    int localX = 0;
    int localY = 0;
    Widget* target = lastDownWidget_;
    if (target != nullptr) {
        ToLocal(target, x, y, &localX, &localY);
    } else {
        target = FindWidgetAt(x, y, &localX, &localY);
    }
    downButtons_ |= bit;
    lastDownButtonId_ = clickCount < 0 ? -1 : (clickCount == 3 ? 2 : 1);
    lastDownWidget_ = target;
    if (target == nullptr) {
        return true;
    }
    if (target->AcceptsFocus()) {
        SetFocus(target);
    }
    // Focus callbacks may have taken the widget out of the tree.
    if (lastDownWidget_ == target) {
        target->isDown_ = true;
        target->MouseDown(localX, localY, clickCount);
    }
    return true;
}

bool WidgetManager::MouseUp(int x, int y, int clickCount) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    const int bit = ButtonBitOf(clickCount);
    actualDownButtons_ &= ~bit;
    Widget* pressed = lastDownWidget_;
    if (pressed != nullptr && (downButtons_ & bit) != 0) {
        downButtons_ &= ~bit;
        if (downButtons_ == 0) {
            lastDownWidget_ = nullptr;
        }
        pressed->isDown_ = false;
        int localX = 0;
        int localY = 0;
        ToLocal(pressed, x, y, &localX, &localY);
        pressed->MouseUp(localX, localY, clickCount);
    } else {
        downButtons_ &= ~bit;
    }
    HoverAt(x, y);
    return true;
}

bool WidgetManager::MouseDrag(int x, int y) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    mouseIn_ = true;
    lastMouseX_ = x;
    lastMouseY_ = y;
    if (overWidget_ != nullptr && overWidget_ != lastDownWidget_) {
        LeaveOverWidget();
    }
    if (lastDownWidget_ != nullptr) {
        int localX = 0;
        int localY = 0;
        ToLocal(lastDownWidget_, x, y, &localX, &localY);
        lastDownWidget_->MouseDrag(localX, localY);
    }
    int localX = 0;
    int localY = 0;
    Widget* under = FindWidgetAt(x, y, &localX, &localY);
    if (under != nullptr && under == lastDownWidget_) {
        if (overWidget_ == nullptr) {
            EnterWidget(under);
        }
    } else {
        LeaveOverWidget();
    }
    return true;
}

bool WidgetManager::MouseLeaveWindow(int, int) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    mouseIn_ = false;
    LeaveOverWidget();
    return true;
}

bool WidgetManager::MouseWheel(int delta) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    if (focusWidget_ != nullptr) {
        focusWidget_->MouseWheel(delta);
    }
    return true;
}

bool WidgetManager::KeyChar(char character) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    if (character == kKeyTab && IsKeyDown(kKeyControl)) {
        if (defaultTabWidget_ != nullptr) {
            defaultTabWidget_->KeyChar(character);
        }
        return true;
    }
    if (focusWidget_ != nullptr) {
        focusWidget_->KeyChar(character);
    }
    return true;
}

bool WidgetManager::KeyDown(int keyCode) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    if (keyCode >= 0 && keyCode < kKeyTableSize) {
        keyDown_[keyCode] = true;
    }
    if (focusWidget_ != nullptr) {
        focusWidget_->KeyDown(keyCode);
    }
    return true;
}

bool WidgetManager::KeyUp(int keyCode) {
    lastInputUpdateCount_ = updateCount_;
    const BusyScope routing(busyDepth_);
    if (keyCode >= 0 && keyCode < kKeyTableSize) {
        keyDown_[keyCode] = false;
    }
    if (keyCode == kKeyTab && IsKeyDown(kKeyControl)) {
        return true;
    }
    if (focusWidget_ != nullptr) {
        focusWidget_->KeyUp(keyCode);
    }
    return true;
}

bool WidgetManager::IsKeyDown(int keyCode) const {
    return keyCode >= 0 && keyCode < kKeyTableSize && keyDown_[keyCode];
}

void WidgetManager::GotFocus() {
    if (hasFocus_) {
        return;
    }
    hasFocus_ = true;
    if (focusWidget_ != nullptr) {
        focusWidget_->GotFocus();
    }
}

void WidgetManager::LostFocus() {
    if (!hasFocus_) {
        return;
    }
    actualDownButtons_ = 0;
    for (int key = 0; key < kKeyTableSize; ++key) {
        if (keyDown_[key]) {
            KeyUp(key);
        }
    }
    hasFocus_ = false;
    if (focusWidget_ != nullptr) {
        focusWidget_->LostFocus();
    }
}

void WidgetManager::ReleaseButtons(Widget* widget, int buttons) {
    for (const ButtonRelease& release : kButtonReleases) {
        if ((buttons & release.bit) == 0) {
            continue;
        }
        widget->isDown_ = false;
        int localX = 0;
        int localY = 0;
        ToLocal(widget, lastMouseX_, lastMouseY_, &localX, &localY);
        widget->MouseUp(localX, localY, release.clickCount);
    }
}

void WidgetManager::ReleaseHeldButtons() {
    if (lastDownWidget_ == nullptr || downButtons_ == 0) {
        return;
    }
    Widget* pressed = lastDownWidget_;
    const int buttons = downButtons_;
    lastDownWidget_ = nullptr;
    downButtons_ = 0;
    ReleaseButtons(pressed, buttons);
}

void WidgetManager::SetFocus(Widget* widget) {
    if (widget == focusWidget_) {
        return;
    }
    Widget* old = focusWidget_;
    focusWidget_ = nullptr;
    if (old != nullptr) {
        old->LostFocus();
    }
    if (widget == nullptr || widget->widgetManager_ != this) {
        return;
    }
    focusWidget_ = widget;
    if (hasFocus_) {
        widget->GotFocus();
    }
}

void WidgetManager::ForgetWidget(Widget* widget) {
    if (widget == nullptr) {
        return;
    }
    if (widget == overWidget_) {
        LeaveOverWidget();
    }
    if (widget == lastDownWidget_) {
        const int buttons = downButtons_;
        lastDownWidget_ = nullptr;
        downButtons_ = 0;
        ReleaseButtons(widget, buttons);
    }
    if (widget == focusWidget_) {
        focusWidget_ = nullptr;
        widget->LostFocus();
    }
    if (widget == baseModalWidget_) {
        baseModalWidget_ = nullptr;
    }
    if (widget == defaultTabWidget_) {
        defaultTabWidget_ = nullptr;
    }
    for (auto& overlay : deferredOverlays_) {
        if (overlay.first == widget) {
            overlay.first = nullptr;
        }
    }
}

void WidgetManager::DetachWidget(Widget* widget) {
    const std::vector<Widget*> children(widget->children_.begin(), widget->children_.end());
    for (Widget* child : children) {
        if (child->widgetManager_ == this) {
            DetachWidget(child);
        }
    }
    ForgetWidget(widget);
    for (PreModalRecord& record : preModalRecords_) {
        if (record.previousBaseModal == widget) {
            record.previousBaseModal = nullptr;
        }
        if (record.previousFocus == widget) {
            record.previousFocus = nullptr;
        }
    }
    widget->OnDetach(this);
    if (popupCommandWidget_ == widget) {
        popupCommandWidget_ = nullptr;
    }
    widget->MarkDirtyDeep();
    widget->widgetManager_ = nullptr;
}

bool WidgetManager::IsDrawnBelow(const Widget* a, const Widget* b) const {
    if (a == nullptr || b == nullptr || a == b) {
        return false;
    }
    const std::vector<const WidgetContainer*> pathA = PathFromRoot(a);
    const std::vector<const WidgetContainer*> pathB = PathFromRoot(b);
    if (pathA.front() != this || pathB.front() != this) {
        return false;
    }
    size_t common = 0;
    while (common < pathA.size() && common < pathB.size() && pathA[common] == pathB[common]) {
        ++common;
    }
    // A parent draws before (beneath) its children.
    if (common == pathA.size()) {
        return true;
    }
    if (common == pathB.size()) {
        return false;
    }
    for (const Widget* child : pathA[common - 1]->GetChildren()) {
        if (child == pathA[common]) {
            return true;
        }
        if (child == pathB[common]) {
            return false;
        }
    }
    return false;
}

void WidgetManager::SetModalRoot(Widget* widget, const FlagsModifier& modifier) {
    baseModalWidget_ = widget;
    belowModalModifier_ = modifier;
    if (widget == nullptr) {
        return;
    }
    if ((modifier.removeFlags & FlagAllowMouse) != 0) {
        if (overWidget_ != nullptr && IsDrawnBelow(overWidget_, widget)) {
            LeaveOverWidget();
        }
        if (lastDownWidget_ != nullptr && IsDrawnBelow(lastDownWidget_, widget)) {
            Widget* pressed = lastDownWidget_;
            const int buttons = downButtons_;
            lastDownWidget_ = nullptr;
            downButtons_ = 0;
            ReleaseButtons(pressed, buttons);
        }
    }
    if ((modifier.removeFlags & FlagAllowFocus) != 0 && focusWidget_ != nullptr &&
        IsDrawnBelow(focusWidget_, widget)) {
        Widget* focus = focusWidget_;
        focusWidget_ = nullptr;
        focus->LostFocus();
    }
}

void WidgetManager::PushModal(Widget* widget) {
    PushModal(widget, defaultBelowModalModifier_);
}

void WidgetManager::PushModal(Widget* widget, const FlagsModifier& belowModalModifier) {
    preModalRecords_.push_back({widget, baseModalWidget_, focusWidget_, belowModalModifier_});
    SetModalRoot(widget, belowModalModifier);
}

void WidgetManager::PopModal(Widget* widget) {
    if (preModalRecords_.empty() || preModalRecords_.back().modalWidget != widget) {
        return;
    }
    // Records whose previous modal widget has gone are popped as well.
    while (!preModalRecords_.empty()) {
        const PreModalRecord record = preModalRecords_.back();
        preModalRecords_.pop_back();
        SetModalRoot(record.previousBaseModal, record.previousBelowModalModifier);
        if (focusWidget_ == nullptr && record.previousFocus != nullptr &&
            record.previousFocus->widgetManager_ == this) {
            focusWidget_ = record.previousFocus;
            focusWidget_->GotFocus();
        }
        if (baseModalWidget_ != nullptr) {
            return;
        }
    }
}

void WidgetManager::SetPopupCommandWidget(Widget* widget) {
    RemovePopupCommandWidget();
    popupCommandWidget_ = widget;
    AddWidget(widget);
}

void WidgetManager::RemovePopupCommandWidget() {
    Widget* popup = popupCommandWidget_;
    if (popup == nullptr) {
        return;
    }
    popupCommandWidget_ = nullptr;
    RemoveWidget(popup);
}

void WidgetManager::RecheckMouse() {
    if (lastDownWidget_ == nullptr) {
        if (mouseIn_) {
            HoverAt(lastMouseX_, lastMouseY_);
        }
        return;
    }
    if (overWidget_ != nullptr) {
        int localX = 0;
        int localY = 0;
        if (FindWidgetAt(lastMouseX_, lastMouseY_, &localX, &localY) != lastDownWidget_) {
            LeaveOverWidget();
        }
    }
}

}  // namespace Tuvo
