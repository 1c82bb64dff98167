// The root of the widget tree, owned by the application: turns each frame's update and draw
// into tree traversals, routes mouse and keyboard input, tracks focus, hover and the pressed
// widget, and implements modal widgets that block everything beneath them.
#pragma once

#include <utility>
#include <vector>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/widgets/widget.h"
#include "framework/widgets/widget_application.h"
#include "framework/widgets/widget_container.h"
#include "framework/widgets/widget_flags.h"

namespace Tuvo {

// Mouse button bits of the down-button sets.
inline constexpr int kButtonBitLeft = 1;
inline constexpr int kButtonBitRight = 2;
inline constexpr int kButtonBitMiddle = 4;

inline constexpr int kKeyTableSize = 255;
inline constexpr int kNoDeferredPriority = 2147483647;

// What a modal push replaced, restored when the modal widget is popped.
struct PreModalRecord {
    Widget* modalWidget = nullptr;
    Widget* previousBaseModal = nullptr;
    Widget* previousFocus = nullptr;
    FlagsModifier previousBelowModalModifier;
};

class WidgetManager : public WidgetContainer {
public:
    // The application (not owned, may be null) gets cursor and display requests.
    explicit WidgetManager(WidgetApplication* application);
    // Lets go of the remaining widgets without deleting them.
    ~WidgetManager() override;

    WidgetApplication* GetApplication() const { return application_; }
    // The image DrawScreen draws into (not owned).
    void SetScreenImage(Image* image) { screenImage_ = image; }
    Image* GetScreenImage() const { return screenImage_; }
    // The manager's area (its width and height bound dialog dragging); marks the tree dirty.
    void Resize(const Rect& area);
    // Subtracted from every widget position when drawing the screen.
    void SetDrawingOffset(int x, int y);

    // One fixed update of the tree; returns whether the root is dirty. A frame may run inside
    // another (an update that runs a modal dialog's loop); the widgets retired meanwhile are
    // deleted when the outermost frame ends.
    bool UpdateFrame();
    // One fractional update of the tree; returns whether the root is dirty.
    bool UpdateFrameFraction(float fraction);
    // Takes a widget out of the tree now and deletes it once no update frame or input route is
    // running, so a listener may get rid of a widget (its own button, its dialog) from inside
    // an update or an input callback. The manager owns it from here on; retiring it twice is
    // harmless.
    void RetireWidget(Widget* widget);
    // Deletes the retired widgets, unless a frame or an input route is running (the frames
    // call it when they end).
    void DeleteRetiredWidgets();
    int GetRetiredCount() const { return static_cast<int>(retiredWidgets_.size()); }
    // Redraws the dirty top-level widgets (each with its whole subtree) and the deferred
    // overlays; returns whether anything was drawn.
    bool DrawScreen();
    // The context of the screen draw in progress, or null.
    Graphics* GetCurrentGraphics() const { return currentGraphics_; }
    // Asks for the widget's DrawOnTop(priority) after the widgets of lower priority have drawn.
    void DeferOverlay(Widget* widget, int priority);
    void DrawDeferredOverlays(int maxPriority);
    int GetMinDeferredPriority() const { return minDeferredPriority_; }

    // Input from the application; the mouse and key operations return true.
    bool MouseMove(int x, int y);
    bool MouseDown(int x, int y, int clickCount);
    bool MouseUp(int x, int y, int clickCount);
    bool MouseDrag(int x, int y);
    bool MouseLeaveWindow(int x, int y);
    bool MouseWheel(int delta);
    bool KeyChar(char character);
    bool KeyDown(int keyCode);
    bool KeyUp(int keyCode);
    // The application window got or lost the keyboard focus.
    void GotFocus();
    void LostFocus();
    bool HasFocus() const { return hasFocus_; }
    // Releases the mouse buttons a pressed widget still holds.
    void ReleaseHeldButtons();
    bool IsKeyDown(int keyCode) const;

    void SetFocus(Widget* widget) override;
    void ForgetWidget(Widget* widget) override;
    bool IsDrawnBelow(const Widget* a, const Widget* b) const override;

    // Makes the widget the base modal widget; the widgets beneath it get the below-modal
    // modifier (by default: no mouse, no focus).
    void PushModal(Widget* widget);
    void PushModal(Widget* widget, const FlagsModifier& belowModalModifier);
    // Undoes the push of the widget, if it is the latest one.
    void PopModal(Widget* widget);

