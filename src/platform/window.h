// The game's main window: an 800x600 picture shown windowed (at an integer scale on high-density
// displays) or letterboxed on the whole desktop, its input turned into InputEvent records, the
// mouse-button state, cursors and pointer warps. The only window code that knows SDL.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/input_events.h"

namespace Platform {

// Where the picture lies in the window: scale and top left, in window pixels.
struct PictureLayout {
    int scale = 1;
    int x = 0;
    int y = 0;
};

struct WindowSettings {
    std::string title = "Quillory";
    int width = 800;  // logical size of the picture
    int height = 600;
    bool fullScreen = false;
    bool accelerated = true;  // a hardware renderer with linear filtering, else the software one
    bool vsync = true;
    int preferredX = -1;  // windowed top left on the desktop; -1 centres
    int preferredY = -1;
};

struct Rectangle {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class CursorKind { kArrow, kHand, kDragging };

// A place in the window's own pixels where a frame can be drawn directly.
struct DrawingMemory {
    uint32_t* pixels = nullptr;  // the picture's top left; null when there is no such place
    int width = 0;               // the picture's size
    int height = 0;
    int pitchInPixels = 0;  // from one row to the next
    bool fresh = false;     // the pixels are new: they hold nothing drawn before
};

// Whether a window of width x height logical pixels, shown at `scale`, fits inside `area` (the
// client area of a maximised window, so a window exactly that size does not fit).
bool WindowFits(const Rectangle& area, int width, int height, int scale);

class GameWindow {
public:
    GameWindow();
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // Starts the video system when needed and opens the window; false with a reason on failure.
    bool Create(const WindowSettings& settings, std::string& error);
    // Closes the window and stops the video system.
    void Destroy();
    bool IsCreated() const;

    // Appends the waiting events, oldest first.
    void PollEvents(std::vector<InputEvent>& events);
    // Sleeps until an event is waiting (it stays queued) or `milliseconds` have passed.
    void WaitForEvent(uint32_t milliseconds);
    // Sets the window's icon from width x height 0xAARRGGBB pixels; false when it cannot.
    bool SetIcon(const uint32_t* pixels, int width, int height);

    // Where the next frame can be drawn straight into the window's own pixels, so that
    // presenting it copies nothing: only without a graphics card, at 1:1, with the frame's
    // pixel format. The place holds until the next call into the window; callers ask again
    // before every frame, and draw everything again when it moved or is fresh. Bars around it
    // are cleared here.
    DrawingMemory PictureMemory();
    // Shows a finished picture of width x height 0xAARRGGBB pixels: pixels that PictureMemory
    // handed out are shown as they are, when they still belong to the window (false if not).
    bool Present(const uint32_t* pixels, int pitchInPixels);
    // Shows the last picture again (repaint requests).
    void PresentLast();
    // What the window shows now, letterbox bars included, as 0xFFRRGGBB rows of `width`
    // pixels; false when the output cannot be read back.
    bool ReadShownPixels(std::vector<uint32_t>& pixels, int& width, int& height) const;

    bool SetFullScreen(bool fullScreen);
    bool IsFullScreen() const;
    // The display's refresh rate; 100 when the display reports none.
    int RefreshRate() const;
    // The desktop's usable area, and whether a window of the given client size fits in it.
    Rectangle WorkArea() const;
    // Tested at the size the window is created with: the logical size times the desktop's scale.
    bool FitsWindowed(int width, int height) const;
    // The windowed window's top left on the desktop.
    void GetPosition(int& x, int& y) const;
    void Show();
    void Raise();

    // The button bits of the mouse (kLeftButton, ...) with quick taps latched, and the pointer.
    int SampleMouseButtons();
    // The buttons held down now, as the last polled events left them.
    int HeldMouseButtons() const;
    void PointerPosition(int& x, int& y) const;
    // Moves the pointer (in game coordinates) and queues the matching move event, since some
    // desktops and headless drivers ignore the warp itself.
    void WarpPointer(int x, int y);
    void SetCursor(CursorKind kind);
    void ShowCursor(bool visible);
    void CaptureMouse(bool capture);
    bool IsAccelerated() const;
    // Whether the picture is scaled smoothly to any size (the graphics card's renderer) rather
    // than by whole multiples, nearest pixel (without a graphics card).
    bool ScalesSmoothly() const;

private:
    // Starts SDL's video system once; the window's destruction stops it again.
    bool StartVideo(std::string& error) const;
    void DestroyWindow();
    // Makes the graphics card's renderer, else prepares the copy into the window's pixels, else
    // the software renderer.
    bool CreateRenderer(std::string& error);
    // Copies the texture to the output and presents it, clearing the bars around it when needed.
    void ShowTexture();
    // Copies the frame into the window's pixels (whole multiples, centred) and shows them.
    bool CopyToSurface(const uint32_t* pixels, int pitchInPixels);
    // The picture's place in the window when drawn into the window's pixels.
    PictureLayout SurfaceLayout() const;
    // A pointer position in the window to picture coordinates.
    void ToPictureCoordinates(int windowX, int windowY, int& x, int& y) const;

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace Platform
