// The software image's blits: plain, flipped, stretched, sub-pixel, rotated, matrix and
// textured triangles. Plain, flipped and nearest-stretched blits have fast row loops; the rest
// sample every covered destination pixel centre.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/graphics/blit_rows.h"
#include "framework/graphics/memory_image.h"
#include "framework/graphics/pixel_blend.h"
#include "framework/graphics/stretch_cache.h"

namespace Tuvo {

using namespace PixelBlend;

namespace {

// A 2-D affine map in doubles: x' = a x + b y + c, y' = d x + e y + f.
struct Affine {
    double a = 1, b = 0, c = 0;
    double d = 0, e = 1, f = 0;

    static Affine FromMatrix(const Matrix3x3& m) {
        return Affine{m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2]};
    }
    static Affine Translation(double tx, double ty) { return Affine{1, 0, tx, 0, 1, ty}; }
    // Same rotation matrix as Matrix3x3::Rotation.
    static Affine Rotation(double angle) {
        const double cosine = std::cos(angle);
        const double sine = std::sin(angle);
        return Affine{cosine, sine, 0, -sine, cosine, 0};
    }
    Affine operator*(const Affine& r) const {
        return Affine{a * r.a + b * r.d, a * r.b + b * r.e, a * r.c + b * r.f + c,
                      d * r.a + e * r.d, d * r.b + e * r.e, d * r.c + e * r.f + f};
    }
    bool Invert(Affine& inverse) const {
        const double determinant = a * e - b * d;
        if (!std::isfinite(determinant) || std::fabs(determinant) < 1e-12) {
            return false;
        }
        inverse = Affine{e / determinant,  -b / determinant, (b * f - c * e) / determinant,
                         -d / determinant, a / determinant,  (c * d - a * f) / determinant};
        return true;
    }
    void Apply(double x, double y, double& outX, double& outY) const {
        outX = a * x + b * y + c;
        outY = d * x + e * y + f;
    }
};

MemoryImage* AsMemoryImage(Image* image) {
    auto* memory = dynamic_cast<MemoryImage*>(image);
    if (memory == nullptr || memory->GetBits() == nullptr) {
        return nullptr;
    }
    return memory;
}

bool RectInside(const Rect& inner, const Image& image) {
    return Rect(0, 0, image.GetWidth(), image.GetHeight()).ContainsRect(inner);
}

// Bilinear mix of four pixels (weights of the second column and row in 0..256). Colours are
// weighted by their alpha so transparent neighbours do not darken the edge.
uint32_t Bilinear(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx,
                  uint32_t fy) {
    const uint64_t weights[4] = {uint64_t{256 - fx} * (256 - fy), uint64_t{fx} * (256 - fy),
                                 uint64_t{256 - fx} * fy, uint64_t{fx} * fy};
    const uint32_t pixels[4] = {p00, p10, p01, p11};
    uint64_t alphaSum = 0;
    uint64_t red = 0;
    uint64_t green = 0;
    uint64_t blue = 0;
    for (int i = 0; i < 4; ++i) {
        const uint64_t weighted = weights[i] * Alpha(pixels[i]);
        alphaSum += weighted;
        red += weighted * Red(pixels[i]);
        green += weighted * Green(pixels[i]);
        blue += weighted * Blue(pixels[i]);
    }
    if (alphaSum == 0) {
        return 0;
    }
    const uint64_t half = alphaSum / 2;
    return Pack(static_cast<uint32_t>((alphaSum + 32768) >> 16),
                static_cast<uint32_t>((red + half) / alphaSum),
                static_cast<uint32_t>((green + half) / alphaSum),
                static_cast<uint32_t>((blue + half) / alphaSum));
}

// Bilinear() with the same result, cheaper: where the four pixels share one alpha the alpha
// cancels out of every quotient and the divisions become a shift; elsewhere the sums fit 32 bits.
inline uint32_t BilinearQuick(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx,
                              uint32_t fy) {
    const uint32_t w00 = (256 - fx) * (256 - fy);
    const uint32_t w10 = fx * (256 - fy);
    const uint32_t w01 = (256 - fx) * fy;
    const uint32_t w11 = fx * fy;
    const uint32_t a = Alpha(p00);
    if (a == Alpha(p10) && a == Alpha(p01) && a == Alpha(p11)) {
        if (a == 0) {
            return 0;
        }
        auto channel = [&](int shift) {
            const uint32_t sum = w00 * ((p00 >> shift) & 0xFF) + w10 * ((p10 >> shift) & 0xFF) +
                                 w01 * ((p01 >> shift) & 0xFF) + w11 * ((p11 >> shift) & 0xFF);
            return (sum + 32768) >> 16;
        };
        return Pack(a, channel(16), channel(8), channel(0));
    }
    // Each weighted alpha is below 2^24 and each weighted channel sum below 255 * 2^24 < 2^32.
    const uint32_t a00 = w00 * a;
    const uint32_t a10 = w10 * Alpha(p10);
    const uint32_t a01 = w01 * Alpha(p01);
    const uint32_t a11 = w11 * Alpha(p11);
    const uint32_t alphaSum = a00 + a10 + a01 + a11;
    if (alphaSum == 0) {
        return 0;
    }
    const uint32_t half = alphaSum / 2;
    // One division for the three channels: the quotient through the reciprocal is never above
    // the exact one and at most one below it (where the exact one is whole), so one step mends it.
    const double reciprocal = 1.0 / alphaSum;
    auto channel = [&](int shift) {
        const uint32_t sum = a00 * ((p00 >> shift) & 0xFF) + a10 * ((p10 >> shift) & 0xFF) +
                             a01 * ((p01 >> shift) & 0xFF) + a11 * ((p11 >> shift) & 0xFF);
        const uint64_t numerator = uint64_t{sum} + half;
        uint64_t quotient = static_cast<uint64_t>(static_cast<double>(numerator) * reciprocal);
        if (numerator - quotient * alphaSum >= alphaSum) {
            ++quotient;
        }
        return static_cast<uint32_t>(quotient);
    };
    return Pack((alphaSum + 32768) >> 16, channel(16), channel(8), channel(0));
}

// Everything a stretched draw needs, clipped and checked by the caller.
struct StretchJob {
    const uint32_t* source = nullptr;
    int sourceStride = 0;
    Rect sourceRect;
    Rect destRect;
    Rect area;  // the part of destRect inside the clip and the destination
    uint32_t* dest = nullptr;
    int destStride = 0;
    Modulation mod;
    bool sourceHasAlpha = false;
    DrawMode mode = kDrawModeNormal;
    bool mirror = false;

