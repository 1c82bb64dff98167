// The software back end: an image whose pixels live in memory as 0xAARRGGBB (not
// premultiplied), implementing every drawing operation of the image interface. The common
// operations of a frame (opaque copy, alpha blend with and without tint, additive, fills,
// nearest and smooth stretch) have fast row loops; each also has a plain per-pixel reference
// path, and both give identical pixels (see pixel_blend.h for the formulas). The fast paths also
// draw fewer pixels: a source's clear stretches are skipped, a clear under an opaque copy is
// not written, an opaque copy that repeats the last one (the same unchanged picture at the same
// place, as a screen's background each frame) copies only what was drawn over it since, and a
// stretch asked for again at the same size is a blit of a kept stretched copy (stretch_cache.h).
// SetFastPathsEnabled(false), or the environment variable QUILLORY_REFERENCE_BLIT=1, forces the
// reference paths.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics/blit_rows.h"
#include "framework/graphics/image.h"
#include "framework/graphics/stretch_cache.h"

namespace Tuvo {

// Per row, the stretches [start, end) of pixels that are not fully transparent, so that drawing
// an image with large clear areas skips them without reading them, and opaque stretches of at
// least kOpaqueRun pixels, which a plain draw copies without looking at them. Transparent gaps
// shorter than kGap pixels stay inside a stretch: a stretch costs a call and a few tests, which
// a short gap does not repay. That bounds the table to two 12-byte entries per 65 pixels plus
// one per row (with its 4-byte index): under a tenth of the image's own memory, plus 16 bytes
// a row.
struct VisibleRuns {
    static constexpr int kGap = 64;
    static constexpr int kOpaqueRun = 64;
    struct Run {
        int start = 0;
        int end = 0;
        bool opaque = false;
    };
    bool known = false;
    // height + 1 entries: row y's runs are [rowFirst[y], rowFirst[y + 1]).
    std::vector<uint32_t> rowFirst;
    std::vector<Run> runs;

    // Rows lie `pitch` pixels apart.
    void Build(const uint32_t* pixels, int width, int height, int pitch);

private:
    // Adds the visible stretch [start, end) of a row, split at its long opaque stretches.
    void AddStretch(const uint32_t* row, int start, int end);
};

class MemoryImage : public Image {
public:
    MemoryImage() = default;
    // A width x height image of transparent black.
    MemoryImage(int width, int height);
    // A copy of the pixels and the image's description.
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage&) = delete;
    ~MemoryImage() override;

    // Largest side accepted; bigger requests make an empty image.
    static constexpr int kMaxSide = 16384;

    // Slot 17 on: pixel access and upload. Whoever writes through GetBits calls BitsChanged
    // afterwards: the image keeps facts about its pixels (alpha, clear stretches, what still
    // matches the last opaque copy) that such writes make stale.
    // Resizes to width x height of transparent black; false (and an empty image) when a side
    // is negative or beyond kMaxSide.
    bool Create(int width, int height);
    // Takes a copy of width x height pixels; commit is kept for accelerated back ends.
    bool SetBits(const uint32_t* bits, int width, int height, bool commit = true);
    // Draws from now on into width x height pixels that the caller owns and keeps alive, rows
    // pitchInPixels apart (a window's own pixels, say), as they are: nothing is cleared. Create
    // or SetBits return to memory of the image's own. False, and nothing changes, for a null
    // pointer, a side beyond kMaxSide or a pitch below the width.
    bool UseExternalPixels(uint32_t* pixels, int width, int height, int pitchInPixels);
    bool HasExternalPixels() const { return bits_ != nullptr && bits_ != ownPixels_.data(); }
    // The first row's pixels; the next row starts GetPitch() pixels further on.
    uint32_t* GetBits() {
        WritePendingFill();
        return bits_;
    }
    const uint32_t* GetBits() const {
        WritePendingFill();
        return bits_;
    }
    // The distance between rows in pixels: the width, unless the pixels are external.
    int GetPitch() const { return pitch_; }
    // Call after writing through GetBits, so the image re-checks what it knows of its pixels.
    void BitsChanged() {
        ForgetBackdrop();
        MarkChanged();
    }
    uint32_t GetPixel(int x, int y) const;
    // Whether some pixel is not opaque (the image has an alpha channel).
    bool HasAlpha() const;

    static void SetFastPathsEnabled(bool enabled);
    static bool FastPathsEnabled();

    bool FillPolygon(const PointF* vertices, int vertexCount, const Rect* clip, const Color& color,
                     DrawMode mode, float tx, float ty) override;
    void FillRect(const Rect& rect, const Color& color, DrawMode mode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                  DrawMode mode) override;
    void DrawSmoothLine(double x1, double y1, double x2, double y2, const Color& color,
                        DrawMode mode) override;
    void FillSpansWithCoverage(const Span* spans, int spanCount, const Color& color, DrawMode mode,
                               const uint8_t* coverage, int coverX, int coverY, int coverWidth,
                               int coverHeight) override;
    void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
              DrawMode mode) override;
    void BlitAt(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                const Color& color, DrawMode mode) override;
    void BlitRotated(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                     const Color& color, DrawMode mode, double angle, float cx, float cy) override;
    void StretchBlit(Image* source, const Rect& destRect, const Rect& sourceRect, const Rect& clip,
                     const Color& color, DrawMode mode, bool fastStretch) override;
    void BlitWithMatrix(Image* source, float x, float y, const Matrix3x3& matrix, const Rect& clip,
                        const Color& color, DrawMode mode, const Rect& sourceRect,
                        bool linearBlend) override;
    void BlitTriangleList(Image* texture, const TriVertex (*triangles)[3], int triangleCount,
                          const Rect& clip, const Color& color, DrawMode mode, float tx, float ty,
                          bool blend) override;
    void BlitFlipped(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                     DrawMode mode) override;
    void StretchBlitFlipped(Image* source, const Rect& destRect, const Rect& sourceRect,
                            const Rect& clip, const Color& color, DrawMode mode,
                            bool fastStretch) override;

