// Base of the fonts the drawing context draws text with (the bitmap font and the system font):
// metrics and the text operations, in their fixed order.
#pragma once

#include <string>

#include "framework/graphics/color.h"
#include "framework/graphics/rect.h"

namespace Tuvo {

class Graphics;

class Font {
public:
    Font() = default;
    virtual ~Font();

    virtual int GetAscent() const { return ascent_; }
    virtual int GetTopPadding() const { return ascentPadding_; }
    // height - ascent
    virtual int GetDescent() const { return height_ - ascent_; }
    virtual int GetHeight() const { return height_; }
    virtual int GetExtraLineSpacing() const { return lineSpacingOffset_; }
    // height + line-spacing offset
    virtual int GetLineSpacing() const { return height_ + lineSpacingOffset_; }
    virtual int StringWidth(const std::string& text);
    // StringWidth of the one-character string.
    virtual int CharWidth(char character);
    // CharWidth of the character; kerning fonts look at the previous one.
    virtual int CharAdvance(char character, char previous);
    // Draws through the context's image operations, which apply its translation.
    virtual void DrawString(Graphics* graphics, int x, int y, const std::string& text,
                            const Color& color, const Rect& clip);
    virtual Font* Duplicate() = 0;

protected:
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;

    int ascent_ = 0;
    int ascentPadding_ = 0;
    int height_ = 0;
    int lineSpacingOffset_ = 0;
};

}  // namespace Tuvo
