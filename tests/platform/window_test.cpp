// The window on SDL's dummy video driver: creation, presenting, and the translation of SDL's
// events into the game's records.
#include "platform/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Platform::EventKind;
using Platform::InputEvent;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string error;
        ASSERT_TRUE(window_.Create({.accelerated = false, .vsync = false}, error)) << error;
        Poll();
    }

    std::vector<InputEvent> Poll() {
        std::vector<InputEvent> events;
        window_.PollEvents(events);
        return events;
    }

    static void PushButton(uint32_t type, uint8_t button, uint8_t clicks, int x, int y) {
        SDL_Event event{
            .button = {.type = type, .button = button, .clicks = clicks, .x = x, .y = y}};
        SDL_PushEvent(&event);
    }

    Platform::GameWindow window_;
};

// Click counts follow the Windows convention (three clicks would mean the middle button, so they
// count as a single click again); a tap between two samples is latched, and losing the focus
// releases held buttons; a warp queues a move.
TEST_F(WindowTest, MouseEventsClickCountsTapsWarpsAndQuitRequests) {
    const std::tuple<uint32_t, uint8_t, uint8_t, int> clicks[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 2},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 1},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 4, 2},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, -2},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 3}};
    window_.SampleMouseButtons();
    for (const auto& [type, button, count, expected] : clicks) {
        PushButton(type, button, count, 10, 20);
    }
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 5, 5);
    const auto events = Poll();
    ASSERT_EQ(events.size(), 7u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(events[i].clickCount, std::get<3>(clicks[i])) << i;
    }
    EXPECT_EQ(events[5].kind, EventKind::kMouseUp);
    EXPECT_EQ(std::pair(events[0].x, events[0].y), std::pair(10, 20));
    // The left tap is seen once; the right button is still held.
    EXPECT_EQ(window_.SampleMouseButtons(), Platform::kLeftButton | Platform::kRightButton);
    EXPECT_EQ(window_.SampleMouseButtons(), Platform::kRightButton);

    window_.WarpPointer(400, 300);
    SDL_Event focusLost{.window = {.type = SDL_WINDOWEVENT, .event = SDL_WINDOWEVENT_FOCUS_LOST}};
    SDL_Event quit{.type = SDL_QUIT};
    SDL_PushEvent(&focusLost);
    SDL_PushEvent(&quit);
    const auto warped = Poll();
    EXPECT_EQ(window_.SampleMouseButtons(), 0);
    ASSERT_GE(warped.size(), 2u);
    EXPECT_EQ(warped[0].kind, EventKind::kMouseMove);
    EXPECT_EQ(std::pair(warped[0].x, warped[0].y), std::pair(400, 300));
    EXPECT_EQ(warped.back().kind, EventKind::kCloseRequested);
}

// Alt+Enter is a system key: no character follows it; Backspace is followed by one.
TEST_F(WindowTest, KeysBecomeVirtualKeyCodesAndTextLatin1Characters) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_a, 'A'}, {SDLK_RETURN, 13}, {SDLK_F2, 113}, {SDLK_KP_PLUS, 107}, {SDLK_BACKSPACE, 8}};
    for (const auto& [key, code] : keys) {
        const uint16_t mod = key == SDLK_RETURN ? KMOD_LALT : KMOD_NONE;
        SDL_Event event{.key = {.type = SDL_KEYDOWN, .keysym = {.sym = key, .mod = mod}}};
        SDL_PushEvent(&event);
    }
    const auto events = Poll();
    ASSERT_EQ(events.size(), 6u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(events[i].keyCode, keys[i].second) << i;
        EXPECT_EQ(events[i].altDown, i == 1) << i;
    }
    EXPECT_EQ(std::pair(events[5].kind, events[5].character), std::pair(EventKind::kKeyChar, 8));

    // Typed text arrives as Latin-1; other characters are dropped.
    SDL_Event text{.type = SDL_TEXTINPUT};
    SDL_strlcpy(text.text.text, "a\xC3\xA9\xE2\x82\xAC!", sizeof(text.text.text));  // a é € !
    SDL_PushEvent(&text);
    std::string typed;
    for (const InputEvent& event : Poll()) {
        typed += static_cast<char>(event.character);
    }
    EXPECT_EQ(typed, "a\xE9!");
}

TEST(WindowFitTest, TheWindowIsMeasuredAtTheSizeItIsCreated) {
    const Platform::Rectangle desktop{0, 0, 1600, 1000};
    EXPECT_TRUE(Platform::WindowFits(desktop, 800, 600, 1));
    // At twice the size on a high-density desktop it would not fit: full screen is forced.
    EXPECT_FALSE(Platform::WindowFits(desktop, 800, 600, 2));
    EXPECT_FALSE(Platform::WindowFits({0, 0, 800, 700}, 800, 600, 1));  // exactly as wide
    EXPECT_FALSE(Platform::WindowFits(desktop, 2000000000, 600, 2));    // no overflow
}