    uint32_t SourcePixel(int column, int row) const {
        return source[static_cast<size_t>(sourceRect.y + row) * sourceStride + sourceRect.x +
                      column];
    }
    const uint32_t* SourceRow(int row) const {
        return source + static_cast<size_t>(sourceRect.y + row) * sourceStride;
    }
    uint32_t* DestRow(int y) const { return dest + static_cast<size_t>(y) * destStride; }
    // Nearest: destination pixel centre i + 0.5 samples source pixel
    // floor((i + 0.5) * sourceSize / destSize) along each axis.
    int NearestColumn(int destX) const {
        const int64_t i = destX - destRect.x;
        const int column =
            static_cast<int>((2 * i + 1) * sourceRect.width / (2 * int64_t{destRect.width}));
        return mirror ? sourceRect.width - 1 - column : column;
    }
    int NearestRow(int destY) const {
        const int64_t j = destY - destRect.y;
        return static_cast<int>((2 * j + 1) * sourceRect.height / (2 * int64_t{destRect.height}));
    }
};

// Smooth: the two source pixels around the mapped centre of destination pixel `index`, clamped
// to the source's edge, and the 0..255 weight of the second. Positions are 16.16 fixed point.
struct SmoothTap {
    int first = 0;
    int second = 0;
    uint32_t weight = 0;
};

SmoothTap SmoothSample(int64_t index, int64_t sourceSize, int64_t destSize) {
    int64_t position = ((2 * index + 1) * sourceSize * 65536) / (2 * destSize) - 32768;
    position = std::clamp<int64_t>(position, 0, (sourceSize - 1) * 65536);
    SmoothTap tap;
    tap.first = static_cast<int>(position >> 16);
    tap.second = std::min<int>(tap.first + 1, static_cast<int>(sourceSize) - 1);
    tap.weight = static_cast<uint32_t>((position & 0xFFFF) >> 8);
    return tap;
}

SmoothTap SmoothColumn(const StretchJob& job, int destX) {
    SmoothTap tap = SmoothSample(destX - job.destRect.x, job.sourceRect.width, job.destRect.width);
    if (job.mirror) {
        tap.first = job.sourceRect.width - 1 - tap.first;
        tap.second = job.sourceRect.width - 1 - tap.second;
    }
    return tap;
}

SmoothTap SmoothRow(const StretchJob& job, int destY) {
    return SmoothSample(destY - job.destRect.y, job.sourceRect.height, job.destRect.height);
}

void StretchNearestReference(const StretchJob& job) {
    const Rect& area = job.area;
    for (int y = area.y; y < area.y + area.height; ++y) {
        uint32_t* out = job.DestRow(y);
        for (int x = area.x; x < area.x + area.width; ++x) {
            out[x] = BlendPixel(out[x], job.SourcePixel(job.NearestColumn(x), job.NearestRow(y)),
                                job.sourceHasAlpha, job.mod, job.mode);
        }
    }
}

void StretchNearestRows(const StretchJob& job) {
    const Rect& area = job.area;
    std::vector<int> columns(static_cast<size_t>(area.width));
    for (int i = 0; i < area.width; ++i) {
        columns[i] = job.sourceRect.x + job.NearestColumn(area.x + i);
    }
    const BlitRows::RowGather gather(std::move(columns), job.sourceStride);
    // An opaque source drawn plainly is gathered straight into the destination, and a row that
    // repeats the source row above it is copied from there.
    const bool plainCopy = job.mode == kDrawModeNormal && job.mod.isWhite && !job.sourceHasAlpha;
    std::vector<uint32_t> gathered(plainCopy ? 0 : static_cast<size_t>(area.width));
    int previousSourceRow = -1;
    const uint32_t* previousOut = nullptr;
    for (int y = area.y; y < area.y + area.height; ++y) {
        const int sourceRow = job.NearestRow(y);
        uint32_t* out = job.DestRow(y) + area.x;
        if (plainCopy && sourceRow == previousSourceRow) {
            std::memcpy(out, previousOut, static_cast<size_t>(area.width) * 4);
            continue;
        }
        const uint32_t* in = job.SourceRow(sourceRow);
        gather.Gather(plainCopy ? out : gathered.data(), in);
        if (!plainCopy) {
            BlitRows::BlendRowFast(out, gathered.data(), area.width, job.sourceHasAlpha, job.mod,
                                   job.mode);
        }
        previousSourceRow = sourceRow;
        previousOut = out;
    }
}

void StretchSmoothReference(const StretchJob& job) {
    const Rect& area = job.area;
    for (int y = area.y; y < area.y + area.height; ++y) {
        const SmoothTap row = SmoothRow(job, y);
        uint32_t* out = job.DestRow(y);
        for (int x = area.x; x < area.x + area.width; ++x) {
            const SmoothTap column = SmoothColumn(job, x);
            const uint32_t sample = Bilinear(
                job.SourcePixel(column.first, row.first), job.SourcePixel(column.second, row.first),
                job.SourcePixel(column.first, row.second),
                job.SourcePixel(column.second, row.second), column.weight, row.weight);
            out[x] = BlendPixel(out[x], sample, job.sourceHasAlpha, job.mod, job.mode);
        }
    }
}

// Smooth samples of a stretch row by row: the columns and their weights are worked out once.
class SmoothRowSampler {
public:
    explicit SmoothRowSampler(const StretchJob& job) : job_(job) {
        const Rect& area = job.area;
        const size_t width = static_cast<size_t>(area.width);
        firsts_.resize(width);
        seconds_.resize(width);
        weights_.resize(width);
        for (size_t i = 0; i < width; ++i) {
            const SmoothTap column = SmoothColumn(job, area.x + static_cast<int>(i));
            firsts_[i] = job.sourceRect.x + column.first;
            seconds_[i] = job.sourceRect.x + column.second;
            weights_[i] = static_cast<int32_t>(column.weight);
        }
    }
    // The samples of destination row y into out (area.width of them); false when they are
    // those of the row sampled before, which out still holds.
    bool Sample(int y, uint32_t* out) {
        const SmoothTap row = SmoothRow(job_, y);
        if (row.first == previous_.first && row.second == previous_.second &&
            row.weight == previous_.weight) {
            return false;
        }
        const uint32_t* top = job_.SourceRow(row.first);
        const uint32_t* bottom = job_.SourceRow(row.second);
        const int width = job_.area.width;
        int i = BlitRows::SampleBilinearRowFast(out, top, bottom, firsts_.data(), seconds_.data(),
                                                weights_.data(), width, row.weight);
        for (; i < width; ++i) {
            out[i] = BilinearQuick(top[firsts_[i]], top[seconds_[i]], bottom[firsts_[i]],
                                   bottom[seconds_[i]], weights_[i], row.weight);
        }
        previous_ = row;
        return true;
    }

private:
    const StretchJob& job_;
    std::vector<int32_t> firsts_;
    std::vector<int32_t> seconds_;
    std::vector<int32_t> weights_;
    SmoothTap previous_{-1, -1, 0};
};

// Each row of samples is blended by the fast row loops; a row whose samples repeat the
// previous one's is not sampled again.
void StretchSmoothRows(const StretchJob& job) {
    SmoothRowSampler sampler(job);
    std::vector<uint32_t> samples(static_cast<size_t>(job.area.width));
    for (int y = job.area.y; y < job.area.y + job.area.height; ++y) {
        sampler.Sample(y, samples.data());
        BlitRows::BlendRowFast(job.DestRow(y) + job.area.x, samples.data(), job.area.width,
                               job.sourceHasAlpha, job.mod, job.mode);
    }
}

// The samples of the whole area, row after row, into out (area.width x area.height).
void SampleStretch(const StretchJob& job, bool nearest, uint32_t* out) {
    const Rect& area = job.area;
    const size_t width = static_cast<size_t>(area.width);
    if (nearest) {
        std::vector<int> columns(width);
        for (size_t i = 0; i < width; ++i) {
            columns[i] = job.sourceRect.x + job.NearestColumn(area.x + static_cast<int>(i));
        }
        const BlitRows::RowGather gather(std::move(columns), job.sourceStride);
        for (int y = area.y; y < area.y + area.height; ++y) {
            gather.Gather(out + (y - area.y) * width, job.SourceRow(job.NearestRow(y)));
        }
        return;
    }
    SmoothRowSampler sampler(job);
    for (int y = area.y; y < area.y + area.height; ++y) {
        uint32_t* row = out + (y - area.y) * width;
        // The first row is always sampled.
        if (!sampler.Sample(y, row)) {
            std::memcpy(row, row - width, width * sizeof(uint32_t));
        }
    }
}

// A 0..256 weight from a fraction in [0, 1].
uint32_t FractionWeight(double fraction) {
    return static_cast<uint32_t>(std::lround(fraction * 256.0));
}

}  // namespace

