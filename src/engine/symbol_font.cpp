// The symbol font of CSpriteManager: one image of glyph cells, the characters in cell order and a
// width per cell, all from the language file; texts are translated first and a text naming an
// image file is drawn as that image.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "engine/sprite_manager.h"

namespace Quillory {
namespace {

// The cells lose this much on the right and at the top, so that bleeding from the neighbouring
// cells does not show.
constexpr float kCellTrimRight = 0.06f;
constexpr float kCellTrimTop = 0.08f;

// Copies text into a fixed buffer, cutting what does not fit.
template <size_t N>
void CopyText(std::array<char, N>& out, const char* text) {
    std::snprintf(out.data(), N, "%s", text == nullptr ? "" : text);
}

// Reads a language value as "%d"; false when it does not parse.
bool ReadLanguageInt(const char* key, int* out) {
    return std::sscanf(GetLanguageString(key), "%d", out) == 1;
}

// The non-empty parts of a comma-separated list.
std::vector<std::string> SplitAtCommas(const std::string& value) {
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start <= value.size()) {
        size_t comma = value.find(',', start);
        if (comma == std::string::npos) {
            comma = value.size();
        }
        if (comma > start) {
            tokens.push_back(value.substr(start, comma - start));
        }
        start = comma + 1;
    }
    return tokens;
}

bool IsImageText(const std::string& text) {
    return text.find(".png") != std::string::npos || text.find(".tga") != std::string::npos;
}

}  // namespace

void CSpriteManager::InitSymbolFont(const char* fontFile) {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    if (fontFile == nullptr) {
        return;
    }
    const uint64_t language = LanguageGeneration();
    const bool readGrid = !gridRead_ || language != gridLanguage_;
    if (readGrid) {
        CopyText(symbolList_, GetLanguageString("SymbolList"));
    }
    fontImage_ = FontTexture(fontFile);
    CopyText(fontName_, fontFile);
    if (!metricsLoaded_) {
        // Menus switch fonts on every draw; only the first initialisation is worth a line.
        char line[400];
        std::snprintf(line, sizeof(line), "Symbol font: '%s' ... %s", fontName_.data(),
                      fontImage_ != nullptr ? "OK" : "FAILED");
        LogMessage(line);
    }
    if (readGrid) {
        ReadSymbolGrid();
        gridRead_ = true;
        gridLanguage_ = language;
    }
    if (metricsLoaded_) {
        return;  // one width table per process, shared by every font image
    }
    if (symbolsInCol_ >= 1) {
        ReadSymbolWidths();
    }
    metricsLoaded_ = true;
}

void CSpriteManager::ReadSymbolGrid() {
    int inRow = 0;
    int inCol = 0;
    if (ReadLanguageInt("SYMBOLS_IN_ROW", &inRow) && ReadLanguageInt("SYMBOLS_IN_COL", &inCol)) {
        // The grid indexes the width table: a grid that does not fit it (or has no cells) would
        // read past it, so such values are refused and the previous grid stays. Each factor is
        // checked before the product, which would overflow for values near the int range.
        if (inRow >= 1 && inCol >= 1 && inRow <= kSymbolWidthCount && inCol <= kSymbolWidthCount &&
            inRow * inCol <= kSymbolWidthCount) {
            symbolsInRow_ = inRow;
            symbolsInCol_ = inCol;
        } else {
            LogMessage("WARNING: symbol font grid does not fit 255 cells");
        }
    }
}

Tuvo::Image* CSpriteManager::FontTexture(const char* fontFile) {
    if (std::strlen(fontFile) >= kFontNameSize) {
        return GetTexture(fontFile);  // a name too long to keep
    }
    for (const FontAtHand& font : fontsAtHand_) {
        if (font.image != nullptr && std::strcmp(font.name.data(), fontFile) == 0) {
            return font.image;
        }
    }
    Tuvo::Image* image = GetTexture(fontFile);
    if (image != nullptr) {
        // A file that failed to load is not kept: it is tried again next time.
        FontAtHand& kept = fontsAtHand_[nextFontAtHand_];
        CopyText(kept.name, fontFile);
        kept.image = image;
        nextFontAtHand_ = (nextFontAtHand_ + 1) % fontsAtHand_.size();
    }
    return image;
}

void CSpriteManager::ReadSymbolWidths() {
    for (int row = 1; row <= symbolsInCol_; ++row) {
        char key[32];
        std::snprintf(key, sizeof(key), row < 10 ? "Line0%d_Width" : "Line%d_Width", row);
        const std::vector<std::string> tokens = SplitAtCommas(GetLanguageString(key));
        const size_t columns = std::min(tokens.size(), static_cast<size_t>(symbolsInRow_));
        for (size_t column = 0; column < columns; ++column) {
            float width = 0;
            if (std::sscanf(tokens[column].c_str(), "%f", &width) != 1) {
                LogMessage("Can't load symbol width from 'language.ini'");
                break;
            }
            symbolWidths_[(row - 1) * symbolsInRow_ + column] = width * 0.0625f;
        }
    }
}

