// Default text operations of the font base.
#include "framework/graphics/font.h"

namespace Tuvo {

Font::~Font() = default;

int Font::StringWidth(const std::string&) {
    return 0;
}

int Font::CharWidth(char character) {
    return StringWidth(std::string(1, character));
}

int Font::CharAdvance(char character, char) {
    return CharWidth(character);
}

void Font::DrawString(Graphics*, int, int, const std::string&, const Color&, const Rect&) {}

}  // namespace Tuvo