const uint32_t* MemoryImage::ReadablePixels(const MemoryImage* source,
                                            std::vector<uint32_t>& selfCopy) const {
    source->WritePendingFill();
    if (source != this) {
        return source->bits_;
    }
    // The copy keeps the rows' pitch, so callers address it as the image itself.
    const size_t extent = height_ == 0 ? 0 : static_cast<size_t>(height_ - 1) * pitch_ + width_;
    selfCopy.assign(bits_, bits_ + extent);
    return selfCopy.data();
}

void MemoryImage::Blit(Image* sourceImage, int x, int y, const Rect& sourceRect, const Color& color,
                       DrawMode mode) {
    MemoryImage* source = AsMemoryImage(sourceImage);
    if (source != nullptr &&
        DrawPixels(source, x, y, sourceRect, color, mode, source->HasAlpha())) {
        source->hasBeenDrawn_ = true;
    }
}

bool MemoryImage::DrawPixels(MemoryImage* source, int x, int y, const Rect& sourceRect,
                             const Color& color, DrawMode mode, bool sourceHasAlpha) {
    if (bits_ == nullptr) {
        return false;
    }
    // The caller has clipped; clip again to both images so a bad request cannot leave them.
    const Rect wanted = sourceRect.Intersection(source->Bounds());
    x += wanted.x - sourceRect.x;
    y += wanted.y - sourceRect.y;
    const Rect dest = Rect(x, y, wanted.width, wanted.height).Intersection(Bounds());
    if (dest.IsEmpty()) {
        return false;
    }
    const int sourceX = wanted.x + dest.x - x;
    const int sourceY = wanted.y + dest.y - y;
    const Modulation mod(color);
    const bool fast = FastPathsEnabled();
    const bool opaqueCopy =
        fast && source != this && !sourceHasAlpha && mod.isWhite && mode == kDrawModeNormal;
    SettlePendingFill(dest, !opaqueCopy);
    const Rect from(sourceX, sourceY, dest.width, dest.height);
    if (opaqueCopy && RestoreBackdrop(source, from, dest)) {
        MarkChanged();
        return true;
    }
    std::vector<uint32_t> selfCopy;
    const uint32_t* sourcePixels = ReadablePixels(source, selfCopy);
    if (!fast) {
        for (int row = 0; row < dest.height; ++row) {
            BlitRows::BlendRowReference(
                Row(dest.y + row) + dest.x,
                sourcePixels + static_cast<size_t>(sourceY + row) * source->pitch_ + sourceX,
                dest.width, sourceHasAlpha, mod, mode);
        }
        MarkWritten(dest);
        return true;
    }
    // A fully transparent source pixel leaves the destination as it is in every mode, so only
    // the source's visible runs are drawn; all of them in one call.
    const VisibleRuns* runs = sourceHasAlpha ? &source->Runs() : nullptr;
    // At most one segment per row, or per run of the rows drawn.
    const size_t most = runs == nullptr
                            ? static_cast<size_t>(dest.height)
                            : runs->rowFirst[sourceY + dest.height] - runs->rowFirst[sourceY];
    if (segments_.size() < most) {
        segments_.resize(most);
    }
    BlitRows::RowSegment* segment = segments_.data();
    const int sourceEnd = sourceX + dest.width;
    const size_t sourceStride = static_cast<size_t>(source->pitch_);
    // The box of the source columns and rows drawn: all that the blit can change.
    int drawnLeft = sourceEnd;
    int drawnRight = sourceX;
    int drawnTop = -1;
    int drawnBottom = -1;
    for (int row = 0; row < dest.height; ++row) {
        uint32_t* out = Row(dest.y + row) + dest.x;
        const uint32_t* in = sourcePixels + (sourceY + row) * sourceStride;
        if (runs == nullptr) {
            *segment++ = {out, in + sourceX, dest.width, !sourceHasAlpha};
            continue;
        }
        const VisibleRuns::Run* run = runs->runs.data() + runs->rowFirst[sourceY + row];
        const VisibleRuns::Run* last = runs->runs.data() + runs->rowFirst[sourceY + row + 1];
        for (; run < last && run->start < sourceEnd; ++run) {
            const int start = std::max(run->start, sourceX);
            const int end = std::min(run->end, sourceEnd);
            if (start < end) {
                *segment++ = {out + (start - sourceX), in + start, end - start, run->opaque};
                drawnLeft = std::min(drawnLeft, start);
                drawnRight = std::max(drawnRight, end);
                drawnTop = drawnTop < 0 ? row : drawnTop;
                drawnBottom = row;
            }
        }
    }
    BlitRows::BlendSegmentsFast(segments_.data(), static_cast<size_t>(segment - segments_.data()),
                                sourceHasAlpha, mod, mode);
    if (opaqueCopy) {
        KeepBackdrop(source, from, dest);
        MarkChanged();
    } else if (runs == nullptr) {
        MarkWritten(dest);
    } else if (drawnTop >= 0) {
        MarkWritten(Rect(dest.x + drawnLeft - sourceX, dest.y + drawnTop, drawnRight - drawnLeft,
                         drawnBottom - drawnTop + 1));
    }
    return true;
}

