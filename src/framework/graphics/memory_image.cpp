// The software image: its pixels, fills, clears, lines, spans and polygons. The blits are in
// memory_image_blit.cpp.
#include "framework/graphics/memory_image.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "framework/graphics/blit_rows.h"
#include "framework/graphics/pixel_blend.h"

namespace Tuvo {

using namespace PixelBlend;

namespace {

// -1 until first asked; then 1 (fast paths) or 0 (reference paths only).
std::atomic<int> gFastPaths{-1};

// The last generation handed out to an image's content.
std::atomic<uint64_t> gGeneration{0};

// Beyond this, coordinates are treated as invalid input rather than drawn.
constexpr double kCoordinateLimit = 1e7;

bool ValidCoordinate(double value) {
    return std::isfinite(value) && std::fabs(value) < kCoordinateLimit;
}

// Clips the segment to the box (Liang-Barsky); false when nothing of it is inside.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top,
                 double right, double bottom) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    const double startX = x1 + t0 * dx;
    const double startY = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = startX;
    y1 = startY;
    return true;
}

int64_t AreaOf(const Rect& rect) {
    return int64_t{rect.width} * rect.height;
}

// The smallest rectangle holding both (non-empty) rectangles.
Rect Bounding(const Rect& a, const Rect& b) {
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return Rect(left, top, right - left, bottom - top);
}

// The fill colour with its alpha scaled by a 0..256 weight.
uint32_t WithAlphaWeight(uint32_t color, uint32_t weight) {
    return (color & 0x00FFFFFF) | (((Alpha(color) * weight) >> 8) << 24);
}

}  // namespace

MemoryImage::MemoryImage(int width, int height) {
    Create(width, height);
}

MemoryImage::MemoryImage(const MemoryImage& other) : Image(other, true) {
    other.WritePendingFill();
    ownPixels_.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        std::copy_n(other.bits_ + static_cast<size_t>(y) * other.pitch_, width_,
                    ownPixels_.data() + static_cast<size_t>(y) * width_);
    }
    bits_ = ownPixels_.empty() ? nullptr : ownPixels_.data();
    pitch_ = width_;
    alphaKnown_ = other.alphaKnown_;
    hasAlpha_ = other.hasAlpha_;
}

MemoryImage::~MemoryImage() = default;

void MemoryImage::SetFastPathsEnabled(bool enabled) {
    gFastPaths.store(enabled ? 1 : 0);
}

bool MemoryImage::FastPathsEnabled() {
    int state = gFastPaths.load();
    if (state < 0) {
        const char* reference = std::getenv("QUILLORY_REFERENCE_BLIT");
        state = (reference != nullptr && reference[0] != '\0' && std::strcmp(reference, "0") != 0)
                    ? 0
                    : 1;
        gFastPaths.store(state);
    }
    return state == 1;
}

uint64_t MemoryImage::NextGeneration() {
    return gGeneration.fetch_add(1, std::memory_order_relaxed) + 1;
}

void MemoryImage::MarkChanged() {
    alphaKnown_ = false;
    visibleRuns_.known = false;
    generation_ = NextGeneration();
}

bool MemoryImage::Create(int width, int height) {
    pendingFill_.count = 0;
    ForgetBackdrop();
    stretchCache_.reset();
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) {
        ownPixels_.clear();
        bits_ = nullptr;
        pitch_ = 0;
        width_ = 0;
        height_ = 0;
        alphaKnown_ = true;
        hasAlpha_ = false;
        visibleRuns_.known = false;
        generation_ = NextGeneration();
        return false;
    }
    ownPixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    bits_ = ownPixels_.empty() ? nullptr : ownPixels_.data();
    pitch_ = width;
    width_ = width;
    height_ = height;
    MarkChanged();
    return true;
}

bool MemoryImage::SetBits(const uint32_t* bits, int width, int height, bool) {
    if (bits == nullptr || !Create(width, height)) {
        return false;
    }
    std::memcpy(ownPixels_.data(), bits, ownPixels_.size() * sizeof(uint32_t));
    MarkChanged();
    return true;
}

bool MemoryImage::UseExternalPixels(uint32_t* pixels, int width, int height, int pitchInPixels) {
    if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        pitchInPixels < width) {
        return false;
    }
    pendingFill_.count = 0;  // a fill kept back belonged to the old pixels
    ForgetBackdrop();        // and so did the background copy they held
    stretchCache_.reset();
    ownPixels_.clear();
    ownPixels_.shrink_to_fit();
    bits_ = pixels;
    pitch_ = pitchInPixels;
    width_ = width;
    height_ = height;
    MarkChanged();
    return true;
}

