// The game's image store and sprite-drawing front end: every image the game and the menus draw,
// keyed by the path it was loaded under and loaded once, drawn at positions and sizes given as
// fractions of the screen. It also carries the symbol font (symbol_font.cpp), since every text
// is drawn as sprites of the font image.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"

namespace Quillory {

// What the sprite manager takes from the application; the shell provides the real one.
class SpriteHost {
public:
    virtual ~SpriteHost() = default;
    // Turns an image file into a drawable image, or null (the application's LoadDisplayImage).
    virtual std::unique_ptr<Tuvo::Image> LoadDisplayImage(const char* fileName,
                                                          bool commitBits) = 0;
    // The logical screen in pixels (800 x 600 in this game).
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    // The window's client area in pixels.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Whether the renderer is hardware-accelerated (the "3-D" option).
    virtual bool Is3D() const = 0;
    // The multimedia timer: milliseconds since an arbitrary start.
    virtual uint32_t Milliseconds() const = 0;
};

// DrawSprite flags.
constexpr int kSpriteNormalMode = 1;
constexpr int kSpriteAdditiveMode = 2;
constexpr int kSpriteNaturalSize = 8;
constexpr int kSpritePhase = 0x200;  // DrawAnimFrame: speed is a phase from 0 to 1

// DrawGauge flags.
constexpr int kGaugeVertical = 1;
constexpr int kGaugeHorizontal = 2;
constexpr int kGaugeNaturalSize = 4;

// DrawText flags.
constexpr int kTextLeft = 0;
constexpr int kTextCenter = 1;
constexpr int kTextRight = 2;
constexpr int kTextNaturalSize = 0x10;
// Drawn as its characters: not looked up in the language, never taken for an image file (what a
// player typed, captions marked not to translate).
constexpr int kTextLiteral = 0x20;

constexpr int32_t kDrawOk = 0;
constexpr int32_t kDrawFailed = static_cast<int32_t>(0x80004005);

constexpr uint32_t kNoTint = 0xFFFFFFFF;

struct TextureRect {
    float sx0 = 0;
    float sy0 = 0;
    float sx1 = 0;
    float sy1 = 0;
};

struct ScreenRect {
    int screenWidth = 0;
    int screenHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
};

struct ImageSize {
    int width = 0;
    int height = 0;
};

class CSpriteManager {
public:
    static constexpr int kMaxTextures = 750;
    static constexpr int kFontNameSize = 256;
    static constexpr int kSymbolListSize = 256;
    static constexpr int kSymbolWidthCount = 255;
    // All stored images together hold at most 64 screens of 800 x 600 pixels (about 123 MB);
    // the game's own pictures take about 14. A folder of oversized files cannot take the
    // memory of the machine.
    static constexpr int64_t kDefaultPixelBudget = int64_t{64} * 800 * 600;

    CSpriteManager();
    ~CSpriteManager();
    CSpriteManager(const CSpriteManager&) = delete;
    CSpriteManager& operator=(const CSpriteManager&) = delete;

    // The application's services (not owned). Without a host nothing loads, the screen is
    // 800 x 600 and the renderer is software.
    void SetHost(SpriteHost* host) { host_ = host; }
    SpriteHost* Host() const { return host_; }

    // The drawing context of the frame being drawn (not owned); null stops all drawing.
    void SetTarget(Tuvo::Graphics* graphics) { graphics_ = graphics; }
    Tuvo::Graphics* Target() const { return graphics_; }

    // Loads folder + fileName into the table unless that key is already there.
    void LoadTexture(const char* folder, const char* fileName);
    // The image stored under fileName, loaded on first use; null when it cannot be loaded.
    Tuvo::Image* GetTexture(const char* fileName);
    void DeleteAllTextures();
    int TextureCount() const;
    // The pixel budget of all stored images; an image that would pass it is not stored, and
    // the refusal is logged.
    void SetPixelBudget(int64_t pixels);
    int64_t StoredPixels() const;

    // How many files in folder match "*.png", "*.jpg", "*.tga" and "*.bmp".
    int CountImages(const char* folder);
    // Mode bit 1 starts a scan of folder and loads its first image, bit 2 loads the next one.
    // True when this call loaded (or tried to load) an image.
    bool PreloadFolder(const char* folder, int mode);