void MemoryImage::BlitFlipped(Image* sourceImage, int x, int y, const Rect& sourceRect,
                              const Color& color, DrawMode mode) {
    MemoryImage* source = AsMemoryImage(sourceImage);
    if (source == nullptr || bits_ == nullptr) {
        return;
    }
    // Cutting the source on one side cuts the mirrored box on the other.
    const Rect wanted = sourceRect.Intersection(source->Bounds());
    const int rightCut = (sourceRect.x + sourceRect.width) - (wanted.x + wanted.width);
    x += rightCut;
    y += wanted.y - sourceRect.y;
    const Rect dest = Rect(x, y, wanted.width, wanted.height).Intersection(Bounds());
    if (dest.IsEmpty()) {
        return;
    }
    WritePendingFill();
    source->hasBeenDrawn_ = true;
    const Modulation mod(color);
    const bool sourceHasAlpha = source->HasAlpha();
    const bool fast = FastPathsEnabled();
    std::vector<uint32_t> selfCopy;
    const uint32_t* sourcePixels = ReadablePixels(source, selfCopy);
    std::vector<uint32_t> mirrored(static_cast<size_t>(dest.width));
    for (int row = 0; row < dest.height; ++row) {
        const int sourceY = wanted.y + dest.y + row - y;
        const uint32_t* in = sourcePixels + static_cast<size_t>(sourceY) * source->pitch_;
        uint32_t* out = Row(dest.y + row) + dest.x;
        for (int i = 0; i < dest.width; ++i) {
            // Destination column dest.x + i is box column (dest.x + i - x), counted from the
            // source's right end.
            const int sourceX = wanted.x + wanted.width - 1 - (dest.x + i - x);
            if (fast) {
                mirrored[i] = in[sourceX];
            } else {
                out[i] = BlendPixel(out[i], in[sourceX], sourceHasAlpha, mod, mode);
            }
        }
        if (fast) {
            BlitRows::BlendRowFast(out, mirrored.data(), dest.width, sourceHasAlpha, mod, mode);
        }
    }
    MarkWritten(dest);
}