uint32_t MemoryImage::GetPixel(int x, int y) const {
    WritePendingFill();
    if (!Bounds().Contains(x, y)) {
        return 0;
    }
    return bits_[static_cast<size_t>(y) * pitch_ + x];
}

bool MemoryImage::HasAlpha() const {
    WritePendingFill();
    if (!alphaKnown_) {
        hasAlpha_ = false;
        for (int y = 0; y < height_ && !hasAlpha_; ++y) {
            const uint32_t* row = bits_ + static_cast<size_t>(y) * pitch_;
            hasAlpha_ =
                std::any_of(row, row + width_, [](uint32_t pixel) { return (pixel >> 24) != 255; });
        }
        alphaKnown_ = true;
    }
    return hasAlpha_;
}

void VisibleRuns::Build(const uint32_t* pixels, int width, int height, int pitch) {
    rowFirst.assign(static_cast<size_t>(height) + 1, 0);
    runs.clear();
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * pitch;
        rowFirst[y] = static_cast<uint32_t>(runs.size());
        int stretchStart = -1;
        int stretchEnd = -1;
        for (int x = 0; x < width;) {
            if (Alpha(row[x]) == 0) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < width && Alpha(row[end]) != 0) {
                ++end;
            }
            if (stretchStart >= 0 && x - stretchEnd < kGap) {
                stretchEnd = end;
            } else {
                if (stretchStart >= 0) {
                    AddStretch(row, stretchStart, stretchEnd);
                }
                stretchStart = x;
                stretchEnd = end;
            }
            x = end;
        }
        if (stretchStart >= 0) {
            AddStretch(row, stretchStart, stretchEnd);
        }
    }
    rowFirst[height] = static_cast<uint32_t>(runs.size());
    known = true;
}

void VisibleRuns::AddStretch(const uint32_t* row, int start, int end) {
    int mixedStart = start;
    for (int x = start; x < end;) {
        if (Alpha(row[x]) != 255) {
            ++x;
            continue;
        }
        int opaqueEnd = x + 1;
        while (opaqueEnd < end && Alpha(row[opaqueEnd]) == 255) {
            ++opaqueEnd;
        }
        if (opaqueEnd - x >= kOpaqueRun) {
            if (x > mixedStart) {
                runs.push_back(Run{mixedStart, x, false});
            }
            runs.push_back(Run{x, opaqueEnd, true});
            mixedStart = opaqueEnd;
        }
        x = opaqueEnd;
    }
    if (end > mixedStart) {
        runs.push_back(Run{mixedStart, end, false});
    }
}

const VisibleRuns& MemoryImage::Runs() const {
    WritePendingFill();
    if (!visibleRuns_.known) {
        visibleRuns_.Build(bits_, width_, height_, pitch_);
    }
    return visibleRuns_;
}

void MemoryImage::FillRow(int x, int y, int count, uint32_t color, DrawMode mode) {
    uint32_t* row = Row(y) + x;
    if (FastPathsEnabled()) {
        BlitRows::FillRowFast(row, count, color, mode);
    } else {
        BlitRows::FillRowReference(row, count, color, mode);
    }
}

void MemoryImage::FillPixelChecked(int x, int y, uint32_t color, DrawMode mode) {
    if (!Bounds().Contains(x, y)) {
        return;
    }
    uint32_t& pixel = Row(y)[x];
    pixel = FillPixel(pixel, color, mode);
}

void MemoryImage::FillRect(const Rect& rect, const Color& color, DrawMode mode) {
    const Rect area = rect.Intersection(Bounds());
    if (area.IsEmpty()) {
        return;
    }
    const uint32_t packed = PackColor(color);
    if (mode == kDrawModeNormal && Alpha(packed) == 255 && FastPathsEnabled()) {
        WritePendingFill();
        pendingFill_.parts[0] = area;
        pendingFill_.count = 1;
        pendingFill_.color = packed;
        MarkChanged();
        return;
    }
    SettlePendingFill(area, true);
    for (int y = area.y; y < area.y + area.height; ++y) {
        FillRow(area.x, y, area.width, packed, mode);
    }
    MarkWritten(area);
}