    int32_t DrawSprite(Tuvo::Image* image, float x, float y, float width, float height, float sx0,
                       float sy0, float sx1, float sy1, uint32_t colour, int flags, float angle);
    int32_t DrawAnimFrame(Tuvo::Image* image, float x, float y, float width, float height,
                          int flags, int columns, int rows, float speed, uint32_t colour);
    // percent from 0 to 100.
    int32_t DrawGauge(Tuvo::Image* backImage, Tuvo::Image* fillImage, float x, float y, float width,
                      float height, float percent, int flags);
    void DrawDigits(Tuvo::Image* image, float x, float y, float spacing, uint32_t colour,
                    const char* text, float scale);

    // Texture rectangle of a 1-based cell of a columns x rows sheet; empty when out of range.
    static TextureRect CellRect(int frame, int columns, int rows);
    ScreenRect GetScreenRect() const;
    static ImageSize GetImageSize(const Tuvo::Image* image);

    // Symbol font (symbol_font.cpp).
    // The font operations are safe to call from the loading thread and the main thread at once.
    // Makes fontFile the current font; the first call also reads the width table. Menus switch
    // fonts several times a draw: the language's values are read again only when they may have
    // changed (LanguageGeneration), and the last few font images are kept at hand.
    void InitSymbolFont(const char* fontFile);
    void SelectFont(const char* fontFile) { InitSymbolFont(fontFile); }
    std::string CurrentFontName() const;
    Tuvo::Image* FontImage() const;
    // Draws one line of text (a language key, literal text or an image file name). Returns 1.
    int DrawText(float x, float y, float size, uint32_t colour, int flags, const char* text);
    // Width of the line DrawText would draw, in screen fractions (glyph texts only).
    float TextWidth(float size, int flags, const char* text);
    int IndexOfSymbol(char character) const;
    int SymbolsInRow() const;
    int SymbolsInCol() const;
    float SymbolWidth(int index) const;

    // The host's screen size (800 x 600 without a host) and multimedia timer (0 without one).
    int ScreenWidth() const;
    int ScreenHeight() const;
    uint32_t Milliseconds() const;

private:
    // Index of key in the table, or -1; the caller holds the lock.
    int FindLocked(const std::string& key) const;
    void ReadSymbolWidths();
    // The symbol list and the grid, from the current language.
    void ReadSymbolGrid();
    // The image of a font file, from the few kept at hand or else the table.
    Tuvo::Image* FontTexture(const char* fontFile);
    // The text DrawText shows: the translation, unless the flags ask for the literal text.
    static std::string Translate(const char* text, int flags);
    void DrawImageText(const std::string& fileName, float x, float y, float size, uint32_t colour,
                       int flags);
    float LineWidth(const std::string& text, float cellWidth) const;

    SpriteHost* host_ = nullptr;
    Tuvo::Graphics* graphics_ = nullptr;

    // Symbol-font block. The loading thread initialises the font while the main thread may be
    // drawing text on the loading screen, so the block has its own lock, always taken before the
    // table's.
    mutable std::recursive_mutex fontMutex_;
    Tuvo::Image* fontImage_ = nullptr;  // owned by the table
    std::array<char, kFontNameSize> fontName_{};
    std::array<char, kSymbolListSize> symbolList_{};
    std::array<float, kSymbolWidthCount> symbolWidths_{};
    bool metricsLoaded_ = false;
    bool gridRead_ = false;
    uint64_t gridLanguage_ = 0;  // the language generation the grid was read from
    struct FontAtHand {
        std::array<char, kFontNameSize> name{};
        Tuvo::Image* image = nullptr;  // owned by the table; forgotten when the table is emptied
    };
    std::array<FontAtHand, 4> fontsAtHand_{};
    size_t nextFontAtHand_ = 0;
    int symbolsInRow_ = 16;
    int symbolsInCol_ = 8;

    float brightness_ = 0.5f;

    // Guards the table: the loading thread preloads while the main thread may load on demand.
    mutable std::mutex tableMutex_;
    std::array<std::unique_ptr<Tuvo::Image>, kMaxTextures> images_;
    std::array<std::string, kMaxTextures> names_;
    int count_ = 0;
    int64_t storedPixels_ = 0;
    int64_t pixelBudget_ = kDefaultPixelBudget;
    // Names that failed to load and were logged; retried, but never logged again.
    std::set<std::string> failedNames_;

    std::vector<std::string> pendingFiles_;
    size_t nextPending_ = 0;
};

}  // namespace Quillory