void MemoryImage::StretchBlit(Image* source, const Rect& destRect, const Rect& sourceRect,
                              const Rect& clip, const Color& color, DrawMode mode,
                              bool fastStretch) {
    Stretch(AsMemoryImage(source), destRect, sourceRect, clip, color, mode, fastStretch, false);
}

void MemoryImage::StretchBlitFlipped(Image* source, const Rect& destRect, const Rect& sourceRect,
                                     const Rect& clip, const Color& color, DrawMode mode,
                                     bool fastStretch) {
    Stretch(AsMemoryImage(source), destRect, sourceRect, clip, color, mode, fastStretch, true);
}

void MemoryImage::Stretch(MemoryImage* source, const Rect& destRect, const Rect& sourceRect,
                          const Rect& clip, const Color& color, DrawMode mode, bool fastStretch,
                          bool mirror) {
    if (source == nullptr || bits_ == nullptr || sourceRect.IsEmpty() || destRect.IsEmpty() ||
        !RectInside(sourceRect, *source)) {
        return;
    }
    const Rect area = destRect.Intersection(clip).Intersection(Bounds());
    if (area.IsEmpty()) {
        return;
    }
    const bool fast = FastPathsEnabled();
    if (fast && destRect.width == sourceRect.width && destRect.height == sourceRect.height) {
        // At 1:1 both samplings pick each source pixel whole: a plain (or mirrored) copy gives
        // the same pixels.
        const int sourceY = sourceRect.y + area.y - destRect.y;
        if (mirror) {
            const int sourceX =
                sourceRect.x + sourceRect.width - (area.x - destRect.x) - area.width;
            BlitFlipped(source, area.x, area.y, Rect(sourceX, sourceY, area.width, area.height),
                        color, mode);
        } else {
            const int sourceX = sourceRect.x + area.x - destRect.x;
            Blit(source, area.x, area.y, Rect(sourceX, sourceY, area.width, area.height), color,
                 mode);
        }
        return;
    }
    source->hasBeenDrawn_ = true;
    const Modulation mod(color);
    const bool sourceHasAlpha = source->HasAlpha();
    if (fast && source != this) {
        // A stretch drawn before at this size is a blit of its kept copy: the same samples,
        // blended as the source's own would be.
        const StretchCache::Key key{sourceRect, destRect.width, destRect.height, fastStretch,
                                    mirror};
        MemoryImage* copy = source->StretchedCopy(key);
        if (copy != nullptr) {
            DrawPixels(copy, area.x, area.y,
                       Rect(area.x - destRect.x, area.y - destRect.y, area.width, area.height),
                       color, mode, sourceHasAlpha);
            return;
        }
    }
    const bool opaqueCopy = fast && fastStretch && source != this && !sourceHasAlpha &&
                            mod.isWhite && mode == kDrawModeNormal;
    SettlePendingFill(area, !opaqueCopy);
    std::vector<uint32_t> selfCopy;
    StretchJob job;
    job.source = ReadablePixels(source, selfCopy);
    job.sourceStride = source->pitch_;
    job.sourceRect = sourceRect;
    job.destRect = destRect;
    job.area = area;
    job.mod = mod;
    job.sourceHasAlpha = sourceHasAlpha;
    job.mode = mode;
    job.mirror = mirror;
    job.dest = bits_;
    job.destStride = pitch_;
    if (fastStretch) {
        fast ? StretchNearestRows(job) : StretchNearestReference(job);
    } else {
        fast ? StretchSmoothRows(job) : StretchSmoothReference(job);
    }
    MarkWritten(area);
}

