// A widget: a container with visibility, input flags, colours, focus, hover and press state,
// the input callbacks the widget manager calls, and text helpers that work with any font.
#pragma once

#include <string>
#include <vector>

#include "framework/graphics/color.h"
#include "framework/graphics/font.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/rect.h"
#include "framework/widgets/widget_container.h"

namespace Tuvo {

// Label and text justification: 0 centred, 1 right-aligned, anything else left-aligned.
inline constexpr int kJustifyCentre = 0;
inline constexpr int kJustifyRight = 1;
inline constexpr int kJustifyLeft = -1;

// Mouse button numbers of the four-argument MouseDown and MouseUp.
inline constexpr int kMouseButtonLeft = 0;
inline constexpr int kMouseButtonRight = 1;
inline constexpr int kMouseButtonMiddle = 2;

// Key codes the widgets look at.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyControl = 17;

class Widget : public WidgetContainer {
public:
    Widget();
    // Leaves its parent and lets go of its children (which are not deleted).
    ~Widget() override;

    // Slot 30.
    virtual void OnOrderChanged();
    // Slot 31.
    virtual void SetVisible(bool visible);
    // Slots 32, 33. Replace the colours with count rows of (r, g, b, a) or (r, g, b).
    virtual void SetColourTable(const int (*table)[4], int count);
    virtual void SetColourTable(const int (*table)[3], int count);
    // Slot 34. Grows the colours with opaque black as needed.
    virtual void SetColor(int index, const Color& color);
    // Slot 35. The fallback when index is past the end.
    virtual const Color& GetColor(int index, const Color& fallback) const;
    // Slot 36. Opaque black when index is past the end.
    virtual const Color& GetColor(int index) const;
    // Slot 37.
    virtual void SetDisabled(bool disabled);
    // Slot 38. Asks the application for the hand cursor (true) or the arrow (false).
    virtual void ShowHandCursor(bool show);
    // Slots 39 to 41.
    virtual void Resize(const Rect& rect);
    virtual void Resize(int x, int y, int width, int height);
    virtual void Move(int x, int y);
    // Slot 42.
    virtual bool AcceptsFocus();
    // Slots 43, 44. Drawing above everything else, deferred through the manager.
    virtual void DrawOnTop(Graphics* g, int priority);
    virtual void DrawOnTop(Graphics* g);
    // Slots 45 to 49. Keyboard.
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void KeyChar(char character);
    virtual void KeyDown(int keyCode);
    virtual void KeyUp(int keyCode);
    // Slots 50 to 59. Mouse. Click counts: positive left (1, 2), negative right (-1, -2), 3
    // middle; the four-argument forms get a button number and a positive count.
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseMove(int x, int y);
    virtual void MouseDown(int x, int y, int button, int clickCount);
    virtual void MouseDown(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y, int button, int clickCount);
    virtual void MouseUp(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y);
    virtual void MouseDrag(int x, int y);
    virtual void MouseWheel(int delta);
    // Slot 60. Whether the local point is part of the widget (widgets with holes say no).
    virtual bool HitsPoint(int x, int y);
    // Slots 61, 62. Text centred across the widget on baseline y in the context's font;
    // returns the text's rectangle (x, y - ascent, width, font height).
    virtual Rect DrawCentredLine(Graphics* g, int y, const std::string& text, const Color& color,
                                 const Color& shadowColor, int shadowOffset);
    virtual Rect DrawCentredLine(Graphics* g, int y, const std::string& text);
    // Slot 63. Draws (when draw is set) length characters from offset (-1: to the end) on
    // baseline y, justified within width from x; returns the text's width.
    virtual int DrawStringAligned(Graphics* g, const std::string& text, int x, int y, int width,
                                  int justification, bool draw = true, int offset = 0,
                                  int length = -1);
    // Slot 64. Word-wraps text into the rectangle's width (0 or less: no wrapping) from its top,
    // lines lineSpacing apart; returns the height of the text.
    virtual int DrawWrappedText(Graphics* g, const Rect& rect, const std::string& text,
                                int lineSpacing, int justification);
    // Slot 65. The height DrawWrappedText would return.
    virtual int MeasureWrappedHeight(Graphics* g, int width, const std::string& text,
                                     int lineSpacing);
    // Slot 66.
    virtual int CountDigits(int number);
    // Slot 67. Each decimal digit of number (below 0 is drawn as 0) as one tenth of the strip.
    virtual void DrawDigitStrip(Graphics* g, int number, int x, int y, Image* strip, int spacing);
    // Slot 68. In the parent's coordinates.
    virtual bool Contains(int x, int y);
    // Slot 69. The rectangle shrunk by the mouse insets.
    virtual Rect GetHitRect();

    bool IsVisible() const { return visible_; }
    bool IsMouseVisible() const { return mouseVisible_; }
    void SetMouseVisible(bool mouseVisible) { mouseVisible_ = mouseVisible; }
    bool IsDisabled() const { return disabled_; }
    bool HasFocus() const { return hasFocus_; }
    bool IsDown() const { return isDown_; }
    bool IsOver() const { return isOver_; }
    bool HasTransparencies() const { return hasTransparencies_; }
    void SetHasTransparencies(bool has) { hasTransparencies_ = has; }
    int ColorCount() const { return static_cast<int>(colors_.size()); }
    void SetMouseInsets(int left, int top, int right, int bottom);
    bool ShowsFinger() const { return showFinger_; }
    void SetShowFinger(bool show) { showFinger_ = show; }
    void SetWantsFocus(bool wants) { wantsFocus_ = wants; }
    Widget* GetTabPrevious() const { return tabPrevious_; }
    Widget* GetTabNext() const { return tabNext_; }
    void SetTabPrevious(Widget* widget) { tabPrevious_ = widget; }
    void SetTabNext(Widget* widget) { tabNext_ = widget; }

    // The coloured-text flag that the text helpers draw with.
    static void SetDefaultColoredText(bool colored);
    static bool GetDefaultColoredText();

protected:
    friend class WidgetManager;

    // Draws one line of text justified within [x, x + width) on baseline y.
    void DrawJustifiedLine(Graphics* g, const std::string& line, int x, int y, int width,
                           int justification);

    bool visible_ = true;
    bool mouseVisible_ = true;
    bool disabled_ = false;
    bool hasFocus_ = false;
    bool isDown_ = false;
    bool isOver_ = false;
    bool hasTransparencies_ = false;
    std::vector<Color> colors_;
    int mouseInsetLeft_ = 0;
    int mouseInsetTop_ = 0;
    int mouseInsetRight_ = 0;
    int mouseInsetBottom_ = 0;
    bool showFinger_ = false;
    bool wantsFocus_ = false;
    Widget* tabPrevious_ = nullptr;
    Widget* tabNext_ = nullptr;
};

// Splits text into the lines that fit width in font (0 or less: only at line breaks). Lines
// break at spaces; a word wider than the width is broken between characters.
std::vector<std::string> WrapTextLines(Font* font, const std::string& text, int width);

}  // namespace Tuvo
