// The FreeType system font: face loading, the glyph cache, text decoding and drawing.
#include "framework/widgets/sys_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <unordered_map>
#include <vector>

#include <sys/stat.h>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "platform/debug_output.h"

namespace Tuvo {

namespace {

std::string gFontFolder = "/usr/share/fonts/truetype/dejavu";

// One FreeType library for the process, released at exit.
struct FreeTypeLibrary {
    FT_Library library = nullptr;
    bool ready = false;
    FreeTypeLibrary() { ready = FT_Init_FreeType(&library) == 0; }
    ~FreeTypeLibrary() {
        if (ready) {
            FT_Done_FreeType(library);
        }
    }
};

FT_Library Library() {
    static FreeTypeLibrary instance;
    return instance.ready ? instance.library : nullptr;
}

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A missing or unreadable font file is reported once per path.
void ReportMissingFont(const std::string& path) {
    static std::set<std::string> reported;
    if (reported.insert(path).second) {
        Platform::DebugOutput("SysFont: cannot load font file \"%s\"; text is not drawn\n",
                              path.c_str());
    }
}

// Windows-1252 characters 0x80 to 0x9F; the five unassigned ones stand for themselves.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t FromWindows1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kWindows1252High[byte - 0x80];
    }
    return byte;
}

// Decodes text as UTF-8; false when it is not valid UTF-8.
bool DecodeUtf8(const std::string& text, std::vector<uint32_t>* out) {
    out->clear();
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        uint32_t codepoint = 0;
        if (lead < 0x80) {
            codepoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            codepoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            codepoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            codepoint = lead & 0x07;
        } else {
            return false;
        }
        if (extra > 0 && i + static_cast<size_t>(extra) >= text.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            codepoint = (codepoint << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8.
        if ((extra == 2 && codepoint < 0x800) || (extra == 3 && codepoint < 0x10000) ||
            (codepoint >= 0xD800 && codepoint <= 0xDFFF) || codepoint > 0x10FFFF) {
            return false;
        }
        out->push_back(codepoint);
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::vector<uint32_t> DecodeText(const std::string& text) {
    std::vector<uint32_t> codepoints;
    if (DecodeUtf8(text, &codepoints)) {
        return codepoints;
    }
    codepoints.clear();
    for (const char c : text) {
        codepoints.push_back(FromWindows1252(static_cast<unsigned char>(c)));
    }
    return codepoints;
}

bool Contains(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

}  // namespace

// A rendered glyph: its coverage block (width x height bytes, row after row), where the block
// sits relative to the pen on the baseline, and the advance.
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

// The loaded face at one pixel size with its glyph cache, shared by a font and its duplicates.
struct SysFont::Face {
    FT_Face face = nullptr;
    std::unordered_map<uint32_t, Glyph> glyphs;
    int underlineOffset = 1;
    int underlineThickness = 1;

    ~Face() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }

    const Glyph& GetGlyph(uint32_t codepoint) {
        auto found = glyphs.find(codepoint);
        if (found != glyphs.end()) {
            return found->second;
        }
        Glyph& glyph = glyphs[codepoint];
        // Control characters take no room and show nothing.
        if (codepoint < 0x20) {
            return glyph;
        }
        const FT_UInt index = FT_Get_Char_Index(face, codepoint);
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            return glyph;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr) {
            return glyph;
        }
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
        for (int row = 0; row < glyph.height; ++row) {
            const unsigned char* source =
                bitmap.pitch >= 0 ? bitmap.buffer + row * bitmap.pitch
                                  : bitmap.buffer + (glyph.height - 1 - row) * -bitmap.pitch;
            std::copy(source, source + glyph.width,
                      glyph.coverage.begin() + static_cast<ptrdiff_t>(row) * glyph.width);
        }
        return glyph;
    }
};

int SysFont::PointsToPixels(int pointSize, int dpi) {
    const int dotsPerInch = dpi > 0 ? dpi : 96;
    return static_cast<int>(std::lround(static_cast<double>(pointSize) * dotsPerInch / 72.0));
}

void SysFont::SetFontFolder(const std::string& folder) {
    gFontFolder = folder;
}

std::string SysFont::FontFileFor(const std::string& faceName, bool bold, bool italics) {
    std::string lower = faceName;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string family = "DejaVuSans";
    bool oblique = true;
    if (Contains(lower, "mono") || Contains(lower, "courier") || Contains(lower, "console")) {
        family = "DejaVuSansMono";
    } else if ((Contains(lower, "serif") && !Contains(lower, "sans")) || Contains(lower, "times") ||
               Contains(lower, "georgia")) {
        family = "DejaVuSerif";
        oblique = false;
    }
    std::string style;
    if (bold && italics) {
        style = oblique ? "-BoldOblique" : "-BoldItalic";
    } else if (bold) {
        style = "-Bold";
    } else if (italics) {
        style = oblique ? "-Oblique" : "-Italic";
    }
    return gFontFolder + "/" + family + style + ".ttf";
}

SysFont::SysFont(const std::string& faceName, int pointSize, bool bold, bool italics,
                 bool underline, int dpi)
    : pixelSize_(PointsToPixels(pointSize, dpi)), underline_(underline) {
    filePath_ = FontFileFor(faceName, bold, italics);
    // A style the folder lacks falls back to the regular face.
    if (!FileExists(filePath_)) {
        filePath_ = FontFileFor(faceName, false, false);
    }
    FT_Library library = Library();
    FT_Face face = nullptr;
    if (pixelSize_ <= 0 || library == nullptr ||
        FT_New_Face(library, filePath_.c_str(), 0, &face) != 0) {
        ReportMissingFont(filePath_);
        return;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize_)) != 0) {
        FT_Done_Face(face);
        ReportMissingFont(filePath_);
        return;
    }
    face_ = std::make_shared<Face>();
    face_->face = face;
    const FT_Size_Metrics& metrics = face->size->metrics;
    ascent_ = static_cast<int>((metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-metrics.descender + 63) >> 6);
    height_ = ascent_ + descent;
    const int lineHeight = static_cast<int>((metrics.height + 63) >> 6);
    lineSpacingOffset_ = std::max(0, lineHeight - height_);
    if (FT_IS_SCALABLE(face)) {
        const FT_Long position = FT_MulFix(-face->underline_position, metrics.y_scale);
        const FT_Long thickness = FT_MulFix(face->underline_thickness, metrics.y_scale);
        face_->underlineOffset = std::max(1, static_cast<int>((position + 32) >> 6));
        face_->underlineThickness = std::max(1, static_cast<int>((thickness + 32) >> 6));
    }
}

