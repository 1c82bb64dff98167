// Drawing the margins plot: axes and grid, stage bands, one polyline per series and stage, and
// labels in a small built-in pixel font (the game's fonts need the sprite manager).
#include "sim/level_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "imagefiles/png_writer.h"
#include "platform/atomic_file.h"

namespace QuillorySim {

const uint32_t kSeriesColours[kBotSeriesCount] = {
    0xFF1F4E9A,  // good, Classic: dark blue
    0xFF6FA8E8,  // good, Transformer: light blue
    0xFFC25A00,  // casual, Classic: dark orange
    0xFFF2A65A,  // casual, Transformer: light orange
};

namespace {

using Tuvo::Color;
using Tuvo::Rect;

constexpr Color kBackground{255, 255, 255};
constexpr Color kBonusShade{246, 240, 214};
constexpr Color kGrid{225, 225, 225};
constexpr Color kAxis{90, 90, 90};
constexpr Color kText{40, 40, 40};
constexpr int kTextScale = 2;
constexpr int kPointSize = 7;

// A 3 x 5 pixel font: five rows of three bits, the top row first, the left pixel the high bit.
struct Glyph {
    char character;
    uint8_t rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'%', {5, 1, 2, 4, 5}}, {'-', {0, 0, 7, 0, 0}},
    {'/', {1, 1, 2, 4, 4}}, {'A', {2, 5, 7, 5, 5}}, {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},
    {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'G', {3, 4, 5, 5, 3}}, {'I', {7, 2, 2, 2, 7}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}},
    {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}}, {'W', {5, 5, 7, 7, 5}},
};

const Glyph* FindGlyph(char character) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.character == character) {
            return &glyph;
        }
    }
    return nullptr;
}

int TextWidth(const std::string& text) {
    return static_cast<int>(text.size()) * 4 * kTextScale - kTextScale;
}

// Upper-case text with its top left corner at (x, y); unknown characters leave a gap.
void DrawText(Tuvo::MemoryImage& image, int x, int y, const std::string& text, const Color& color) {
    for (char character : text) {
        if (const Glyph* glyph = FindGlyph(character)) {
            for (int row = 0; row < 5; ++row) {
                for (int column = 0; column < 3; ++column) {
                    if (glyph->rows[row] & (4 >> column)) {
                        image.FillRect(Rect(x + column * kTextScale, y + row * kTextScale,
                                            kTextScale, kTextScale),
                                       color, Tuvo::kDrawModeNormal);
                    }
                }
            }
        }
        x += 4 * kTextScale;
    }
}

std::string PercentLabel(double share) {
    char text[16];
    std::snprintf(text, sizeof(text), "%ld%%", std::lround(share * 100));
    return text;
}

void DrawBackground(const std::vector<BotLevel>& levels, const PlotLayout& layout,
                    Tuvo::MemoryImage& image) {
    image.FillRect(Rect(0, 0, PlotLayout::kWidth, PlotLayout::kHeight), kBackground,
                   Tuvo::kDrawModeNormal);
    const double step =
        layout.levelCount > 0
            ? static_cast<double>(PlotLayout::kRight - PlotLayout::kLeft) / layout.levelCount
            : 0;
    for (const BotLevel& level : levels) {
        if (level.bonus) {
            const int left = static_cast<int>(std::lround(layout.X(level.level) - step / 2));
            image.FillRect(Rect(left, PlotLayout::kTop, static_cast<int>(std::lround(step)),
                                PlotLayout::kBottom - PlotLayout::kTop),
                           kBonusShade, Tuvo::kDrawModeNormal);
        }
    }
    // A grid line at every tenth of the clock, with its label on the left.
    const int tenths = static_cast<int>(std::lround((layout.highest - layout.lowest) * 10));
    for (int i = 0; i <= tenths; ++i) {
        const double margin = layout.lowest + i / 10.0;
        const int y = static_cast<int>(std::lround(layout.Y(margin)));
        const bool zero = std::fabs(margin) < 1e-9;
        image.FillRect(Rect(PlotLayout::kLeft, y, PlotLayout::kRight - PlotLayout::kLeft, 1),
                       zero ? kAxis : kGrid, Tuvo::kDrawModeNormal);
        const std::string label = PercentLabel(margin);
        DrawText(image, PlotLayout::kLeft - 8 - TextWidth(label), y - 5 * kTextScale / 2, label,
                 kText);
    }
    // The stages: a line between two of them and the stage's number below the axis.
    for (size_t i = 0; i < levels.size(); ++i) {
        const BotLevel& level = levels[i];
        const bool firstOfStage = i == 0 || levels[i - 1].stage != level.stage;
        if (!firstOfStage) {
            continue;
        }
        const int x = static_cast<int>(std::lround(layout.X(level.level) - step / 2));
        if (i > 0) {
            image.FillRect(Rect(x, PlotLayout::kTop, 1, PlotLayout::kBottom - PlotLayout::kTop),
                           kAxis, Tuvo::kDrawModeNormal);
        }
        DrawText(image, x + 4, PlotLayout::kBottom + 8, "STAGE " + std::to_string(level.stage),
                 kText);
        DrawText(image, x + 4, PlotLayout::kBottom + 24, std::to_string(level.level), kAxis);
    }
    image.DrawRect(Rect(PlotLayout::kLeft, PlotLayout::kTop, PlotLayout::kRight - PlotLayout::kLeft,
                        PlotLayout::kBottom - PlotLayout::kTop),
                   kAxis, Tuvo::kDrawModeNormal);
}

