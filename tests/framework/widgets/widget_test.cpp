// Tests of the widget's own behaviour: colours, hit testing and the text helpers (wrapping,
// centring, measuring) with a fixed-metric font.
#include "framework/widgets/widget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixed_font.h"

namespace Tuvo {
namespace {

using Lines = std::vector<std::string>;

TEST(WidgetTest, ColoursGrowWithOpaqueBlackAndFallBackPastTheEnd) {
    Widget widget;
    widget.SetColor(2, Color(1, 2, 3));
    EXPECT_EQ(widget.ColorCount(), 3);
    EXPECT_EQ(widget.GetColor(0), Color(0, 0, 0, 255));
    EXPECT_EQ(widget.GetColor(2), Color(1, 2, 3));
    EXPECT_EQ(widget.GetColor(9), Color(0, 0, 0, 255));
    EXPECT_EQ(widget.GetColor(9, Color(7, 7, 7)), Color(7, 7, 7));
    const int table[2][4] = {{10, 20, 30, 40}, {50, 60, 70, 80}};
    widget.SetColourTable(table, 2);
    EXPECT_EQ(widget.ColorCount(), 2);
    EXPECT_EQ(widget.GetColor(1), Color(50, 60, 70, 80));
    const int opaque[1][3] = {{1, 1, 1}};
    widget.SetColourTable(opaque, 1);
    EXPECT_EQ(widget.GetColor(0), Color(1, 1, 1, 255));

    widget.Resize(10, 20, 30, 40);
    EXPECT_TRUE(widget.Contains(10, 20));
    EXPECT_FALSE(widget.Contains(40, 20));
    EXPECT_FALSE(widget.Contains(10, 60));
}

TEST(WidgetTest, TextHelpersWrapCentreAndMeasure) {
    Lines drawn;
    Testing::FixedFont font(&drawn);  // 6 pixels a character
    EXPECT_EQ(WrapTextLines(&font, "one two three", 48), (Lines{"one two", "three"}));
    EXPECT_EQ(WrapTextLines(&font, "one two three", 0), (Lines{"one two three"}));
    EXPECT_EQ(WrapTextLines(&font, "abcdefghij", 24), (Lines{"abcd", "efgh", "ij"}));
    EXPECT_EQ(WrapTextLines(&font, "a\r\n\nb  c", 100), (Lines{"a", "", "b c"}));
    EXPECT_EQ(WrapTextLines(&font, "wide", 1), (Lines{"w", "i", "d", "e"}));
    // A UTF-8 character is never cut in half.
    EXPECT_EQ(WrapTextLines(&font, "\xC3\xA9\xC3\xA9", 6), (Lines{"\xC3\xA9", "\xC3\xA9"}));
    EXPECT_TRUE(WrapTextLines(&font, "", 10).empty());

    Widget widget;
    widget.Resize(0, 0, 100, 50);
    Graphics g;
    g.SetFont(&font);
    g.SetColor(Color(9, 9, 9));
    EXPECT_EQ(widget.DrawCentredLine(&g, 20, "abcd"), Rect(38, 10, 24, 14));

    // Wrapped text: lines from the rectangle's top, lineSpacing apart.
    const int height = widget.DrawWrappedText(&g, Rect(5, 0, 48, 0), "one two three", 20, 1);
    EXPECT_EQ(height, 20 + 14);
    EXPECT_EQ(widget.MeasureWrappedHeight(&g, 48, "one two three", 20), height);
    EXPECT_EQ(widget.MeasureWrappedHeight(&g, 48, "", 20), 0);
    EXPECT_EQ(drawn, (Lines{"abcd @38,20 #9,9,9", "one two @11,10 #9,9,9", "three @23,30 #9,9,9"}));

    // No font: nothing drawn, nothing measured.
    Graphics bare;
    EXPECT_EQ(widget.DrawCentredLine(&bare, 5, "x"), Rect());
    EXPECT_EQ(widget.DrawWrappedText(&bare, Rect(0, 0, 10, 0), "x", 10, 0), 0);
}

}  // namespace
}  // namespace Tuvo
