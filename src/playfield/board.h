// The one widget of the game: it hands each frame's time to the rules, draws the screen of the
// current screen state with the fade over it and the frame rate on top, and turns input into
// window-message records for the application's message handler. What it draws and whom it
// tells come in through BoardHost, so tests run it without the rules or a window.
#pragma once

#include <cstdint>

#include "engine/window_message.h"
#include "framework/widgets/widget.h"

namespace Platform {
class Clock;
}

namespace Quillory {
class CSpriteManager;
}

namespace Tuvo {

class BoardHost {
public:
    virtual ~BoardHost() = default;
    virtual int ScreenState() const = 0;
    virtual void SetGameState(int state) = 0;
    // The rules' step for one frame: `updateAmount` 10 ms updates of game time.
    virtual void AdvanceFrame(float updateAmount) = 0;
    // Draws the screen of a state through the sprite manager (its target is set).
    virtual void PaintScreen(int state) = 0;
    // The application's message handler.
    virtual void DispatchInput(const Quillory::WindowMessage& record) = 0;
    // The screen's brightness: 0 black, 1 full.
    virtual float Fade() const = 0;
    virtual bool ShowFrameRate() const = 0;
    // The main window's handle for the records (any stable pointer).
    virtual void* MainWindow() const = 0;
};

class Board : public Widget {
public:
    Board(BoardHost& host, Quillory::CSpriteManager& sprites, Platform::Clock& clock);

    void Update() override;
    void UpdateFraction(float fraction) override;
    void Draw(Graphics* g) override;
    void GotFocus() override {}
    void LostFocus() override;
    void KeyChar(char character) override;
    void KeyDown(int keyCode) override;
    void MouseMove(int x, int y) override;
    using Widget::MouseDown;
    // Releases keep the widget's empty handlers: the rules read the buttons themselves.
    void MouseDown(int x, int y, int clickCount) override;
    void MouseDrag(int x, int y) override;

    // Game seconds of the last fractional update: the fraction of 10 ms updates / 100.
    float TimeStep() const { return timeStep_; }
    int UpdateCount() const { return updateCount_; }
    int FrameRate() const { return frameRate_; }

    // The overlay's alpha byte for a fade value, or -1 when no overlay is drawn (fade 1.0).
    static int FadeOverlayAlpha(float fade);

private:
    void Dispatch(uint32_t message, uintptr_t parameter, int x, int y);
    void CountFrame();

    BoardHost& host_;
    Quillory::CSpriteManager& sprites_;
    Platform::Clock& clock_;
    float timeStep_ = 0;
    int updateCount_ = 0;
    int framesCounted_ = 0;
    uint32_t frameCountStart_ = 0;
    bool countingFrames_ = false;
    int frameRate_ = 0;
};

}  // namespace Tuvo
