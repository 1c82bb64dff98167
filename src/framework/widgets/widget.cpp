// Widget behaviour: visibility, colours, enabling, geometry, default input handling and the
// text helpers.
#include "framework/widgets/widget.h"

#include <algorithm>

#include "framework/widgets/widget_manager.h"

namespace Tuvo {

namespace {

bool gDefaultColoredText = true;

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The longest prefix of word (at least one whole character) that fits width.
size_t FittingPrefix(Font* font, const std::string& word, int width) {
    size_t fits = 1;
    while (fits < word.size() && IsUtf8Continuation(word[fits])) {
        ++fits;
    }
    size_t next = fits;
    while (next < word.size()) {
        ++next;
        while (next < word.size() && IsUtf8Continuation(word[next])) {
            ++next;
        }
        if (font->StringWidth(word.substr(0, next)) > width) {
            break;
        }
        fits = next;
    }
    return fits;
}

void WrapParagraph(Font* font, const std::string& paragraph, int width,
                   std::vector<std::string>* lines) {
    std::string current;
    size_t start = 0;
    while (start <= paragraph.size()) {
        size_t end = paragraph.find(' ', start);
        if (end == std::string::npos) {
            end = paragraph.size();
        }
        std::string word = paragraph.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        const std::string candidate = current.empty() ? word : current + " " + word;
        if (font->StringWidth(candidate) <= width) {
            current = candidate;
            continue;
        }
        if (!current.empty()) {
            lines->push_back(current);
        }
        while (word.size() > 1 && font->StringWidth(word) > width) {
            const size_t cut = FittingPrefix(font, word, width);
            if (cut >= word.size()) {
                break;
            }
            lines->push_back(word.substr(0, cut));
            word = word.substr(cut);
        }
        current = word;
    }
    lines->push_back(current);
}

}  // namespace

std::vector<std::string> WrapTextLines(Font* font, const std::string& text, int width) {
    std::vector<std::string> lines;
    if (font == nullptr || text.empty()) {
        return lines;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') {
            paragraph.pop_back();
        }
        if (width <= 0) {
            lines.push_back(paragraph);
        } else {
            WrapParagraph(font, paragraph, width, &lines);
        }
        if (end == text.size()) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

Widget::Widget() = default;

Widget::~Widget() {
    if (parent_ != nullptr) {
        parent_->RemoveWidget(this);
    }
    while (!children_.empty()) {
        RemoveWidget(children_.front());
    }
}

void Widget::SetDefaultColoredText(bool colored) {
    gDefaultColoredText = colored;
}

bool Widget::GetDefaultColoredText() {
    return gDefaultColoredText;
}

void Widget::OnOrderChanged() {}

void Widget::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (visible) {
        // A flag left over from while it was hidden must not stop the marking of what lies
        // above it.
        dirty_ = false;
        MarkDirty();
    } else {
        MarkDirtyDeep();
    }
    if (widgetManager_ != nullptr) {
        widgetManager_->RecheckMouse();
    }
}

void Widget::SetColourTable(const int (*table)[4], int count) {
    colors_.clear();
    for (int i = 0; table != nullptr && i < count; ++i) {
        SetColor(i, Color(table[i][0], table[i][1], table[i][2], table[i][3]));
    }
    MarkDirty();
}

void Widget::SetColourTable(const int (*table)[3], int count) {
    colors_.clear();
    for (int i = 0; table != nullptr && i < count; ++i) {
        SetColor(i, Color(table[i][0], table[i][1], table[i][2], 255));
    }
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color) {
    if (index < 0) {
        return;
    }
    if (static_cast<size_t>(index) >= colors_.size()) {
        colors_.resize(static_cast<size_t>(index) + 1, Color(0, 0, 0, 255));
    }
    colors_[static_cast<size_t>(index)] = color;
    MarkDirty();
}

const Color& Widget::GetColor(int index, const Color& fallback) const {
    if (index < 0 || static_cast<size_t>(index) >= colors_.size()) {
        return fallback;
    }
    return colors_[static_cast<size_t>(index)];
}

const Color& Widget::GetColor(int index) const {
    static const Color black(0, 0, 0, 255);
    return GetColor(index, black);
}

void Widget::SetDisabled(bool disabled) {
    if (disabled_ == disabled) {
        return;
    }
    disabled_ = disabled;
    if (disabled && widgetManager_ != nullptr) {
        widgetManager_->ForgetWidget(this);
    }
    MarkDirty();
    if (disabled || widgetManager_ == nullptr || !widgetManager_->IsMouseIn()) {
        return;
    }
    // Hover comes back at once when the pointer already rests on the widget.
    int parentX = 0;
    int parentY = 0;
    if (parent_ != nullptr) {
        parent_->GetScreenPos(&parentX, &parentY);
    }
    const int mouseX = widgetManager_->GetLastMouseX();
    const int mouseY = widgetManager_->GetLastMouseY();
    if (Contains(mouseX - parentX, mouseY - parentY)) {
        widgetManager_->MouseMove(mouseX, mouseY);
    }
}

void Widget::ShowHandCursor(bool show) {
    if (widgetManager_ != nullptr && widgetManager_->GetApplication() != nullptr) {
        widgetManager_->GetApplication()->SetCursor(show ? CursorKind::Hand : CursorKind::Arrow);
    }
}

void Widget::Resize(const Rect& rect) {
    Resize(rect.x, rect.y, rect.width, rect.height);
}

void Widget::Resize(int x, int y, int width, int height) {
    if (x == x_ && y == y_ && width == width_ && height == height_) {
        return;
    }
    MarkDirtyDeep();
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    // Clean first, so that marking at the new place also reaches what now lies above it.
    dirty_ = false;
    MarkDirty();
    if (widgetManager_ != nullptr) {
        widgetManager_->RecheckMouse();
    }
}

void Widget::Move(int x, int y) {
    Resize(x, y, width_, height_);
}

bool Widget::AcceptsFocus() {
    return wantsFocus_;
}

void Widget::DrawOnTop(Graphics* g, int) {
    DrawOnTop(g);
}

void Widget::DrawOnTop(Graphics*) {}

void Widget::GotFocus() {
    hasFocus_ = true;
}

void Widget::LostFocus() {
    hasFocus_ = false;
}

void Widget::KeyChar(char) {}

void Widget::KeyDown(int keyCode) {
    if (keyCode != kKeyTab || widgetManager_ == nullptr) {
        return;
    }
    Widget* target = widgetManager_->IsKeyDown(kKeyShift) ? tabPrevious_ : tabNext_;
    if (target != nullptr) {
        widgetManager_->SetFocus(target);
    }
}

void Widget::KeyUp(int) {}

void Widget::MouseEnter() {}

void Widget::MouseLeave() {}

void Widget::MouseMove(int, int) {}

void Widget::MouseDown(int, int, int, int) {}

void Widget::MouseDown(int x, int y, int clickCount) {
    if (clickCount == 3) {
        MouseDown(x, y, kMouseButtonMiddle, 1);
    } else if (clickCount < 0) {
        MouseDown(x, y, kMouseButtonRight, -clickCount);
    } else {
        MouseDown(x, y, kMouseButtonLeft, clickCount);
    }
}

void Widget::MouseUp(int, int, int, int) {}

void Widget::MouseUp(int x, int y, int clickCount) {
    MouseUp(x, y);
    if (clickCount == 3) {
        MouseUp(x, y, kMouseButtonMiddle, 1);
    } else if (clickCount < 0) {
        MouseUp(x, y, kMouseButtonRight, -clickCount);
    } else {
        MouseUp(x, y, kMouseButtonLeft, clickCount);
    }
}

void Widget::MouseUp(int, int) {}

void Widget::MouseDrag(int, int) {}

void Widget::MouseWheel(int) {}

bool Widget::HitsPoint(int, int) {
    return true;
}

Rect Widget::DrawCentredLine(Graphics* g, int y, const std::string& text, const Color& color,
                             const Color& shadowColor, int shadowOffset) {
    Font* font = g->GetFont();
    if (font == nullptr) {
        return Rect();
    }
    const Color saved = g->GetColor();
    const int x = (width_ - font->StringWidth(text)) / 2;
    g->SetColor(shadowColor);
    g->DrawString(text, x + shadowOffset, y + shadowOffset);
    g->SetColor(color);
    const Rect drawn = DrawCentredLine(g, y, text);
    g->SetColor(saved);
    return drawn;
}

Rect Widget::DrawCentredLine(Graphics* g, int y, const std::string& text) {
    Font* font = g->GetFont();
    if (font == nullptr) {
        return Rect();
    }
    const int textWidth = font->StringWidth(text);
    const int x = (width_ - textWidth) / 2;
    g->DrawString(text, x, y);
    return Rect(x, y - font->GetAscent(), textWidth, font->GetHeight());
}

void Widget::DrawJustifiedLine(Graphics* g, const std::string& line, int x, int y, int width,
                               int justification) {
    Font* font = g->GetFont();
    int lineX = x;
    if (width > 0 && justification == kJustifyCentre) {
        lineX = x + (width - font->StringWidth(line)) / 2;
    } else if (width > 0 && justification == kJustifyRight) {
        lineX = x + width - font->StringWidth(line);
    }
    g->DrawString(line, lineX, y);
}

int Widget::DrawStringAligned(Graphics* g, const std::string& text, int x, int y, int width,
                              int justification, bool draw, int offset, int length) {
    Font* font = g->GetFont();
    if (font == nullptr) {
        return 0;
    }
    const size_t start = static_cast<size_t>(std::clamp<int>(offset, 0, text.size()));
    const size_t count = length < 0 ? std::string::npos : static_cast<size_t>(length);
    const std::string part = text.substr(start, count);
    const int textWidth = font->StringWidth(part);
    if (draw) {
        const bool savedColored = g->GetState().writeColoredString;
        g->SetColoredText(gDefaultColoredText);
        DrawJustifiedLine(g, part, x, y, width, justification);
        g->SetColoredText(savedColored);
    }
    return textWidth;
}

int Widget::DrawWrappedText(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing,
                            int justification) {
    Font* font = g->GetFont();
    const std::vector<std::string> lines = WrapTextLines(font, text, rect.width);
    if (lines.empty()) {
        return 0;
    }
    const bool savedColored = g->GetState().writeColoredString;
    g->SetColoredText(gDefaultColoredText);
    const int firstBaseline = rect.y + font->GetAscent() - font->GetTopPadding();
    for (size_t i = 0; i < lines.size(); ++i) {
        DrawJustifiedLine(g, lines[i], rect.x, firstBaseline + static_cast<int>(i) * lineSpacing,
                          rect.width, justification);
    }
    g->SetColoredText(savedColored);
    return static_cast<int>(lines.size() - 1) * lineSpacing + font->GetHeight() -
           font->GetTopPadding();
}

int Widget::MeasureWrappedHeight(Graphics* g, int width, const std::string& text, int lineSpacing) {
    Font* font = g->GetFont();
    const std::vector<std::string> lines = WrapTextLines(font, text, width);
    if (lines.empty()) {
        return 0;
    }
    return static_cast<int>(lines.size() - 1) * lineSpacing + font->GetHeight() -
           font->GetTopPadding();
}

int Widget::CountDigits(int number) {
    int digits = 1;
    while (number >= 10) {
        number /= 10;
        ++digits;
    }
    return digits;
}

void Widget::DrawDigitStrip(Graphics* g, int number, int x, int y, Image* strip, int spacing) {
    if (strip == nullptr) {
        return;
    }
    const int cellWidth = strip->GetWidth() / 10;
    if (cellWidth <= 0) {
        return;
    }
    const std::string digits = std::to_string(std::max(number, 0));
    for (size_t i = 0; i < digits.size(); ++i) {
        const int digit = digits[i] - '0';
        g->DrawImage(strip, x + static_cast<int>(i) * (cellWidth + spacing), y,
                     Rect(digit * cellWidth, 0, cellWidth, strip->GetHeight()));
    }
}

bool Widget::Contains(int x, int y) {
    return x >= x_ && x < x_ + width_ && y >= y_ && y < y_ + height_;
}

Rect Widget::GetHitRect() {
    return Rect(x_ + mouseInsetLeft_, y_ + mouseInsetTop_,
                width_ - mouseInsetLeft_ - mouseInsetRight_,
                height_ - mouseInsetTop_ - mouseInsetBottom_);
}

void Widget::SetMouseInsets(int left, int top, int right, int bottom) {
    mouseInsetLeft_ = left;
    mouseInsetTop_ = top;
    mouseInsetRight_ = right;
    mouseInsetBottom_ = bottom;
}

}  // namespace Tuvo
