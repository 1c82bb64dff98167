#include "playfield/board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "engine/sprite_manager.h"
#include "framework/graphics/memory_image.h"
#include "platform/clock.h"

namespace {

using namespace Tuvo;
using Quillory::WindowMessage;

class FakeBoardHost : public BoardHost {
public:
    int ScreenState() const override { return state; }
    void SetGameState(int next) override { state = next; }
    void AdvanceFrame(float amount) override { advanced.push_back(amount); }
    void PaintScreen(int painted) override {
        paintedStates.push_back(painted);
        if (target != nullptr) {
            // A white screen, so the fade shows in the pixels.
            std::fill_n(target->GetBits(), 8 * 6, 0xFFFFFFFF);
        }
    }
    void DispatchInput(const WindowMessage& record) override { records.push_back(record); }
    float Fade() const override { return fade; }
    bool ShowFrameRate() const override { return false; }
    void* MainWindow() const override { return nullptr; }

    int state = 1;
    float fade = 1.0f;
    MemoryImage* target = nullptr;
    std::vector<float> advanced;
    std::vector<int> paintedStates;
    std::vector<WindowMessage> records;
};

class BoardTest : public ::testing::Test {
protected:
    BoardTest() : board_(host_, sprites_, clock_) { board_.Resize(0, 0, 8, 6); }

    FakeBoardHost host_;
    Quillory::CSpriteManager sprites_;
    Platform::ManualClock clock_;
    Board board_;
};

// Left presses, keys and typed text reach the menus in the recorded plays; here moves and drags
// pass (the menus' hover), the other buttons press left, releases never pass, and a Latin-1
// character stays positive.
TEST_F(BoardTest, MovesPassEveryButtonPressesLeftAndCharactersStayPositive) {
    board_.MouseMove(10, 20);
    board_.MouseDrag(11, 21);
    board_.MouseDown(12, 22, -1);  // right button
    board_.MouseDown(13, 23, 2);   // double click
    board_.MouseDown(14, 24, 3);   // middle button
    board_.MouseUp(15, 25, 1);
    board_.MouseUp(15, 25);
    board_.KeyUp(0x70);
    board_.KeyChar('\xe9');
    using Record = std::tuple<uint32_t, uintptr_t, int, int>;  // message, wParam, x, y
    std::vector<Record> records;
    for (const WindowMessage& r : host_.records) {
        records.emplace_back(r.message, r.wParam, r.x, r.y);
    }
    const std::vector<Record> expected = {{0x200, 0, 10, 20}, {0x200, 0, 11, 21},
                                          {0x201, 0, 12, 22}, {0x201, 0, 13, 23},
                                          {0x201, 0, 14, 24}, {0x102, 0xE9, 0, 0}};
    EXPECT_EQ(records, expected);
}

// The frame time reaching the rules is held to the recorded plays' timing.
TEST_F(BoardTest, NoFrameTimeWhileLoadingAndFocusLossPausesPlay) {
    host_.state = 0;
    board_.UpdateFraction(1.0f);
    EXPECT_TRUE(host_.advanced.empty());
    // Losing the focus pauses only while playing (6 becomes paused, 7).
    for (int state : {1, 2, 6, 7, 8, 11, 13}) {
        host_.state = state;
        board_.LostFocus();
        EXPECT_EQ(host_.state, state == 6 ? 7 : state) << state;
    }
}

TEST_F(BoardTest, TheFadeOverlayFollowsItsAlphaRule) {
    EXPECT_EQ(Board::FadeOverlayAlpha(0.999f), 1);

    MemoryImage screen(8, 6);
    Graphics g(&screen);
    host_.target = &screen;
    host_.state = 2;
    board_.Draw(&g);
    EXPECT_EQ(host_.paintedStates, std::vector<int>{2});
    EXPECT_EQ(screen.GetPixel(3, 3) & 0xFFFFFF, 0xFFFFFFu);
    host_.fade = 0.0f;
    board_.Draw(&g);
    EXPECT_EQ(screen.GetPixel(3, 3) & 0xFFFFFF, 0u);
    host_.fade = 0.5f;
    board_.Draw(&g);
    const uint32_t grey = screen.GetPixel(3, 3) & 0xFF;
    EXPECT_TRUE(grey > 110 && grey < 145) << grey;
    EXPECT_EQ(sprites_.Target(), nullptr);  // no drawing outside the board's draw
}

}  // namespace