std::string CSpriteManager::CurrentFontName() const {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    return fontName_.data();
}

Tuvo::Image* CSpriteManager::FontImage() const {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    return fontImage_;
}

int CSpriteManager::SymbolsInRow() const {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    return symbolsInRow_;
}

int CSpriteManager::SymbolsInCol() const {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    return symbolsInCol_;
}

float CSpriteManager::SymbolWidth(int index) const {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    if (index < 0 || index >= kSymbolWidthCount) {
        return 0;
    }
    return symbolWidths_[index];
}

int CSpriteManager::IndexOfSymbol(char character) const {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    if (character == '\0') {
        return -1;
    }
    const char* found = std::strchr(symbolList_.data(), character);
    return found == nullptr ? -1 : static_cast<int>(found - symbolList_.data());
}

std::string CSpriteManager::Translate(const char* text, int flags) {
    if (text == nullptr) {
        return "";
    }
    if (flags & kTextLiteral) {
        return text;
    }
    const char* translation = GetLanguageString(text);
    return translation[0] != '\0' ? std::string(translation) : std::string(text);
}

float CSpriteManager::LineWidth(const std::string& text, float cellWidth) const {
    float width = 0;
    for (char c : text) {
        const int index = IndexOfSymbol(c);
        width += index >= 0 ? SymbolWidth(index) * cellWidth : cellWidth * 0.5f;
    }
    return width;
}

void CSpriteManager::DrawImageText(const std::string& fileName, float x, float y, float size,
                                   uint32_t colour, int flags) {
    Tuvo::Image* image = GetTexture(fileName.c_str());
    const ImageSize imageSize = GetImageSize(image);
    if (imageSize.width <= 0 || imageSize.height <= 0) {
        return;
    }
    const float screenWidth = static_cast<float>(ScreenWidth());
    const float screenHeight = static_cast<float>(ScreenHeight());
    const bool natural = (flags & kTextNaturalSize) != 0;
    // Keeps the image's aspect at the asked height.
    const float width = natural ? imageSize.width / screenWidth
                                : size * (static_cast<float>(imageSize.width) / imageSize.height) *
                                      (screenHeight / screenWidth);
    float center = x + width / 2;
    if (flags & kTextCenter) {
        center = x;
    } else if (flags & kTextRight) {
        center = x - width / 2;
    }
    DrawSprite(image, center, y, width, size, 0, 0, 1, 1, colour,
               natural ? kSpriteNormalMode | kSpriteNaturalSize : kSpriteNormalMode, 0);
}

float CSpriteManager::TextWidth(float size, int flags, const char* text) {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    const std::string line = Translate(text, flags);
    if (fontImage_ == nullptr || fontImage_->GetHeight() <= 0) {
        return 0;
    }
    const float cellW =
        (static_cast<float>(fontImage_->GetWidth()) / symbolsInRow_) / ScreenWidth();
    const float cellH =
        (static_cast<float>(fontImage_->GetHeight()) / symbolsInCol_) / ScreenHeight();
    const float cellWidth = (flags & kTextNaturalSize) ? cellW : cellW * size / cellH;
    return LineWidth(line, cellWidth);
}

int CSpriteManager::DrawText(float x, float y, float size, uint32_t colour, int flags,
                             const char* text) {
    std::lock_guard<std::recursive_mutex> lock(fontMutex_);
    const std::string line = Translate(text, flags);
    if (!(flags & kTextLiteral) && IsImageText(line)) {
        DrawImageText(line, x, y, size, colour, flags);
        return 1;
    }
    if (fontImage_ == nullptr || fontImage_->GetHeight() <= 0) {
        return 1;
    }
    const float cellW =
        (static_cast<float>(fontImage_->GetWidth()) / symbolsInRow_) / ScreenWidth();
    const float cellH =
        (static_cast<float>(fontImage_->GetHeight()) / symbolsInCol_) / ScreenHeight();
    const bool natural = (flags & kTextNaturalSize) != 0;
    const float cellWidth = natural ? cellW : cellW * size / cellH;
    const float lineWidth = LineWidth(line, cellWidth);
    float pen = x;
    if (flags & kTextCenter) {
        pen = x - lineWidth / 2;
    } else if (flags & kTextRight) {
        pen = x - lineWidth;
    }
    const float columns = static_cast<float>(symbolsInRow_);
    const float rows = static_cast<float>(symbolsInCol_);
    for (char c : line) {
        const int index = IndexOfSymbol(c);
        if (index < 0) {
            pen += cellWidth * 0.5f;
            continue;
        }
        const float advance = SymbolWidth(index) * cellWidth;
        const int column = index % symbolsInRow_;
        const int row = index / symbolsInRow_;
        DrawSprite(fontImage_, pen + advance / 2, y, cellWidth, size, column / columns,
                   (row + kCellTrimTop) / rows, (column + 1 - kCellTrimRight) / columns,
                   (row + 1) / rows, colour, natural ? kSpriteNaturalSize : 0, 0);
        pen += advance;
    }
    return 1;
}

}  // namespace Quillory
