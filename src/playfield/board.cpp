// The board: frame time, drawing by screen state, fade, frame rate and input records.
#include "playfield/board.h"

#include <cmath>
#include <cstdio>

#include "engine/ini_access.h"
#include "engine/sprite_manager.h"
#include "platform/clock.h"

namespace Tuvo {

namespace {

constexpr int kStateLoading = 0;
constexpr int kStatePlaying = 6;
constexpr int kStatePaused = 7;

}  // namespace

Board::Board(BoardHost& host, Quillory::CSpriteManager& sprites, Platform::Clock& clock)
    : host_(host), sprites_(sprites), clock_(clock) {}

void Board::Update() {
    Widget::Update();
    ++updateCount_;
    // The whole screen is redrawn after every update: the game has no dirty rectangles.
    MarkDirty();
}

void Board::UpdateFraction(float fraction) {
    // The fraction counts 10 ms updates: 1.0 at a 100 Hz pace is 0.01 s.
    timeStep_ = fraction / 100.0f;
    if (host_.ScreenState() == kStateLoading) {
        return;
    }
    host_.AdvanceFrame(fraction);
}

int Board::FadeOverlayAlpha(float fade) {
    if (fade == 1.0f) {
        return -1;
    }
    // 0 reads as opaque, so a fade of 0 gives the value 256, wrapped to 0: solid black.
    return (static_cast<int>(std::floor((1.0f - fade) * 255.0f)) + 1) % 256;
}

void Board::Draw(Graphics* g) {
    sprites_.SetTarget(g);
    g->SetColor(Color(0, 0, 0, 255));
    g->FillRect(0, 0, Width(), Height());
    host_.PaintScreen(host_.ScreenState());
    const int alpha = FadeOverlayAlpha(host_.Fade());
    if (alpha >= 0) {
        // Through the packed form, whose alpha byte of 0 is opaque.
        g->SetColor(Color(static_cast<uint32_t>(alpha) << 24));
        g->FillRect(0, 0, Width(), Height());
    }
    CountFrame();
    if (host_.ShowFrameRate()) {
        char text[64];
        std::snprintf(text, sizeof(text), "%s: %d", Quillory::GetLanguageString("FPS"), frameRate_);
        sprites_.DrawText(0.0f, 0.015f, 0.03f, Quillory::kNoTint,
                          Quillory::kTextLeft | Quillory::kTextLiteral, text);
    }
    sprites_.SetTarget(nullptr);
}

void Board::CountFrame() {
    const uint32_t now = clock_.Milliseconds();
    if (!countingFrames_) {
        countingFrames_ = true;
        frameCountStart_ = now;
        framesCounted_ = 0;
    }
    ++framesCounted_;
    const uint32_t elapsed = now - frameCountStart_;
    if (elapsed >= 1000) {
        frameRate_ = static_cast<int>(framesCounted_ * 1000.0 / elapsed);
        frameCountStart_ = now;
        framesCounted_ = 0;
    }
}

void Board::LostFocus() {
    if (host_.ScreenState() == kStatePlaying) {
        host_.SetGameState(kStatePaused);
    }
}

void Board::Dispatch(uint32_t message, uintptr_t parameter, int x, int y) {
    Quillory::WindowMessage record;
    record.window = host_.MainWindow();
    record.message = message;
    record.wParam = parameter;
    record.lParam = 0;
    record.time = 0;
    record.x = x;
    record.y = y;
    host_.DispatchInput(record);
}

void Board::KeyChar(char character) {
    Dispatch(Quillory::kMessageChar, static_cast<unsigned char>(character), 0, 0);
}

void Board::KeyDown(int keyCode) {
    Dispatch(Quillory::kMessageKeyDown, static_cast<uintptr_t>(keyCode), 0, 0);
}

void Board::MouseMove(int x, int y) {
    Dispatch(Quillory::kMessageMouseMove, 0, x, y);
}

void Board::MouseDrag(int x, int y) {
    Dispatch(Quillory::kMessageMouseMove, 0, x, y);
}

void Board::MouseDown(int x, int y, int) {
    // Every button and every click count reaches the handler as a left press.
    Dispatch(Quillory::kMessageLeftButtonDown, 0, x, y);
}

}  // namespace Tuvo