private:
    Rect Bounds() const { return Rect(0, 0, width_, height_); }
    uint32_t* Row(int y) { return bits_ + static_cast<size_t>(y) * pitch_; }
    // The pixels' content changed (perhaps only as a pending fill): what is known of them goes.
    void MarkChanged();
    // The pixels inside `area` were written.
    void MarkWritten(const Rect& area) {
        Damage(area);
        MarkChanged();
    }
    // The image's visible runs, worked out on first use after a change.
    const VisibleRuns& Runs() const;
    // An opaque fill is kept back, as a few rectangles not yet written, so that opaque copies
    // drawn over it later (a background and a panel over the cleared screen) leave only what
    // they do not cover to be filled. Every operation first settles the pending fill where it
    // draws: written where it reads or blends the pixels, dropped where it overwrites them all.
    // Anything that looks at the pixels (const ones too) writes all of it first.
    void WritePendingFill() const { SettlePendingFill(Bounds(), true); }
    // Writes (`write`) or drops the pending fill inside `area`; the rest stays pending.
    void SettlePendingFill(const Rect& area, bool write) const;
    // Keeps a part of the pending fill; when all places are taken, the smallest part is
    // written at once.
    void KeepPendingPart(const Rect& part) const;
    void WriteFill(const Rect& area, uint32_t color) const;
    // Notes that the pixels of `area` may no longer match the backdrop.
    void Damage(const Rect& area) const;
    void ForgetBackdrop() const {
        backdrop_.dest = Rect();
        backdrop_.damageCount = 0;
    }
    // An opaque copy of `from` (a part of source) onto `dest`, already settled with the pending
    // fill: when it repeats the backdrop, copies only its damaged parts and returns true.
    bool RestoreBackdrop(const MemoryImage* source, const Rect& from, const Rect& dest);
    // After a full opaque copy: it becomes the backdrop when it covers the present one (or there
    // is none), and is damage to it otherwise.
    void KeepBackdrop(const MemoryImage* source, const Rect& from, const Rect& dest);
    // Blit of a source whose alpha channel is given (a stretched copy draws as its original).
    // False when nothing of it lies inside both images.
    bool DrawPixels(MemoryImage* source, int x, int y, const Rect& sourceRect, const Color& color,
                    DrawMode mode, bool sourceHasAlpha);
    // The kept stretched copy for the key, made now if it was asked for before; else null.
    MemoryImage* StretchedCopy(const StretchCache::Key& key);
    // The source's pixels; an image drawn onto itself is read from a copy made first.
    const uint32_t* ReadablePixels(const MemoryImage* source,
                                   std::vector<uint32_t>& selfCopy) const;
    // Blends a fill colour over count pixels starting at (x, y) (already inside the image).
    void FillRow(int x, int y, int count, uint32_t color, DrawMode mode);
    void FillPixelChecked(int x, int y, uint32_t color, DrawMode mode);
    void Stretch(MemoryImage* source, const Rect& destRect, const Rect& sourceRect,
                 const Rect& clip, const Color& color, DrawMode mode, bool fastStretch,
                 bool mirror);
    // Draws the source rect through the forward transform (source-rect pixels to destination
    // pixels), sampling nearest or bilinear at every covered destination pixel centre.
    // forward holds a, b, c, d, e, f of x' = a x + b y + c, y' = d x + e y + f.
    void BlitTransformed(MemoryImage* source, const Rect& sourceRect, const double (&forward)[6],
                         const Rect& clip, const Color& color, DrawMode mode, bool bilinear);

    // Every access goes through bits_ and pitch_: they point into ownPixels_ (rows width_
    // apart) or into the caller's memory.
    std::vector<uint32_t> ownPixels_;
    uint32_t* bits_ = nullptr;
    int pitch_ = 0;
    struct PendingFill {
        static constexpr int kMaxParts = 8;
        Rect parts[kMaxParts];
        int count = 0;
        uint32_t color = 0;
    };
    mutable PendingFill pendingFill_;
    // The last opaque copy that covered the one before (the screen's background, drawn first
    // each frame) and the parts of it drawn over since, as a few rectangles that may overlap;
    // outside them the pixels are still the source's. An empty dest means none is kept.
    struct Backdrop {
        static constexpr int kMaxDamage = 24;
        const MemoryImage* source = nullptr;  // compared only, never read through
        uint64_t sourceGeneration = 0;
        Rect sourceRect;
        Rect dest;
        Rect damage[kMaxDamage];
        int damageCount = 0;
    };
    mutable Backdrop backdrop_;
    // Unique among all images and changed with every change of the content, so that a kept
    // backdrop never matches a changed picture or another one made at the same address.
    static uint64_t NextGeneration();
    uint64_t generation_ = NextGeneration();
    mutable bool alphaKnown_ = true;
    mutable bool hasAlpha_ = false;
    mutable VisibleRuns visibleRuns_;
    std::unique_ptr<StretchCache> stretchCache_;  // made at the first stretch drawn
    // The row stretches of the blit being drawn, kept to save an allocation per blit.
    std::vector<BlitRows::RowSegment> segments_;
};

}  // namespace Tuvo