MemoryImage* MemoryImage::StretchedCopy(const StretchCache::Key& key) {
    if (stretchCache_ == nullptr) {
        stretchCache_ = std::make_unique<StretchCache>();
    }
    MemoryImage* copy = stretchCache_->Find(key, generation_);
    if (copy != nullptr || !stretchCache_->WorthKeeping(key)) {
        return copy;
    }
    WritePendingFill();
    auto made = std::make_unique<MemoryImage>(key.width, key.height);
    StretchJob job;
    job.source = bits_;
    job.sourceStride = pitch_;
    job.sourceRect = key.sourceRect;
    job.destRect = Rect(0, 0, key.width, key.height);
    job.area = job.destRect;
    job.mirror = key.mirror;
    SampleStretch(job, key.nearest, made->bits_);
    made->MarkChanged();
    return stretchCache_->Keep(key, std::move(made));
}

void MemoryImage::BlitAt(Image* sourceImage, float x, float y, const Rect& sourceRect,
                         const Rect& clip, const Color& color, DrawMode mode) {
    MemoryImage* source = AsMemoryImage(sourceImage);
    if (source == nullptr) {
        return;
    }
    // Whole-pixel positions give exactly a clipped plain blit.
    if (FastPathsEnabled() && x == std::floor(x) && y == std::floor(y) && std::fabs(x) < 1e7f &&
        std::fabs(y) < 1e7f && RectInside(sourceRect, *source)) {
        const int left = static_cast<int>(x);
        const int top = static_cast<int>(y);
        const Rect dest = Rect(left, top, sourceRect.width, sourceRect.height).Intersection(clip);
        if (!dest.IsEmpty()) {
            Blit(source, dest.x, dest.y,
                 Rect(sourceRect.x + dest.x - left, sourceRect.y + dest.y - top, dest.width,
                      dest.height),
                 color, mode);
        }
        return;
    }
    BlitRotated(source, x, y, sourceRect, clip, color, mode, 0.0, 0.0f, 0.0f);
}

void MemoryImage::BlitRotated(Image* sourceImage, float x, float y, const Rect& sourceRect,
                              const Rect& clip, const Color& color, DrawMode mode, double angle,
                              float cx, float cy) {
    MemoryImage* source = AsMemoryImage(sourceImage);
    if (source == nullptr) {
        return;
    }
    const Affine forward = Affine::Translation(double{x} + cx, double{y} + cy) *
                           Affine::Rotation(angle) * Affine::Translation(-double{cx}, -double{cy});
    const double map[6] = {forward.a, forward.b, forward.c, forward.d, forward.e, forward.f};
    BlitTransformed(source, sourceRect, map, clip, color, mode, true);
}

void MemoryImage::BlitWithMatrix(Image* sourceImage, float x, float y, const Matrix3x3& matrix,
                                 const Rect& clip, const Color& color, DrawMode mode,
                                 const Rect& sourceRect, bool linearBlend) {
    MemoryImage* source = AsMemoryImage(sourceImage);
    if (source == nullptr) {
        return;
    }
    const Affine forward = Affine::Translation(x, y) * Affine::FromMatrix(matrix) *
                           Affine::Translation(-sourceRect.width / 2.0, -sourceRect.height / 2.0);
    const double map[6] = {forward.a, forward.b, forward.c, forward.d, forward.e, forward.f};
    BlitTransformed(source, sourceRect, map, clip, color, mode, linearBlend);
}

