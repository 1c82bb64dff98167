// A movable (usually modal) box with a header, word-wrapped body lines, a footer and up to two
// DialogButtons. The buttons are siblings of the dialog in the widget manager, kept directly in
// front of it; their presses and releases go to the DialogListener, and the last button
// released is the dialog's result.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/font.h"
#include "framework/graphics/image.h"
#include "framework/widgets/button_listener.h"
#include "framework/widgets/dialog_button.h"
#include "framework/widgets/widget.h"

namespace Tuvo {

class Dialog : public Widget, public ButtonListener {
public:
    static constexpr int kNoResult = 2147483647;
    static constexpr int kButtonYes = 1000;  // also "OK" and the footer button
    static constexpr int kButtonNo = 1001;   // also "CANCEL"

    // Button modes.
    static constexpr int kModeNoButtons = 0;
    static constexpr int kModeYesNo = 1;
    static constexpr int kModeOkCancel = 2;
    static constexpr int kModeFooterButton = 3;

    // Colour indices.
    static constexpr int kColorHeader = 0;
    static constexpr int kColorLines = 1;
    static constexpr int kColorFooter = 2;
    static constexpr int kColorButtonText = 3;
    static constexpr int kColorButtonTextHover = 4;
    static constexpr int kColorBackground = 5;
    static constexpr int kColorOutline = 6;

    // The images are not owned and may be null; so may the listener.
    Dialog(Image* componentImage, Image* buttonComponentImage, int id, bool isModal,
           const std::string& header, const std::string& lines, const std::string& footer,
           int buttonMode, DialogListener* listener = nullptr);
    ~Dialog() override;

    // Slot 70. The font of both buttons (each keeps a duplicate).
    virtual void SetCaptionFont(Font* font);
    // Slots 71, 72. Each keeps a duplicate.
    virtual void SetTitleFont(Font* font);
    virtual void SetBodyFont(Font* font);
    // Slot 73. The height the dialog needs at the given width.
    virtual int MeasureHeight(int width);
    // Slot 74.
    virtual bool IsModal();
    // Slot 75. Runs application steps until a button ends the dialog, it leaves the widget
    // manager or the application stops; with autoKill the application then removes it by id.
    // Returns the result (kNoResult when the dialog went away without one). The dialog may be
    // deleted while this runs; the result still comes back.
    virtual int RunModal(bool autoKill);

    void Draw(Graphics* g) override;
    void Resize(int x, int y, int width, int height) override;
    using Widget::Resize;
    void SetColor(int index, const Color& color) override;
    void OnAttach(WidgetManager* manager) override;
    void OnDetach(WidgetManager* manager) override;
    void OnOrderChanged() override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDrag(int x, int y) override;

    using ButtonListener::OnButtonPressed;
    void OnButtonPressed(int id) override;
    void OnButtonReleased(int id) override;

    int GetId() const { return id_; }
    int GetResult() const { return result_; }
    int GetButtonMode() const { return buttonMode_; }
    DialogButton* GetYesButton() const { return yesButton_.get(); }
    DialogButton* GetNoButton() const { return noButton_.get(); }
    void SetDialogListener(DialogListener* listener) { listener_ = listener; }
    void SetTextJustification(int justification) { textJustification_ = justification; }
    void SetLineSpacingOffset(int offset) { lineSpacingOffset_ = offset; }
    void SetButtonHeight(int height) { buttonHeight_ = height; }
    int GetButtonHeight() const { return buttonHeight_; }
    void SetBackgroundInsets(int left, int top, int right, int bottom);
    void SetContentInsets(int left, int top, int right, int bottom);
    void SetSpaceAfterHeader(int space) { spaceAfterHeader_ = space; }
    void SetButtonSpacing(int spacing) { buttonSpacing_ = spacing; }
    void SetButtonSidePadding(int padding) { buttonSidePadding_ = padding; }
    bool IsDragging() const { return dragging_; }

private:
    // A RunModal in progress, told by the destructor when the dialog goes away during it.
    struct ModalRun {
        bool alive = true;
        int result = kNoResult;
    };

    struct Insets {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    void EnsureFonts();
    void LayoutButtons();
    void SetCursor(bool dragging);
    int LinesWidth(int width) const;

    DialogListener* listener_ = nullptr;
    Image* componentImage_ = nullptr;
    std::unique_ptr<DialogButton> yesButton_;
    std::unique_ptr<DialogButton> noButton_;
    std::string header_;
    std::string footer_;
    std::string lines_;
    int buttonMode_ = kModeNoButtons;
    std::unique_ptr<Font> headerFont_;
    std::unique_ptr<Font> linesFont_;
    int textJustification_ = kJustifyCentre;
    int lineSpacingOffset_ = 0;
    int buttonHeight_ = 24;
    Insets backgroundInsets_;
    Insets contentInsets_{24, 24, 24, 24};
    int spaceAfterHeader_ = 10;
    bool dragging_ = false;
    int dragX_ = 0;
    int dragY_ = 0;
    int id_ = 0;
    bool isModal_ = false;
    int result_ = kNoResult;
    int buttonSpacing_ = 8;
    int buttonSidePadding_ = 0;
    std::vector<std::shared_ptr<ModalRun>> modalRuns_;
};

}  // namespace Tuvo