    // The enabled widget under the point (root coordinates), with the point in its
    // coordinates; null when none or when the widget there is disabled.
    Widget* FindWidgetAt(int x, int y, int* localX, int* localY);
    // The same, disabled widgets included.
    Widget* FindAnyWidgetAt(int x, int y, int* localX, int* localY);

    // A popup (a menu) that a click outside it removes; added as a child.
    void SetPopupCommandWidget(Widget* widget);
    void RemovePopupCommandWidget();
    Widget* GetPopupCommandWidget() const { return popupCommandWidget_; }
    void ClearPopupCommandWidget() { popupCommandWidget_ = nullptr; }

    void SetDefaultTabWidget(Widget* widget) { defaultTabWidget_ = widget; }
    Widget* GetFocusWidget() const { return focusWidget_; }
    Widget* GetOverWidget() const { return overWidget_; }
    Widget* GetPressedWidget() const { return lastDownWidget_; }
    Widget* GetBaseModalWidget() const { return baseModalWidget_; }
    const std::vector<PreModalRecord>& GetPreModalRecords() const { return preModalRecords_; }
    void SetLostFocusModifier(const FlagsModifier& modifier) { lostFocusModifier_ = modifier; }
    const FlagsModifier& GetDefaultBelowModalModifier() const { return defaultBelowModalModifier_; }
    bool IsMouseIn() const { return mouseIn_; }
    int GetLastMouseX() const { return lastMouseX_; }
    int GetLastMouseY() const { return lastMouseY_; }
    int GetDownButtons() const { return downButtons_; }
    int GetActualDownButtons() const { return actualDownButtons_; }
    int GetLastDownButtonId() const { return lastDownButtonId_; }
    int GetLastInputUpdateCount() const { return lastInputUpdateCount_; }
    int GetWidgetFlags() const { return widgetFlags_; }
    void SetWidgetFlags(int flags) { widgetFlags_ = flags; }

    // After a widget is added, moved, resized, shown or hidden: hover follows what now lies
    // under the still mouse pointer.
    void RecheckMouse();
    // Takes a widget leaving the tree out of every reference the manager holds, its children
    // first, and calls its OnDetach.
    void DetachWidget(Widget* widget);

private:
    int EffectiveFlags() const;
    ModalFlags ResetModalFlags();
    void SetModalRoot(Widget* widget, const FlagsModifier& modifier);
    Widget* HitTest(WidgetContainer* container, int x, int y, int flags, int* localX, int* localY);
    // Hover: finds the widget under the point, moves the hover to it, sends it MouseMove.
    void HoverAt(int x, int y);
    void EnterWidget(Widget* widget);
    void LeaveOverWidget();
    // MouseUp of each held button (bits) to the widget, at the last mouse position.
    void ReleaseButtons(Widget* widget, int buttons);
    // The point (root coordinates) in the widget's own coordinates.
    static void ToLocal(const Widget* widget, int x, int y, int* localX, int* localY);

    Widget* defaultTabWidget_ = nullptr;
    Graphics* currentGraphics_ = nullptr;
    WidgetApplication* application_ = nullptr;
    Image* screenImage_ = nullptr;
    Widget* popupCommandWidget_ = nullptr;
    std::vector<std::pair<Widget*, int>> deferredOverlays_;
    int minDeferredPriority_ = kNoDeferredPriority;
    bool hasFocus_ = true;
    Widget* focusWidget_ = nullptr;
    Widget* lastDownWidget_ = nullptr;
    Widget* overWidget_ = nullptr;
    Widget* baseModalWidget_ = nullptr;
    FlagsModifier lostFocusModifier_;
    FlagsModifier belowModalModifier_;
    FlagsModifier defaultBelowModalModifier_{0, FlagAllowMouse | FlagAllowFocus};
    std::vector<PreModalRecord> preModalRecords_;
    int drawingOffsetX_ = 0;
    int drawingOffsetY_ = 0;
    bool mouseIn_ = false;
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
    int downButtons_ = 0;
    int actualDownButtons_ = 0;
    int lastInputUpdateCount_ = 0;
    bool keyDown_[kKeyTableSize] = {};
    int lastDownButtonId_ = 0;
    int widgetFlags_ = FlagUpdate | FlagDraw | FlagClip | FlagAllowMouse | FlagAllowFocus;
    int busyDepth_ = 0;  // update frames and input routes running, nested ones included
    std::vector<Widget*> retiredWidgets_;
};

}  // namespace Tuvo
