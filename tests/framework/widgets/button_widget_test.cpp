// Tests of the push button: press, release, held and hover events, hover fading, and its
// colour and image drawing.
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
    void OnButtonHeld(int id) override { log.push_back("held " + std::to_string(id)); }
    void OnButtonHoverIn(int id) override { log.push_back("in " + std::to_string(id)); }
    void OnButtonHoverOut(int id) override { log.push_back("out " + std::to_string(id)); }
    void OnButtonHoverMove(int id, int x, int y) override {
        log.push_back("hover " + std::to_string(id) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    Log Take() { return std::exchange(log, Log{}); }
    Log log;
};

MemoryImage SolidImage(int width, int height, uint32_t pixel) {
    MemoryImage image(width, height);
    image.FillRect(Rect(0, 0, width, height), Color(pixel), kDrawModeNormal);
    return image;
}

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

TEST_F(ButtonWidgetTest, DraggingOffBeforeReleasingIsNoPressAndHoldingSendsHeld) {
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

    // Holding sends held on every update while the mouse is over.
    manager.GotFocus();
    manager.MouseMove(15, 15);
    manager.MouseDown(15, 15, 1);
    listener.Take();
    manager.UpdateFrame();
    manager.UpdateFrame();
    manager.MouseDrag(50, 50);
    manager.UpdateFrame();
    manager.MouseDrag(15, 15);
    manager.UpdateFrame();
    EXPECT_EQ(listener.Take(), (Log{"held 7", "held 7", "out 7", "in 7", "held 7"}));
    EXPECT_TRUE(button.IsButtonDown());
    button.SetDisabled(true);
    EXPECT_FALSE(button.IsButtonDown());
}

TEST_F(ButtonWidgetTest, HoverImageFadesInInTenStepsAndDropsAtOnceWithoutFadeOut) {
    MemoryImage normal = SolidImage(20, 10, 0xFF0000FF);
    MemoryImage over = SolidImage(20, 10, 0xFFFF0000);
    button.SetButtonImage(&normal);
    button.SetOverImage(&over);
    button.SetOverAlphaSpeeds(0.1, 0.0);
    manager.MouseMove(15, 15);
    for (int update = 1; update <= 9; ++update) {
        manager.UpdateFrame();
        EXPECT_LT(button.GetOverAlpha(), 1.0) << update;
    }
    manager.UpdateFrame();
    EXPECT_EQ(button.GetOverAlpha(), 1.0);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(12, 12), 0xFFFF0000u);
    manager.MouseMove(50, 50);
    EXPECT_EQ(button.GetOverAlpha(), 0.0);
    EXPECT_TRUE(button.IsDirty());
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(12, 12), 0xFF0000FFu);

    // With a fade-out speed the hover image fades out from full.
    button.SetOverAlphaSpeeds(0.0, 0.25);
    manager.MouseMove(15, 15);
    EXPECT_EQ(button.GetOverAlpha(), 0.0);
    manager.MouseMove(50, 50);
    EXPECT_EQ(button.GetOverAlpha(), 1.0);
    manager.UpdateFrame();
    EXPECT_EQ(button.GetOverAlpha(), 0.75);
    manager.UpdateFrame();
    manager.DrawScreen();  // half faded: a mix of both images
    const uint32_t mixed = screen.GetPixel(12, 12);
    EXPECT_GT((mixed >> 16) & 0xFF, 100u);
    EXPECT_GT(mixed & 0xFF, 100u);
    manager.UpdateFrame();
    manager.UpdateFrame();
    EXPECT_EQ(button.GetOverAlpha(), 0.0);
    manager.UpdateFrame();
    EXPECT_EQ(button.GetOverAlpha(), 0.0);
}

// The bevels of colour drawing; the label follows its justification and is coloured (and
// redrawn) by the hover, while a hover that changes nothing visible does not redraw.
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

    button.SetLabelJustification(kJustifyRight);
    button.SetColor(ButtonWidget::kColorLabelHover, Color(255, 0, 0));
    manager.DrawScreen();
    manager.MouseMove(15, 15);
    EXPECT_TRUE(button.IsDirty());
    manager.DrawScreen();
    button.SetLabelJustification(kJustifyLeft);
    manager.MouseDown(15, 15, 1);
    manager.DrawScreen();
    EXPECT_EQ(drawn, (Log{"ab @14,19 #0,0,0", "ab @15,20 #0,0,0", "ab @18,19 #0,0,0",
                          "ab @18,19 #255,0,0", "ab @11,20 #255,0,0"}));
    manager.MouseUp(15, 15, 1);

    // Without a frame only the label is drawn.
    screen.FillRect(Rect(0, 0, 100, 100), Color(1, 2, 3), kDrawModeNormal);
    button.SetNoFrame(true);
    button.MarkDirty();
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(10, 10), 0xFF010203u);
    EXPECT_EQ(screen.GetPixel(15, 15), 0xFF010203u);
}

TEST_F(ButtonWidgetTest, ImageStatesDrawFromImagesOrRectanglesOfTheButtonImage) {
    MemoryImage sheet(80, 10);
    const uint32_t colours[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF808080};
    for (int i = 0; i < 4; ++i) {
        sheet.FillRect(Rect(20 * i, 0, 20, 10), Color(colours[i]), kDrawModeNormal);
    }
    button.SetButtonImage(&sheet);
    button.SetNormalRect(Rect(0, 0, 20, 10));
    button.SetOverRect(Rect(20, 0, 20, 10));
    button.SetDownRect(Rect(40, 0, 20, 10));
    button.SetDisabledRect(Rect(60, 0, 20, 10));
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(10, 10), colours[0]);
    manager.MouseMove(15, 15);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(10, 10), colours[1]);
    manager.MouseDown(15, 15, 1);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(10, 10), colours[2]);
    manager.MouseUp(15, 15, 1);
    button.SetDisabled(true);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(10, 10), colours[3]);

    // Own images per state; pressed without a down image shows the over image shifted by one.
    MemoryImage normal = SolidImage(20, 10, 0xFF111111);
    MemoryImage over = SolidImage(20, 10, 0xFF222222);
    ButtonWidget second(8, &listener);
    second.Resize(40, 40, 20, 10);
    second.SetButtonImage(&normal);
    second.SetOverImage(&over);
    manager.AddWidget(&second);
    manager.MouseMove(45, 45);
    manager.MouseDown(45, 45, 1);
    screen.FillRect(Rect(0, 0, 100, 100), Color(0, 0, 0), kDrawModeNormal);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(40, 40), 0xFF000000u);
    EXPECT_EQ(screen.GetPixel(41, 41), 0xFF222222u);
    manager.MouseUp(45, 45, 1);
    second.SetInverted(true);  // inverted: drawn pressed while not held
    manager.MouseMove(90, 90);
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(41, 41), 0xFF222222u);
    second.SetNoDraw(true);
    screen.FillRect(Rect(0, 0, 100, 100), Color(0, 0, 0), kDrawModeNormal);
    second.MarkDirty();
    manager.DrawScreen();
    EXPECT_EQ(screen.GetPixel(45, 45), 0xFF000000u);
}

}  // namespace
}  // namespace Tuvo
