// The system font of framework buttons and dialogs: a TrueType face drawn with FreeType,
// anti-aliased, in the drawing context's colour through coverage spans. Face names map onto the
// DejaVu family ("Arial Unicode MS" and other sans faces onto DejaVu Sans). Text is UTF-8 when
// it is valid UTF-8 and Windows-1252 otherwise. Advances are whole pixels without kerning.
// A missing font file is logged once and then draws and measures nothing.
#pragma once

#include <memory>
#include <string>

#include "framework/graphics/font.h"

namespace Tuvo {

class SysFont : public Font {
public:
    // pointSize is converted to pixels as pointSize x dpi / 72, rounded; a dpi of 0 or less
    // means 96.
    SysFont(const std::string& faceName, int pointSize, bool bold = false, bool italics = false,
            bool underline = false, int dpi = 0);
    ~SysFont() override;

    int StringWidth(const std::string& text) override;
    int CharWidth(char character) override;
    int CharAdvance(char character, char previous) override;
    // (x, y) is the start of the baseline.
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clip) override;
    // A copy sharing the loaded face.
    Font* Duplicate() override;

    bool IsLoaded() const;
    int GetPixelSize() const { return pixelSize_; }
    const std::string& GetFilePath() const { return filePath_; }

    static int PointsToPixels(int pointSize, int dpi);
    // The font file a face name and style load from (in the font folder).
    static std::string FontFileFor(const std::string& faceName, bool bold, bool italics);
    // Where the font files are; by default Debian's DejaVu folder.
    static void SetFontFolder(const std::string& folder);

private:
    struct Face;

    SysFont(const SysFont& other) = default;

    std::shared_ptr<Face> face_;
    std::string filePath_;
    int pixelSize_ = 0;
    bool underline_ = false;
};

}  // namespace Tuvo
