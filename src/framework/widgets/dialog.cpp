// Dialog layout, drawing, dragging, button results and the modal loop.
#include "framework/widgets/dialog.h"

#include <algorithm>

#include "framework/widgets/sys_font.h"
#include "framework/widgets/widget_manager.h"

namespace Tuvo {

namespace {

// How far the dialog may be dragged past each edge of the manager's area.
constexpr int kDragOverhang = 8;
// Space between the parts of the dialog's content.
constexpr int kGap = 8;

}  // namespace

Dialog::Dialog(Image* componentImage, Image* buttonComponentImage, int id, bool isModal,
               const std::string& header, const std::string& lines, const std::string& footer,
               int buttonMode, DialogListener* listener)
    : listener_(listener),
      componentImage_(componentImage),
      header_(header),
      footer_(footer),
      lines_(lines),
      buttonMode_(buttonMode),
      id_(id),
      isModal_(isModal) {
    hasAlpha_ = true;
    hasTransparencies_ = true;
    priority_ = 1;
    if (buttonComponentImage != nullptr) {
        buttonHeight_ = buttonComponentImage->GetHeight();
    }
    const char* yesLabel = nullptr;
    const char* noLabel = nullptr;
    if (buttonMode == kModeYesNo) {
        yesLabel = "YES";
        noLabel = "NO";
    } else if (buttonMode == kModeOkCancel) {
        yesLabel = "OK";
        noLabel = "CANCEL";
    } else if (buttonMode == kModeFooterButton) {
        yesLabel = footer_.c_str();
    }
    if (yesLabel != nullptr) {
        yesButton_ = std::make_unique<DialogButton>(buttonComponentImage, kButtonYes, this);
        yesButton_->SetLabel(yesLabel);
    }
    if (noLabel != nullptr) {
        noButton_ = std::make_unique<DialogButton>(buttonComponentImage, kButtonNo, this);
        noButton_->SetLabel(noLabel);
    }
    static const int kColours[7][3] = {{255, 255, 255}, {255, 255, 0},   {255, 255, 255},
                                       {255, 255, 255}, {255, 255, 255}, {80, 80, 80},
                                       {255, 255, 255}};
    SetColourTable(kColours, 7);
}

Dialog::~Dialog() {
    for (const std::shared_ptr<ModalRun>& run : modalRuns_) {
        run->alive = false;
        run->result = result_;
    }
}

void Dialog::SetBackgroundInsets(int left, int top, int right, int bottom) {
    backgroundInsets_ = Insets{left, top, right, bottom};
    LayoutButtons();
}

void Dialog::SetContentInsets(int left, int top, int right, int bottom) {
    contentInsets_ = Insets{left, top, right, bottom};
    LayoutButtons();
}

void Dialog::SetCaptionFont(Font* font) {
    for (DialogButton* button : {yesButton_.get(), noButton_.get()}) {
        if (button != nullptr) {
            button->SetFont(font);
        }
    }
}

void Dialog::SetTitleFont(Font* font) {
    headerFont_.reset(font != nullptr ? font->Duplicate() : nullptr);
    MarkDirty();
}

void Dialog::SetBodyFont(Font* font) {
    linesFont_.reset(font != nullptr ? font->Duplicate() : nullptr);
    MarkDirty();
}

void Dialog::EnsureFonts() {
    if (headerFont_ == nullptr) {
        headerFont_ = std::make_unique<SysFont>("Arial Unicode MS", 14);
    }
    if (linesFont_ == nullptr) {
        linesFont_ = std::make_unique<SysFont>("Arial Unicode MS", 12);
    }
}

bool Dialog::IsModal() {
    return isModal_;
}

int Dialog::LinesWidth(int width) const {
    return width - contentInsets_.left - contentInsets_.right - backgroundInsets_.left -
           backgroundInsets_.right - 4;
}

int Dialog::MeasureHeight(int width) {
    EnsureFonts();
    int height = contentInsets_.top + contentInsets_.bottom + backgroundInsets_.top +
                 backgroundInsets_.bottom;
    bool hasContent = false;
    if (!header_.empty()) {
        height += headerFont_->GetHeight() - headerFont_->GetTopPadding();
        hasContent = true;
    }
    if (!lines_.empty()) {
        if (!header_.empty()) {
            height += spaceAfterHeader_;
        }
        Graphics measure;
        measure.SetFont(linesFont_.get());
        height += MeasureWrappedHeight(&measure, LinesWidth(width), lines_,
                                       linesFont_->GetLineSpacing() + lineSpacingOffset_);
        hasContent = true;
    }
    if (!footer_.empty() && buttonMode_ != kModeFooterButton) {
        height += (hasContent ? kGap : 0) + headerFont_->GetLineSpacing();
        hasContent = true;
    }
    if (yesButton_ != nullptr) {
        height += (hasContent ? kGap : 0) + kGap + buttonHeight_;
    }
    return height;
}

void Dialog::Draw(Graphics* g) {
    EnsureFonts();
    const int w = width_;
    const int h = height_;
    if (componentImage_ == nullptr) {
        g->SetColor(GetColor(kColorOutline));
        g->DrawRect(12, 12, w - 25, h - 25);
        g->SetColor(GetColor(kColorBackground));
        g->FillRect(13, 13, w - 26, h - 26);
        g->SetColor(Color(0, 0, 0, 128));
        g->FillRect(w - 12, 24, 12, h - 36);
        g->FillRect(24, h - 12, w - 24, 12);
    } else {
        g->DrawImageNineSlice(Rect(backgroundInsets_.left, backgroundInsets_.top,
                                   w - backgroundInsets_.left - backgroundInsets_.right,
                                   h - backgroundInsets_.top - backgroundInsets_.bottom),
                              componentImage_);
    }
    int y = contentInsets_.top + backgroundInsets_.top;
    if (!header_.empty()) {
        const int baseline = y - headerFont_->GetTopPadding() + headerFont_->GetAscent();
        g->SetFont(headerFont_.get());
        g->SetColor(GetColor(kColorHeader));
        DrawCentredLine(g, baseline, header_);
        y = baseline - headerFont_->GetAscent() + headerFont_->GetHeight() + spaceAfterHeader_;
    }
    g->SetFont(linesFont_.get());
    g->SetColor(GetColor(kColorLines));
    const Rect linesRect(backgroundInsets_.left + 2 + contentInsets_.left, y, LinesWidth(w), 0);
    const int linesHeight =
        DrawWrappedText(g, linesRect, lines_, linesFont_->GetLineSpacing() + lineSpacingOffset_,
                        textJustification_);
    if (!footer_.empty() && buttonMode_ != kModeFooterButton) {
        g->SetFont(headerFont_.get());
        g->SetColor(GetColor(kColorFooter));
        DrawCentredLine(g, y + linesHeight + kGap + headerFont_->GetLineSpacing(), footer_);
    }
}

void Dialog::LayoutButtons() {
    if (yesButton_ == nullptr) {
        return;
    }
    const int left = x_ + backgroundInsets_.left + contentInsets_.left;
    const int top = y_ + height_ - contentInsets_.bottom - backgroundInsets_.bottom - buttonHeight_;
    const int inner = width_ - contentInsets_.left - contentInsets_.right - backgroundInsets_.left -
                      backgroundInsets_.right;
    if (noButton_ == nullptr) {
        yesButton_->Resize(left, top, inner, buttonHeight_);
        return;
    }
    const int buttonWidth = (inner - 2 * buttonSidePadding_ - buttonSpacing_) / 2;
    const int firstX = left + buttonSidePadding_;
    yesButton_->Resize(firstX, top, buttonWidth, buttonHeight_);
    noButton_->Resize(firstX + buttonWidth + buttonSpacing_, top, buttonWidth, buttonHeight_);
}

void Dialog::Resize(int x, int y, int width, int height) {
    Widget::Resize(x, y, width, height);
    LayoutButtons();
}

void Dialog::SetColor(int index, const Color& color) {
    Widget::SetColor(index, color);
    const int buttonIndex = index == kColorButtonText        ? ButtonWidget::kColorLabel
                            : index == kColorButtonTextHover ? ButtonWidget::kColorLabelHover
                                                             : -1;
    if (buttonIndex < 0) {
        return;
    }
    for (DialogButton* button : {yesButton_.get(), noButton_.get()}) {
        if (button != nullptr) {
            button->SetColor(buttonIndex, color);
        }
    }
}

void Dialog::OnAttach(WidgetManager* manager) {
    Widget::OnAttach(manager);
    for (DialogButton* button : {yesButton_.get(), noButton_.get()}) {
        if (button != nullptr) {
            manager->AddWidget(button);
        }
    }
}

void Dialog::OnDetach(WidgetManager* manager) {
    Widget::OnDetach(manager);
    for (DialogButton* button : {yesButton_.get(), noButton_.get()}) {
        if (button != nullptr && manager != nullptr) {
            manager->RemoveWidget(button);
        }
    }
}

void Dialog::OnOrderChanged() {
    if (widgetManager_ == nullptr || yesButton_ == nullptr) {
        return;
    }
    widgetManager_->PlaceInFront(yesButton_.get(), this);
    if (noButton_ != nullptr) {
        widgetManager_->PlaceInFront(noButton_.get(), yesButton_.get());
    }
}

void Dialog::SetCursor(bool dragging) {
    if (widgetManager_ != nullptr && widgetManager_->GetApplication() != nullptr) {
        widgetManager_->GetApplication()->SetCursor(dragging ? CursorKind::Dragging
                                                             : CursorKind::Arrow);
    }
}

void Dialog::MouseDown(int x, int y, int button, int clickCount) {
    if (button != kMouseButtonLeft || clickCount != 1) {
        return;
    }
    dragging_ = true;
    dragX_ = x;
    dragY_ = y;
    SetCursor(true);
}

void Dialog::MouseDrag(int x, int y) {
    if (!dragging_ || widgetManager_ == nullptr) {
        return;
    }
    // At most kDragOverhang pixels may leave the manager's area on each side.
    const int areaWidth = widgetManager_->Width();
    const int areaHeight = widgetManager_->Height();
    int newX = x_ + x - dragX_;
    int newY = y_ + y - dragY_;
    newX = std::max(std::min(newX, areaWidth + kDragOverhang - width_), -kDragOverhang);
    newY = std::max(std::min(newY, areaHeight + kDragOverhang - height_), -kDragOverhang);
    // The grab point follows the limited move and stays inside the dialog's edge.
    dragX_ = std::max(kDragOverhang, std::min(x_ + x - newX, width_ - 9));
    dragY_ = std::max(kDragOverhang, std::min(y_ + y - newY, height_ - 9));
    Move(newX, newY);
}

void Dialog::MouseUp(int, int, int, int) {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    SetCursor(false);
}

void Dialog::OnButtonPressed(int id) {
    if ((id == kButtonYes || id == kButtonNo) && listener_ != nullptr) {
        listener_->OnDialogButtonPressed(id_, id);
    }
}

void Dialog::OnButtonReleased(int id) {
    if (id != kButtonYes && id != kButtonNo) {
        return;
    }
    result_ = id;
    // Last: the listener may remove and delete the dialog.
    if (listener_ != nullptr) {
        listener_->OnDialogButtonReleased(id_, id);
    }
}

int Dialog::RunModal(bool autoKill) {
    WidgetApplication* application =
        widgetManager_ != nullptr ? widgetManager_->GetApplication() : nullptr;
    // Shared with the dialog, which marks it when it is deleted during a step.
    const auto run = std::make_shared<ModalRun>();
    modalRuns_.push_back(run);
    const int id = id_;
    while (application != nullptr && run->alive && widgetManager_ != nullptr &&
           result_ == kNoResult) {
        if (!application->UpdateAppStep()) {
            break;
        }
    }
    if (!run->alive) {
        // Deleted during a step: the destructor left the result here.
        return run->result;
    }
    modalRuns_.pop_back();
    const int result = result_;
    if (autoKill && application != nullptr) {
        application->KillDialog(id);
    }
    return result;
}

}  // namespace Tuvo