void MemoryImage::BlitTransformed(MemoryImage* source, const Rect& sourceRect,
                                  const double (&map)[6], const Rect& clip, const Color& color,
                                  DrawMode mode, bool bilinear) {
    WritePendingFill();
    if (bits_ == nullptr || sourceRect.IsEmpty() || !RectInside(sourceRect, *source)) {
        return;
    }
    const Affine forward{map[0], map[1], map[2], map[3], map[4], map[5]};
    Affine inverse;
    if (!forward.Invert(inverse)) {
        return;
    }
    // Destination box of the four corners, one pixel wider for the bilinear edge.
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    const double cornersX[4] = {0, double(sourceRect.width), 0, double(sourceRect.width)};
    const double cornersY[4] = {0, 0, double(sourceRect.height), double(sourceRect.height)};
    for (int i = 0; i < 4; ++i) {
        double outX = 0;
        double outY = 0;
        forward.Apply(cornersX[i], cornersY[i], outX, outY);
        left = std::min(left, outX);
        right = std::max(right, outX);
        top = std::min(top, outY);
        bottom = std::max(bottom, outY);
    }
    const Rect limit = clip.Intersection(Bounds());
    if (limit.IsEmpty() || !std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top) ||
        !std::isfinite(bottom)) {
        return;
    }
    // Positions and matrices are unbounded doubles: a box that misses the clip stops here, so
    // every bound below lies within a pixel of the clip and converts to int safely.
    if (right < limit.x - 1 || left > limit.x + limit.width + 1 || bottom < limit.y - 1 ||
        top > limit.y + limit.height + 1) {
        return;
    }
    const int firstX = static_cast<int>(std::max<double>(limit.x, std::floor(left) - 1));
    const int firstY = static_cast<int>(std::max<double>(limit.y, std::floor(top) - 1));
    const int endX =
        static_cast<int>(std::min<double>(limit.x + limit.width, std::ceil(right) + 1));
    const int endY =
        static_cast<int>(std::min<double>(limit.y + limit.height, std::ceil(bottom) + 1));
    if (firstX >= endX || firstY >= endY) {
        return;
    }
    source->hasBeenDrawn_ = true;
    const Modulation mod(color);
    const bool sourceHasAlpha = source->HasAlpha();
    std::vector<uint32_t> selfCopy;
    const uint32_t* sourcePixels = ReadablePixels(source, selfCopy);
    const int width = sourceRect.width;
    const int height = sourceRect.height;
    // A source pixel, or transparent outside the source rect.
    auto texel = [&](int column, int row) -> uint32_t {
        if (column < 0 || row < 0 || column >= width || row >= height) {
            return 0;
        }
        return sourcePixels[static_cast<size_t>(sourceRect.y + row) * source->pitch_ +
                            sourceRect.x + column];
    };
    for (int y = firstY; y < endY; ++y) {
        uint32_t* out = Row(y);
        for (int x = firstX; x < endX; ++x) {
            double u = 0;
            double v = 0;
            inverse.Apply(x + 0.5, y + 0.5, u, v);
            uint32_t sample = 0;
            if (bilinear) {
                const double sampleU = u - 0.5;
                const double sampleV = v - 0.5;
                // Written so that a NaN sample position is skipped too.
                if (!(sampleU > -1 && sampleV > -1 && sampleU < width && sampleV < height)) {
                    continue;
                }
                int column = static_cast<int>(std::floor(sampleU));
                int row = static_cast<int>(std::floor(sampleV));
                uint32_t weightX = FractionWeight(sampleU - column);
                uint32_t weightY = FractionWeight(sampleV - row);
                // A weight that rounds to a whole pixel takes that pixel alone.
                if (weightX == 256) {
                    ++column;
                    weightX = 0;
                }
                if (weightY == 256) {
                    ++row;
                    weightY = 0;
                }
                sample =
                    Bilinear(texel(column, row), texel(column + 1, row), texel(column, row + 1),
                             texel(column + 1, row + 1), weightX, weightY);
                if (sample == 0) {
                    continue;
                }
            } else {
                if (!(u >= 0 && v >= 0 && u < width && v < height)) {
                    continue;
                }
                sample = texel(static_cast<int>(u), static_cast<int>(v));
            }
            out[x] = BlendPixel(out[x], sample, sourceHasAlpha, mod, mode);
        }
    }
    MarkWritten(Rect(firstX, firstY, endX - firstX, endY - firstY));
}

