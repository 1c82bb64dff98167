// The level bot's plot: the worst margin (worst time left / clock) of each series across the
// levels, drawn by the software renderer and written as a PNG. Lines join the normal levels of
// a stage; bonus levels are shaded columns with lone hollow points.
#pragma once

#include <string>
#include <vector>

#include "framework/graphics/memory_image.h"
#include "sim/level_bot.h"

namespace QuillorySim {

// Where the plot puts things, so that a test can find a level's point.
struct PlotLayout {
    static constexpr int kWidth = 960;
    static constexpr int kHeight = 440;
    static constexpr int kLeft = 64;    // the plot area's left edge
    static constexpr int kRight = 936;  // its right edge
    static constexpr int kTop = 48;
    static constexpr int kBottom = 392;

    int levelCount = 0;
    int firstLevel = 1;
    double lowest = 0;   // margin at the bottom edge
    double highest = 1;  // margin at the top edge

    // The plot's range for these levels: whole tenths around every margin, always with 0,
    // at most -1 to 1.
    static PlotLayout For(const std::vector<BotLevel>& levels);
    double X(int level) const;
    double Y(double margin) const;
};

// The series' colours, in kBotSeries order (0xAARRGGBB).
extern const uint32_t kSeriesColours[kBotSeriesCount];

void DrawMarginPlot(const std::vector<BotLevel>& levels, Tuvo::MemoryImage& image);

// DrawMarginPlot into a PNG file; false with `error` set when it cannot be written.
bool WriteMarginPlot(const std::vector<BotLevel>& levels, const std::string& path,
                     std::string& error);

}  // namespace QuillorySim