SysFont::~SysFont() = default;

bool SysFont::IsLoaded() const {
    return face_ != nullptr;
}

Font* SysFont::Duplicate() {
    return new SysFont(*this);
}

int SysFont::StringWidth(const std::string& text) {
    if (face_ == nullptr) {
        return 0;
    }
    int width = 0;
    for (const uint32_t codepoint : DecodeText(text)) {
        width += face_->GetGlyph(codepoint).advance;
    }
    return width;
}

int SysFont::CharWidth(char character) {
    if (face_ == nullptr) {
        return 0;
    }
    return face_->GetGlyph(FromWindows1252(static_cast<unsigned char>(character))).advance;
}

int SysFont::CharAdvance(char character, char) {
    return CharWidth(character);
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                         const Rect& clip) {
    if (face_ == nullptr || g == nullptr || color.alpha == 0) {
        return;
    }
    Image* destination = g->GetDestination();
    const DrawMode mode = g->GetDrawMode();
    std::vector<Span> spans;
    int pen = x;
    for (const uint32_t codepoint : DecodeText(text)) {
        const Glyph& glyph = face_->GetGlyph(codepoint);
        // Positions are translated and truncated like every drawing-context position.
        const int left =
            static_cast<int>(static_cast<float>(pen + glyph.left) + g->GetTranslateX());
        const int top = static_cast<int>(static_cast<float>(y - glyph.top) + g->GetTranslateY());
        pen += glyph.advance;
        const Rect area = Rect(left, top, glyph.width, glyph.height).Intersection(clip);
        if (area.IsEmpty()) {
            continue;
        }
        // One span per run of covered pixels, so untouched pixels stay untouched.
        spans.clear();
        for (int row = area.y; row < area.y + area.height; ++row) {
            const uint8_t* coverage =
                glyph.coverage.data() + static_cast<size_t>(row - top) * glyph.width;
            int column = area.x;
            while (column < area.x + area.width) {
                if (coverage[column - left] == 0) {
                    ++column;
                    continue;
                }
                const int start = column;
                while (column < area.x + area.width && coverage[column - left] != 0) {
                    ++column;
                }
                spans.push_back(Span{row, start, column - start});
            }
        }
        if (!spans.empty()) {
            destination->FillSpansWithCoverage(spans.data(), static_cast<int>(spans.size()), color,
                                               mode, glyph.coverage.data(), left, top, glyph.width,
                                               glyph.height);
        }
    }
    if (underline_ && pen > x) {
        const int left = static_cast<int>(static_cast<float>(x) + g->GetTranslateX());
        const int top =
            static_cast<int>(static_cast<float>(y + face_->underlineOffset) + g->GetTranslateY());
        const Rect line = Rect(left, top, pen - x, face_->underlineThickness).Intersection(clip);
        if (!line.IsEmpty()) {
            destination->FillRect(line, color, mode);
        }
    }
}

}  // namespace Tuvo