void DrawLegend(Tuvo::MemoryImage& image) {
    static const char* const kNames[kBotSeriesCount] = {"GOOD CLASSIC", "GOOD TRANSFORMER",
                                                        "CASUAL CLASSIC", "CASUAL TRANSFORMER"};
    DrawText(image, PlotLayout::kLeft, 14, "WORST TIME LEFT / CLOCK", kText);
    int x = PlotLayout::kLeft + 216;
    for (int s = 0; s < kBotSeriesCount; ++s) {
        image.FillRect(Rect(x, 16, 20, 6), Color(kSeriesColours[s]), Tuvo::kDrawModeNormal);
        DrawText(image, x + 26, 14, kNames[s], kText);
        x += 26 + TextWidth(kNames[s]) + 16;
    }
}

void DrawPoint(Tuvo::MemoryImage& image, double x, double y, const Color& color, bool hollow) {
    const int left = static_cast<int>(std::lround(x)) - kPointSize / 2;
    const int top = static_cast<int>(std::lround(y)) - kPointSize / 2;
    image.FillRect(Rect(left, top, kPointSize, kPointSize), color, Tuvo::kDrawModeNormal);
    if (hollow) {
        image.FillRect(Rect(left + 2, top + 2, kPointSize - 4, kPointSize - 4), kBackground,
                       Tuvo::kDrawModeNormal);
    }
}

// A two-pixel anti-aliased line.
void DrawThickLine(Tuvo::MemoryImage& image, double x1, double y1, double x2, double y2,
                   const Color& color) {
    image.DrawSmoothLine(x1, y1 - 0.5, x2, y2 - 0.5, color, Tuvo::kDrawModeNormal);
    image.DrawSmoothLine(x1, y1 + 0.5, x2, y2 + 0.5, color, Tuvo::kDrawModeNormal);
}

void DrawSeries(const std::vector<BotLevel>& levels, const PlotLayout& layout, int series,
                Tuvo::MemoryImage& image) {
    const BotSeries& which = kBotSeries[series];
    const Color color(kSeriesColours[series]);
    const BotLevel* previous = nullptr;
    for (const BotLevel& level : levels) {
        if (level.Of(which.player, which.mode).games.empty()) {
            previous = nullptr;
            continue;
        }
        const double x = layout.X(level.level);
        const double y = layout.Y(level.WorstMargin(which.player, which.mode));
        if (!level.bonus && previous != nullptr && previous->stage == level.stage) {
            DrawThickLine(image, layout.X(previous->level),
                          layout.Y(previous->WorstMargin(which.player, which.mode)), x, y, color);
        }
        DrawPoint(image, x, y, color, level.bonus);
        previous = level.bonus ? nullptr : &level;
    }
}

}  // namespace

PlotLayout PlotLayout::For(const std::vector<BotLevel>& levels) {
    PlotLayout layout;
    if (levels.empty()) {
        return layout;
    }
    layout.levelCount = levels.back().level - levels.front().level + 1;
    layout.firstLevel = levels.front().level;
    double lowest = 0;
    double highest = 0.1;
    for (const BotLevel& level : levels) {
        for (const BotSeries& series : kBotSeries) {
            if (!level.Of(series.player, series.mode).games.empty()) {
                const double margin = level.WorstMargin(series.player, series.mode);
                lowest = std::min(lowest, margin);
                highest = std::max(highest, margin);
            }
        }
    }
    layout.lowest = std::max(-1.0, std::floor(lowest * 10 + 1e-9) / 10);
    layout.highest = std::min(1.0, std::ceil(highest * 10 - 1e-9) / 10);
    return layout;
}

double PlotLayout::X(int level) const {
    const double step = levelCount > 0 ? static_cast<double>(kRight - kLeft) / levelCount : 0;
    return kLeft + (level - firstLevel + 0.5) * step;
}

double PlotLayout::Y(double margin) const {
    const double clamped = std::clamp(margin, lowest, highest);
    const double share = highest > lowest ? (clamped - lowest) / (highest - lowest) : 0;
    return kBottom - share * (kBottom - kTop);
}

void DrawMarginPlot(const std::vector<BotLevel>& levels, Tuvo::MemoryImage& image) {
    image.Create(PlotLayout::kWidth, PlotLayout::kHeight);
    const PlotLayout layout = PlotLayout::For(levels);
    DrawBackground(levels, layout, image);
    DrawLegend(image);
    // The casual player first, so the good player's lines stay on top.
    for (int series = kBotSeriesCount - 1; series >= 0; --series) {
        DrawSeries(levels, layout, series, image);
    }
}

bool WriteMarginPlot(const std::vector<BotLevel>& levels, const std::string& path,
                     std::string& error) {
    Tuvo::MemoryImage image;
    DrawMarginPlot(levels, image);
    std::vector<uint8_t> png;
    if (!ImageLib::EncodePng(image.GetBits(), PlotLayout::kWidth, PlotLayout::kHeight, png) ||
        !Platform::WriteFileAtomically(
            path, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()),
            Platform::Durability::kNoFlush)) {
        error = "cannot write the plot '" + path + "'";
        return false;
    }
    return true;
}

}  // namespace QuillorySim