void MemoryImage::WriteFill(const Rect& area, uint32_t color) const {
    Damage(area);
    for (int row = area.y; row < area.y + area.height; ++row) {
        std::fill_n(bits_ + static_cast<size_t>(row) * pitch_ + area.x, area.width, color);
    }
}

void MemoryImage::SettlePendingFill(const Rect& area, bool write) const {
    if (pendingFill_.count == 0) {
        return;
    }
    Rect parts[PendingFill::kMaxParts];
    const int count = pendingFill_.count;
    std::copy_n(pendingFill_.parts, count, parts);
    pendingFill_.count = 0;
    for (int i = 0; i < count; ++i) {
        const Rect& part = parts[i];
        const Rect inside = part.Intersection(area);
        if (inside.IsEmpty()) {
            KeepPendingPart(part);
            continue;
        }
        if (write) {
            WriteFill(inside, pendingFill_.color);
        }
        // What is left: the bands above and below, and the pieces left and right of it.
        const int insideBottom = inside.y + inside.height;
        const int insideRight = inside.x + inside.width;
        KeepPendingPart(Rect(part.x, part.y, part.width, inside.y - part.y));
        KeepPendingPart(
            Rect(part.x, insideBottom, part.width, part.y + part.height - insideBottom));
        KeepPendingPart(Rect(part.x, inside.y, inside.x - part.x, inside.height));
        KeepPendingPart(
            Rect(insideRight, inside.y, part.x + part.width - insideRight, inside.height));
    }
}

void MemoryImage::KeepPendingPart(const Rect& part) const {
    if (part.IsEmpty()) {
        return;
    }
    PendingFill& pending = pendingFill_;
    if (pending.count < PendingFill::kMaxParts) {
        pending.parts[pending.count++] = part;
        return;
    }
    auto size = [](const Rect& rect) { return int64_t{rect.width} * rect.height; };
    Rect* smallest =
        std::min_element(pending.parts, pending.parts + pending.count,
                         [&](const Rect& a, const Rect& b) { return size(a) < size(b); });
    if (size(part) <= size(*smallest)) {
        WriteFill(part, pending.color);
        return;
    }
    WriteFill(*smallest, pending.color);
    *smallest = part;
}

void MemoryImage::Damage(const Rect& area) const {
    Backdrop& backdrop = backdrop_;
    Rect part = area.Intersection(backdrop.dest);
    if (part.IsEmpty()) {
        return;
    }
    // A rectangle whose bounds with the part cost no more to copy than the two (neighbouring
    // letters of a text, a picture drawn over itself) is taken into the part.
    for (int i = 0; i < backdrop.damageCount;) {
        const Rect joined = Bounding(backdrop.damage[i], part);
        if (AreaOf(joined) > AreaOf(backdrop.damage[i]) + AreaOf(part)) {
            ++i;
            continue;
        }
        part = joined;
        backdrop.damage[i] = backdrop.damage[--backdrop.damageCount];
        i = 0;
    }
    if (backdrop.damageCount < Backdrop::kMaxDamage) {
        backdrop.damage[backdrop.damageCount++] = part;
        return;
    }
    // All places taken: the part joins the rectangle whose bounds grow least by it.
    int best = 0;
    int64_t bestGrowth = std::numeric_limits<int64_t>::max();
    for (int i = 0; i < backdrop.damageCount; ++i) {
        const Rect& kept = backdrop.damage[i];
        const int64_t growth = AreaOf(Bounding(kept, part)) - AreaOf(kept);
        if (growth < bestGrowth) {
            best = i;
            bestGrowth = growth;
        }
    }
    backdrop.damage[best] = Bounding(backdrop.damage[best], part);
}

bool MemoryImage::RestoreBackdrop(const MemoryImage* source, const Rect& from, const Rect& dest) {
    const Backdrop& backdrop = backdrop_;
    if (backdrop.dest.IsEmpty() || !(backdrop.dest == dest) || !(backdrop.sourceRect == from) ||
        backdrop.source != source || backdrop.sourceGeneration != source->generation_) {
        return false;
    }
    int64_t damaged = 0;
    for (int i = 0; i < backdrop.damageCount; ++i) {
        damaged += AreaOf(backdrop.damage[i]);
    }
    if (damaged >= AreaOf(dest)) {
        return false;  // as cheap to copy it all
    }
    source->WritePendingFill();
    const size_t sourceStride = static_cast<size_t>(source->pitch_);
    for (int i = 0; i < backdrop.damageCount; ++i) {
        const Rect& part = backdrop.damage[i];
        const int sourceX = from.x + part.x - dest.x;
        const int sourceY = from.y + part.y - dest.y;
        for (int row = 0; row < part.height; ++row) {
            std::memcpy(Row(part.y + row) + part.x,
                        source->bits_ + (sourceY + row) * sourceStride + sourceX,
                        static_cast<size_t>(part.width) * sizeof(uint32_t));
        }
    }
    backdrop_.damageCount = 0;
    return true;
}