// The frame is shown as it is: its alpha is ignored, a pitch wider than the picture is honoured,
// and the letterbox bars of full screen are black, also on the presents after the first one.
// Letterboxed, pointer positions reach the game in picture coordinates, left and above the
// picture included.
TEST_F(WindowTest, FullScreenLetterboxesTheOpaqueFrameAndMapsThePointer) {
    constexpr int kPitch = 1000;
    std::vector<uint32_t> frame(static_cast<size_t>(kPitch) * 600, 0xFFFF0000);  // red margin
    for (int y = 0; y < 600; ++y) {
        std::fill_n(frame.begin() + y * kPitch, 800, y < 300 ? 0x00336699u : 0x80102030u);
    }
    int width = 0;
    int left = 0;
    int above = 0;
    auto expectShown = [&](uint32_t top, uint32_t bottom) {
        std::vector<uint32_t> shown;
        int height = 0;
        ASSERT_TRUE(window_.ReadShownPixels(shown, width, height));
        left = (width - 800) / 2;
        above = (height - 600) / 2;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = x >= left && x < left + 800 && y >= above && y < above + 600;
                const uint32_t wanted = !inside ? 0xFF000000u : (y - above < 300 ? top : bottom);
                ASSERT_EQ(shown[static_cast<size_t>(y) * width + x], wanted)
                    << x << "," << y << " of " << width << "x" << height;
            }
        }
    };
    EXPECT_FALSE(window_.Present(nullptr, 800));
    EXPECT_GT(window_.RefreshRate(), 0);
    window_.Show();  // the dummy driver makes only a shown window full screen
    ASSERT_TRUE(window_.Present(frame.data(), kPitch));
    expectShown(0xFF336699, 0xFF102030);
    EXPECT_EQ(width, 800);
    // Full screen, checked on its second present.
    ASSERT_TRUE(window_.SetFullScreen(true));
    ASSERT_TRUE(window_.Present(frame.data(), kPitch));
    std::fill_n(frame.begin() + 300 * kPitch, 300 * kPitch, 0xFF00FF00u);
    ASSERT_TRUE(window_.Present(frame.data(), kPitch));
    expectShown(0xFF336699, 0xFF00FF00);
    EXPECT_GT(left, 0);  // the dummy desktop is larger than the picture
    window_.PresentLast();
    expectShown(0xFF336699, 0xFF00FF00);

    Poll();
    SDL_Event motion{.motion = {.type = SDL_MOUSEMOTION, .x = left + 10, .y = above + 20}};
    SDL_PushEvent(&motion);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, left - 1, above + 599);
    const auto events = Poll();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(std::pair(events[0].x, events[0].y), std::pair(10, 20));
    EXPECT_EQ(std::pair(events[1].x, events[1].y), std::pair(-1, 599));
    int x = 0;
    int y = 0;
    window_.PointerPosition(x, y);
    EXPECT_EQ(x, -1);
}

// Reads what the window shows at picture (x, y), the picture being centred.
uint32_t ShownAt(Platform::GameWindow& window, int x, int y) {
    std::vector<uint32_t> shown;
    int width = 0;
    int height = 0;
    window.ReadShownPixels(shown, width, height);
    return shown.at(static_cast<size_t>(y + (height - 600) / 2) * width + x + (width - 800) / 2);
}

// Without a graphics card the frame is drawn in the window's own pixels, in full screen centred
// with a pitch wider than the picture and black bars. New pixels after a mode switch are fresh
// (a repaint meeting them first too), and a frame drawn into the old ones is not read.
TEST_F(WindowTest, FramesAreDrawnInPlaceInTheWindowsOwnPixels) {
    window_.Show();
    for (bool fullScreen : {true, false}) {
        ASSERT_TRUE(window_.SetFullScreen(fullScreen));
        window_.PresentLast();
        Platform::DrawingMemory memory = window_.PictureMemory();
        ASSERT_NE(memory.pixels, nullptr);
        EXPECT_TRUE(memory.fresh);
        memory.pixels[599 * memory.pitchInPixels + 799] = 0xFF00FF00u;
        EXPECT_TRUE(window_.Present(memory.pixels, memory.pitchInPixels));
        EXPECT_EQ(ShownAt(window_, 799, 599), 0xFF00FF00u);
        EXPECT_EQ(ShownAt(window_, 799, 598), 0xFF000000u);
        EXPECT_EQ(ShownAt(window_, -1, 599), 0xFF000000u);
        EXPECT_FALSE(window_.PictureMemory().fresh);
        ASSERT_TRUE(window_.SetFullScreen(!fullScreen));
        EXPECT_FALSE(window_.Present(memory.pixels, memory.pitchInPixels));
    }
}

// The dummy driver has no graphics-card renderer: asked for one, the window falls back to the
// software renderer and scales the way that renderer does well. A picture that does not fit the
// desktop at 1:1 gets no place in the window's pixels: it is copied, cut to the window.
TEST(WindowPlaceTest, TheSoftwareFallbackScalesPlainlyAndCopiesAPictureLargerThanTheOutput) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Platform::GameWindow window;
    std::string error;
    const Platform::WindowSettings settings{
        .width = 1900, .height = 1000, .fullScreen = true, .accelerated = true};
    ASSERT_TRUE(window.Create(settings, error)) << error;
    EXPECT_FALSE(window.IsAccelerated());
    EXPECT_FALSE(window.ScalesSmoothly());
    window.Show();
    EXPECT_EQ(window.PictureMemory().pixels, nullptr);
    std::vector<uint32_t> frame(1900 * 1000, 0xFF204060u);
    EXPECT_TRUE(window.Present(frame.data(), 1900));
    EXPECT_EQ(ShownAt(window, 400, 300), 0xFF204060u);
}

}  // namespace
