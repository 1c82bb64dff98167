// The framework's push button: drawn as a bevelled rectangle in its colours or from images
// (normal, over, down, disabled; each its own image or a rectangle of the button image), with a
// label, a hover image that fades in and out, and press, release, held and hover events for a
// ButtonListener under the button's id.
#pragma once

#include <memory>
#include <string>

#include "framework/graphics/font.h"
#include "framework/graphics/image.h"
#include "framework/graphics/rect.h"
#include "framework/widgets/button_listener.h"
#include "framework/widgets/widget.h"

namespace Tuvo {

class ButtonWidget : public Widget {
public:
    // Colour indices.
    static constexpr int kColorLabel = 0;
    static constexpr int kColorLabelHover = 1;
    static constexpr int kColorDarkOutline = 2;
    static constexpr int kColorLightOutline = 3;
    static constexpr int kColorMediumOutline = 4;
    static constexpr int kColorBackground = 5;

    // The listener is not owned and may be null.
    ButtonWidget(int id, ButtonListener* listener);
    ~ButtonWidget() override;

    // Slot 70. A rectangle of zero width draws the image at (x, y); otherwise that rectangle of
    // the button image.
    virtual void DrawFaceImage(Graphics* g, Image* image, const Rect& rect, int x, int y);
    // Slot 71. Keeps a duplicate of the font (null clears it).
    virtual void SetFont(Font* font);
    // Slot 72. Held down with the mouse over it, and enabled.
    virtual bool IsButtonDown();

    void Draw(Graphics* g) override;
    void Update() override;
    void SetDisabled(bool disabled) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    using Widget::MouseDown;
    using Widget::MouseUp;

    int GetId() const { return id_; }
    const std::string& GetLabel() const { return label_; }
    void SetLabel(const std::string& label);
    void SetLabelJustification(int justification) { labelJustification_ = justification; }
    Font* GetFont() const { return font_.get(); }
    void SetButtonImage(Image* image) { buttonImage_ = image; }
    void SetOverImage(Image* image) { overImage_ = image; }
    void SetDownImage(Image* image) { downImage_ = image; }
    void SetDisabledImage(Image* image) { disabledImage_ = image; }
    void SetNormalRect(const Rect& rect) { normalRect_ = rect; }
    void SetOverRect(const Rect& rect) { overRect_ = rect; }
    void SetDownRect(const Rect& rect) { downRect_ = rect; }
    void SetDisabledRect(const Rect& rect) { disabledRect_ = rect; }
    void SetInverted(bool inverted) { inverted_ = inverted; }
    void SetNoDraw(bool noDraw) { noDraw_ = noDraw; }
    void SetNoFrame(bool noFrame) { noFrame_ = noFrame; }
    void SetListener(ButtonListener* listener) { listener_ = listener; }
    double GetOverAlpha() const { return overAlpha_; }
    void SetOverAlpha(double alpha) { overAlpha_ = alpha; }
    // Per update; 0 switches the fade off.
    void SetOverAlphaSpeeds(double fadeIn, double fadeOut);

    bool HasNormalState() const { return buttonImage_ != nullptr || normalRect_.width != 0; }
    bool HasOverState() const { return overImage_ != nullptr || overRect_.width != 0; }
    bool HasDownState() const { return downImage_ != nullptr || downRect_.width != 0; }
    bool HasDisabledState() const { return disabledImage_ != nullptr || disabledRect_.width != 0; }

protected:
    // Creates the system font of the given size when the button has none.
    void EnsureFont(int pointSize);
    // The label's top-left-of-baseline position for the current font.
    int LabelX() const;
    void DrawLabel(Graphics* g, int x, int y, int colorIndex);
    // Whether a hover change shows: not when nothing but the label colour would change and the
    // two label colours are equal.
    bool HoverChangeShows();
    void DrawColored(Graphics* g, bool sunken, int labelX, int labelY);
    void DrawFromImages(Graphics* g, bool sunken, int labelX, int labelY);

    int id_ = 0;
    std::string label_;
    int labelJustification_ = kJustifyCentre;
    std::unique_ptr<Font> font_;
    Image* buttonImage_ = nullptr;
    Image* overImage_ = nullptr;
    Image* downImage_ = nullptr;
    Image* disabledImage_ = nullptr;
    Rect normalRect_;
    Rect overRect_;
    Rect downRect_;
    Rect disabledRect_;
    bool inverted_ = false;
    bool noDraw_ = false;
    bool noFrame_ = false;
    ButtonListener* listener_ = nullptr;
    double overAlpha_ = 0.0;
    double overAlphaFadeOutSpeed_ = 0.0;
    double overAlphaFadeInSpeed_ = 0.0;
};

}  // namespace Tuvo