void MemoryImage::KeepBackdrop(const MemoryImage* source, const Rect& from, const Rect& dest) {
    Backdrop& backdrop = backdrop_;
    if (!backdrop.dest.IsEmpty() && !dest.ContainsRect(backdrop.dest)) {
        Damage(dest);
        return;
    }
    backdrop.source = source;
    backdrop.sourceGeneration = source->generation_;
    backdrop.sourceRect = from;
    backdrop.dest = dest;
    backdrop.damageCount = 0;
}

void MemoryImage::ClearRect(const Rect& rect) {
    const Rect area = rect.Intersection(Bounds());
    if (area.IsEmpty()) {
        return;
    }
    SettlePendingFill(area, false);
    for (int y = area.y; y < area.y + area.height; ++y) {
        std::fill_n(Row(y) + area.x, area.width, 0u);
    }
    MarkWritten(area);
}

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                           DrawMode mode) {
    WritePendingFill();
    if (!ValidCoordinate(x1) || !ValidCoordinate(y1) || !ValidCoordinate(x2) ||
        !ValidCoordinate(y2) || width_ == 0 || height_ == 0) {
        return;
    }
    // Pixel (x, y) covers [x - 0.5, x + 0.5) around its rounded centre; keep a margin so the
    // rounded end points of a clipped line stay on the original line.
    if (!ClipSegment(x1, y1, x2, y2, -1.0, -1.0, width_, height_)) {
        return;
    }
    int x = static_cast<int>(std::floor(x1 + 0.5));
    int y = static_cast<int>(std::floor(y1 + 0.5));
    const int endX = static_cast<int>(std::floor(x2 + 0.5));
    const int endY = static_cast<int>(std::floor(y2 + 0.5));
    const int dx = std::abs(endX - x);
    const int dy = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1;
    const int stepY = y < endY ? 1 : -1;
    int error = dx + dy;
    const uint32_t packed = PackColor(color);
    // The line stays inside the box of its end points.
    const Rect box(std::min(x, endX), std::min(y, endY), dx + 1, -dy + 1);
    while (true) {
        FillPixelChecked(x, y, packed, mode);
        if (x == endX && y == endY) {
            break;
        }
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
    MarkWritten(box);
}

void MemoryImage::DrawSmoothLine(double x1, double y1, double x2, double y2, const Color& color,
                                 DrawMode mode) {
    WritePendingFill();
    if (!ValidCoordinate(x1) || !ValidCoordinate(y1) || !ValidCoordinate(x2) ||
        !ValidCoordinate(y2) || width_ == 0 || height_ == 0) {
        return;
    }
    if (!ClipSegment(x1, y1, x2, y2, -2.0, -2.0, width_ + 1.0, height_ + 1.0)) {
        return;
    }
    // Wu's line: along the major axis, each step covers the two pixels nearest the line with
    // weights from the distance to their centres.
    const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const double dx = x2 - x1;
    const double gradient = dx == 0 ? 0 : (y2 - y1) / dx;
    const uint32_t packed = PackColor(color);
    auto plot = [&](int major, int minor, double coverage) {
        const uint32_t weight =
            static_cast<uint32_t>(std::lround(std::clamp(coverage, 0.0, 1.0) * 256));
        if (weight == 0) {
            return;
        }
        const uint32_t pixelColor = WithAlphaWeight(packed, weight);
        if (steep) {
            FillPixelChecked(minor, major, pixelColor, mode);
        } else {
            FillPixelChecked(major, minor, pixelColor, mode);
        }
    };
    const int first = static_cast<int>(std::floor(x1 + 0.5));
    const int last = static_cast<int>(std::floor(x2 + 0.5));
    int lowest = std::numeric_limits<int>::max();
    int highest = std::numeric_limits<int>::min();
    for (int major = first; major <= last; ++major) {
        const double minorPosition = y1 + gradient * (major - x1);
        const double below = std::floor(minorPosition);
        const double fraction = minorPosition - below;
        plot(major, static_cast<int>(below), 1.0 - fraction);
        plot(major, static_cast<int>(below) + 1, fraction);
        lowest = std::min(lowest, static_cast<int>(below));
        highest = std::max(highest, static_cast<int>(below) + 1);
    }
    if (first <= last) {
        const Rect box(first, lowest, last - first + 1, highest - lowest + 1);
        MarkWritten(steep ? Rect(box.y, box.x, box.height, box.width) : box);
    }
}

void MemoryImage::FillSpansWithCoverage(const Span* spans, int spanCount, const Color& color,
                                        DrawMode mode, const uint8_t* coverage, int coverX,
                                        int coverY, int coverWidth, int coverHeight) {
    WritePendingFill();
    if (spans == nullptr || coverage == nullptr || coverWidth <= 0 || coverHeight <= 0) {
        return;
    }
    const Rect cover(coverX, coverY, coverWidth, coverHeight);
    const uint32_t packed = PackColor(color);
    for (int i = 0; i < spanCount; ++i) {
        const Rect run = Rect(spans[i].x, spans[i].y, spans[i].width, 1).Intersection(Bounds());
        for (int x = run.x; x < run.x + run.width; ++x) {
            // Pixels outside the coverage block have no coverage byte and are left alone.
            if (!cover.Contains(x, run.y)) {
                continue;
            }
            const uint8_t byte = coverage[static_cast<size_t>(run.y - coverY) * coverWidth +
                                          static_cast<size_t>(x - coverX)];
            FillPixelChecked(x, run.y, WithAlphaWeight(packed, byte + 1u), mode);
        }
    }
    MarkWritten(cover);
}

bool MemoryImage::FillPolygon(const PointF* vertices, int vertexCount, const Rect* clip,
                              const Color& color, DrawMode mode, float tx, float ty) {
    WritePendingFill();
    if (vertices == nullptr || vertexCount < 3) {
        return true;
    }
    std::vector<double> xs(static_cast<size_t>(vertexCount));
    std::vector<double> ys(static_cast<size_t>(vertexCount));
    double top = INFINITY;
    double bottom = -INFINITY;
    double left = INFINITY;
    double right = -INFINITY;
    for (int i = 0; i < vertexCount; ++i) {
        xs[i] = static_cast<double>(vertices[i].x) + tx;
        ys[i] = static_cast<double>(vertices[i].y) + ty;
        if (!ValidCoordinate(xs[i]) || !ValidCoordinate(ys[i])) {
            return true;
        }
        top = std::min(top, ys[i]);
        bottom = std::max(bottom, ys[i]);
        left = std::min(left, xs[i]);
        right = std::max(right, xs[i]);
    }
    const Rect area = clip != nullptr ? clip->Intersection(Bounds()) : Bounds();
    if (area.IsEmpty()) {
        return true;
    }
    const uint32_t packed = PackColor(color);
    // A pixel is inside when its centre is (even-odd rule).
    const int firstRow = std::max(area.y, static_cast<int>(std::ceil(top - 0.5)));
    const int lastRow = std::min(area.y + area.height - 1, static_cast<int>(std::floor(bottom)));
    std::vector<double> crossings;
    for (int y = firstRow; y <= lastRow; ++y) {
        const double centreY = y + 0.5;
        crossings.clear();
        for (int i = 0; i < vertexCount; ++i) {
            const int j = (i + 1) % vertexCount;
            const double y0 = ys[i];
            const double y1 = ys[j];
            if ((y0 <= centreY && centreY < y1) || (y1 <= centreY && centreY < y0)) {
                crossings.push_back(xs[i] + (centreY - y0) * (xs[j] - xs[i]) / (y1 - y0));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const int start = std::max(area.x, static_cast<int>(std::ceil(crossings[k] - 0.5)));
            const int end =
                std::min(area.x + area.width, static_cast<int>(std::ceil(crossings[k + 1] - 0.5)));
            if (end > start) {
                FillRow(start, y, end - start, packed, mode);
            }
        }
    }
    // Every filled pixel lies within a pixel of the corners' box.
    const int boxLeft = static_cast<int>(std::floor(left)) - 1;
    const int boxRight = static_cast<int>(std::ceil(right)) + 1;
    MarkWritten(Rect(boxLeft, firstRow, boxRight - boxLeft, lastRow - firstRow + 1));
    return true;
}

}  // namespace Tuvo
