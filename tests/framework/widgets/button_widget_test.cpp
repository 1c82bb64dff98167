// Tests of the push button: press, release and hover events and its colour drawing.
#include "framework/widgets/button_widget.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fixed_font.h"
#include "framework/graphics/memory_image.h"
#include "framework/widgets/widget_manager.h"

namespace Tuvo {
namespace {

using Log = std::vector<std::string>;

class RecordingListener : public ButtonListener {
public:
    void OnButtonPressed(int id, int count) override {
        log.push_back("pressed " + std::to_string(id) + " " + std::to_string(count));
    }
    void OnButtonReleased(int id) override { log.push_back("released " + std::to_string(id)); }
    void OnButtonHoverIn(int id) override { log.push_back("in " + std::to_string(id)); }
    void OnButtonHoverOut(int id) override { log.push_back("out " + std::to_string(id)); }
    void OnButtonHoverMove(int id, int x, int y) override {
        log.push_back("hover " + std::to_string(id) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    Log Take() { return std::exchange(log, Log{}); }
    Log log;
};

class ButtonWidgetTest : public ::testing::Test {
protected:
    ButtonWidgetTest() {
        manager.Resize(Rect(0, 0, 100, 100));
        manager.SetScreenImage(&screen);
        button.Resize(10, 10, 20, 10);
        manager.AddWidget(&button);
    }

    RecordingListener listener;
    WidgetManager manager{nullptr};
    MemoryImage screen{100, 100};
    ButtonWidget button{7, &listener};
};

TEST_F(ButtonWidgetTest, DraggingOffBeforeReleasingIsNoPress) {
    manager.MouseMove(15, 15);
    manager.MouseDown(15, 15, 1);
    manager.MouseDrag(50, 50);
    manager.MouseUp(50, 50, 1);
    EXPECT_EQ(listener.Take(), (Log{"in 7", "hover 7 5,5", "pressed 7 1", "out 7"}));

    manager.MouseMove(16, 15);
    manager.MouseDown(16, 15, 2);
    manager.MouseUp(16, 15, 2);
    EXPECT_EQ(listener.Take(), (Log{"in 7", "hover 7 6,5", "pressed 7 2", "released 7"}));

    // Dragging off and back on before releasing still counts.
    manager.MouseDown(16, 15, 1);
    manager.MouseDrag(50, 50);
    manager.MouseDrag(17, 15);
    manager.MouseUp(17, 15, 1);
    EXPECT_EQ(listener.Take(), (Log{"pressed 7 1", "out 7", "in 7", "released 7"}));

    // Without the window focus a release is no press either.
    manager.MouseDown(17, 15, 1);
    manager.LostFocus();
    manager.MouseUp(17, 15, 1);
    EXPECT_EQ(listener.Take(), (Log{"pressed 7 1"}));
}

// The bevels of colour drawing; the centred label is coloured (and redrawn) by the hover, while a
// hover that changes nothing visible does not redraw.
TEST_F(ButtonWidgetTest, ColourDrawingHasBevelsAndALabelPlacedAndColouredByTheHover) {
    Log drawn;
    Testing::FixedFont font(&drawn);
    button.SetFont(&font);
    button.SetLabel("ab");  // 12 wide; y = (10 + 10 - 1 - 1) / 2 = 9
    manager.DrawScreen();
    // Raised: light top and left, dark bottom and right, medium inner bottom and right.
    EXPECT_EQ(screen.GetPixel(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(screen.GetPixel(28, 10), 0xFFFFFFFFu);
    EXPECT_EQ(screen.GetPixel(29, 10), 0xFF000000u);
    EXPECT_EQ(screen.GetPixel(10, 19), 0xFF000000u);
    EXPECT_EQ(screen.GetPixel(11, 18), 0xFF848484u);
    EXPECT_EQ(screen.GetPixel(28, 11), 0xFF848484u);
    EXPECT_EQ(screen.GetPixel(15, 15), 0xFFD4D4D4u);
    manager.MouseMove(15, 15);
    EXPECT_FALSE(button.IsDirty());

    manager.MouseDown(15, 15, 1);
    manager.DrawScreen();
    // Sunken: dark top and left, light bottom and right, medium inner top and left.
    EXPECT_EQ(screen.GetPixel(10, 10), 0xFF000000u);
    EXPECT_EQ(screen.GetPixel(29, 19), 0xFFFFFFFFu);
    EXPECT_EQ(screen.GetPixel(11, 11), 0xFF848484u);
    EXPECT_EQ(screen.GetPixel(27, 11), 0xFF848484u);
    EXPECT_EQ(screen.GetPixel(28, 11), 0xFFD4D4D4u);
    manager.MouseUp(15, 15, 1);
    manager.MouseMove(50, 50);

    button.SetColor(ButtonWidget::kColorLabelHover, Color(255, 0, 0));
    manager.DrawScreen();
    manager.MouseMove(15, 15);
    manager.DrawScreen();
    EXPECT_EQ(drawn, (Log{"ab @14,19 #0,0,0", "ab @15,20 #0,0,0", "ab @14,19 #0,0,0",
                          "ab @14,19 #255,0,0"}));
}

}  // namespace
}  // namespace Tuvo