void MemoryImage::BlitTriangleList(Image* textureImage, const TriVertex (*triangles)[3],
                                   int triangleCount, const Rect& clip, const Color& color,
                                   DrawMode mode, float tx, float ty, bool blend) {
    WritePendingFill();
    MemoryImage* texture = AsMemoryImage(textureImage);
    if (texture == nullptr || triangles == nullptr || bits_ == nullptr) {
        return;
    }
    const Rect limit = clip.Intersection(Bounds());
    if (limit.IsEmpty()) {
        return;
    }
    texture->hasBeenDrawn_ = true;
    const bool textureHasAlpha = texture->HasAlpha();
    std::vector<uint32_t> selfCopy;
    const uint32_t* texels = ReadablePixels(texture, selfCopy);
    const int textureWidth = texture->width_;
    const int textureHeight = texture->height_;
    const size_t texturePitch = static_cast<size_t>(texture->pitch_);
    const Modulation callMod(color);
    auto clampedTexel = [&](int column, int row) {
        column = std::clamp(column, 0, textureWidth - 1);
        row = std::clamp(row, 0, textureHeight - 1);
        return texels[static_cast<size_t>(row) * texturePitch + column];
    };

    for (int t = 0; t < triangleCount; ++t) {
        double px[3], py[3];
        bool valid = true;
        for (int k = 0; k < 3; ++k) {
            px[k] = double{triangles[t][k].x} + tx;
            py[k] = double{triangles[t][k].y} + ty;
            valid = valid && std::isfinite(px[k]) && std::isfinite(py[k]) &&
                    std::fabs(px[k]) < 1e7 && std::fabs(py[k]) < 1e7;
        }
        const double area = (px[1] - px[0]) * (py[2] - py[0]) - (py[1] - py[0]) * (px[2] - px[0]);
        if (!valid || std::fabs(area) < 1e-9) {
            continue;
        }
        const int firstX =
            std::max(limit.x, static_cast<int>(std::floor(std::min({px[0], px[1], px[2]}))));
        const int firstY =
            std::max(limit.y, static_cast<int>(std::floor(std::min({py[0], py[1], py[2]}))));
        const int endX = std::min(limit.x + limit.width,
                                  static_cast<int>(std::ceil(std::max({px[0], px[1], px[2]}))) + 1);
        const int endY = std::min(limit.y + limit.height,
                                  static_cast<int>(std::ceil(std::max({py[0], py[1], py[2]}))) + 1);
        // Edge k runs from corner k+1 to corner k+2; its weight belongs to corner k. Pixels on
        // an edge belong to the triangle only for top or left edges, so neighbours sharing an
        // edge draw it once.
        auto edge = [&](int k, double x, double y) {
            const int from = (k + 1) % 3;
            const int to = (k + 2) % 3;
            const double value =
                (px[to] - px[from]) * (y - py[from]) - (py[to] - py[from]) * (x - px[from]);
            return area > 0 ? value : -value;
        };
        auto ownsEdge = [&](int k) {
            const int from = (k + 1) % 3;
            const int to = (k + 2) % 3;
            double dx = px[to] - px[from];
            double dy = py[to] - py[from];
            if (area < 0) {
                dx = -dx;
                dy = -dy;
            }
            return (dy == 0 && dx < 0) || dy > 0;
        };
        const double absArea = std::fabs(area);
        for (int y = firstY; y < endY; ++y) {
            uint32_t* out = Row(y);
            for (int x = firstX; x < endX; ++x) {
                double weight[3];
                bool inside = true;
                for (int k = 0; k < 3 && inside; ++k) {
                    const double value = edge(k, x + 0.5, y + 0.5);
                    inside = value > 0 || (value == 0 && ownsEdge(k));
                    weight[k] = value / absArea;
                }
                if (!inside) {
                    continue;
                }
                double u = 0, v = 0, a = 0, r = 0, g = 0, b = 0;
                for (int k = 0; k < 3; ++k) {
                    const TriVertex& corner = triangles[t][k];
                    u += weight[k] * corner.u;
                    v += weight[k] * corner.v;
                    a += weight[k] * Alpha(corner.color);
                    r += weight[k] * Red(corner.color);
                    g += weight[k] * Green(corner.color);
                    b += weight[k] * Blue(corner.color);
                }
                const double textureU = u * textureWidth;
                const double textureV = v * textureHeight;
                uint32_t sample = 0;
                if (blend) {
                    const double sampleU = textureU - 0.5;
                    const double sampleV = textureV - 0.5;
                    const int column = static_cast<int>(std::floor(sampleU));
                    const int row = static_cast<int>(std::floor(sampleV));
                    sample =
                        Bilinear(clampedTexel(column, row), clampedTexel(column + 1, row),
                                 clampedTexel(column, row + 1), clampedTexel(column + 1, row + 1),
                                 std::min(255u, FractionWeight(sampleU - column)),
                                 std::min(255u, FractionWeight(sampleV - row)));
                } else {
                    sample = clampedTexel(static_cast<int>(std::floor(textureU)),
                                          static_cast<int>(std::floor(textureV)));
                }
                // The corner colour modulates together with the call's colour.
                Color combined(
                    static_cast<int>(std::lround(r)) * static_cast<int>(callMod.red) / 255,
                    static_cast<int>(std::lround(g)) * static_cast<int>(callMod.green) / 255,
                    static_cast<int>(std::lround(b)) * static_cast<int>(callMod.blue) / 255,
                    static_cast<int>(std::lround(a)) * static_cast<int>(callMod.alpha) / 255);
                out[x] = BlendPixel(out[x], sample, textureHasAlpha, Modulation(combined), mode);
            }
        }
    }
    MarkWritten(limit);
}

}  // namespace Tuvo
