// The main window on SDL2. With a graphics card, a streaming texture holds the 800x600 picture
// and SDL's logical size does the letterboxing and maps pointer positions back to game
// coordinates. Without one, the picture goes straight into the window's own pixels, centred:
// drawn there in place at 1:1 (PictureMemory), else copied at a whole multiple; the pointer is
// mapped back here.
#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/cursor_shapes.h"
#include "platform/mouse_latch.h"
#include "platform/picture_copy.h"

namespace Platform {

struct GameWindow::State {
    WindowSettings settings;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // Without a graphics card the picture goes straight into the window's own pixels: drawn
    // there in place, or copied (one copy a frame, where the software renderer makes two)
    // through this description of the caller's frame.
    bool drawsToSurface = false;
    SDL_Surface* frame = nullptr;
    const SDL_Surface* shownSurface = nullptr;  // the window surface the bars were cleared on
    // The place in the window's pixels that PictureMemory handed out last.
    uint32_t* handedOut = nullptr;
    // A new window surface was cleared (here or by a repaint) since PictureMemory last said so.
    bool surfaceIsNew = false;

    // Whether the window surface is the one whose bars were cleared last. SDL makes a new
    // surface when the window changes size, possibly at the same address: the one we cleared
    // carries our mark in its user data, which a new one does not.
    bool SameSurface(const SDL_Surface* surface) const {
        return surface == shownSurface && surface->userdata == this && surface->w == clearedWidth &&
               surface->h == clearedHeight;
    }
    void NoteClearedSurface(SDL_Surface* surface) {
        surface->userdata = this;
        surfaceIsNew = true;
        shownSurface = surface;
        clearedWidth = surface->w;
        clearedHeight = surface->h;
    }
    SDL_Cursor* cursors[3] = {};
    bool startedVideo = false;
    bool accelerated = false;
    MouseButtonLatch latch;
    std::vector<InputEvent> injected;  // events made by WarpPointer
    int pointerX = 0;
    int pointerY = 0;
    // The output size the letterbox bars were last cleared at; the software renderer keeps its
    // picture between presents, so the bars need clearing only when the output changes.
    int clearedWidth = -1;
    int clearedHeight = -1;
};

namespace {

int ButtonBit(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return kLeftButton;
        case SDL_BUTTON_RIGHT:
            return kRightButton;
        case SDL_BUTTON_MIDDLE:
            return kMiddleButton;
        default:
            return 0;
    }
}

// Windows click counts: 1 and 2 for the left button (further clicks alternate), negative for the
// right button, 3 for the middle one.
int ClickCount(uint8_t sdlButton, uint8_t clicks) {
    const int count = (clicks % 2 == 0) ? 2 : 1;
    if (sdlButton == SDL_BUTTON_RIGHT) {
        return -count;
    }
    if (sdlButton == SDL_BUTTON_MIDDLE) {
        return 3;
    }
    return count;
}

int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return Key::kLetterA + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return Key::kDigit0 + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return Key::kF1 + (key - SDLK_F1);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return Key::kNumpad0 + 1 + (key - SDLK_KP_1);
    }
    switch (key) {
        case SDLK_BACKSPACE:
            return Key::kBack;
        case SDLK_TAB:
            return Key::kTab;
        case SDLK_RETURN:
            return Key::kReturn;
        case SDLK_KP_ENTER:
            return Key::kReturn;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return Key::kShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return Key::kControl;
        case SDLK_LALT:
        case SDLK_RALT:
            return Key::kAlt;
        case SDLK_PAUSE:
            return Key::kPause;
        case SDLK_ESCAPE:
            return Key::kEscape;
        case SDLK_SPACE:
            return Key::kSpace;
        case SDLK_PAGEUP:
            return Key::kPageUp;
        case SDLK_PAGEDOWN:
            return Key::kPageDown;
        case SDLK_END:
            return Key::kEnd;
        case SDLK_HOME:
            return Key::kHome;
        case SDLK_LEFT:
            return Key::kLeft;
        case SDLK_UP:
            return Key::kUp;
        case SDLK_RIGHT:
            return Key::kRight;
        case SDLK_DOWN:
            return Key::kDown;
        case SDLK_INSERT:
            return Key::kInsert;
        case SDLK_DELETE:
            return Key::kDelete;
        case SDLK_KP_0:
            return Key::kNumpad0;
        case SDLK_KP_MULTIPLY:
            return Key::kMultiply;
        case SDLK_KP_PLUS:
            return Key::kAdd;
        case SDLK_KP_MINUS:
            return Key::kSubtract;
        case SDLK_KP_PERIOD:
            return Key::kDecimal;
        case SDLK_KP_DIVIDE:
            return Key::kDivide;
        default:
            return 0;
    }
}

// Keys for which Windows also sends a character message.
int ControlCharacter(int virtualKey) {
    switch (virtualKey) {
        case Key::kBack:
            return 8;
        case Key::kTab:
            return 9;
        case Key::kReturn:
            return 13;
        case Key::kEscape:
            return 27;
        default:
            return 0;
    }
}

// Decodes UTF-8 text into Latin-1 characters; characters beyond Latin-1 are dropped.
void AppendLatin1Characters(const char* text, std::vector<InputEvent>& events) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (bytes[i] != 0) {
        uint32_t codePoint = bytes[i];
        size_t length = 1;
        if (codePoint >= 0xF0) {
            length = 4;
        } else if (codePoint >= 0xE0) {
            length = 3;
        } else if (codePoint >= 0xC0) {
            length = 2;
            codePoint = ((codePoint & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
        } else if (codePoint >= 0x80) {
            codePoint = 0x100;  // a stray continuation byte
        }
        for (size_t k = 1; k < length; ++k) {
            if (bytes[i + k] == 0) {
                return;
            }
        }
        if (codePoint >= 0x20 && codePoint <= 0xFF && length <= 2 && codePoint != 0x7F) {
            InputEvent event;
            event.kind = EventKind::kKeyChar;
            event.character = static_cast<int>(codePoint);
            events.push_back(event);
        }
        i += length;
    }
}

SDL_Cursor* MakeCursor(const CursorShape& shape) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        return nullptr;
    }
    auto* pixels = static_cast<uint32_t*>(surface->pixels);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char cell = shape.rows[y][x];
            const uint32_t colour = cell == 'X' ? 0xFF000000u : (cell == '.' ? 0xFFFFFFFFu : 0);
            pixels[y * (surface->pitch / 4) + x] = colour;
        }
    }
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, shape.hotX, shape.hotY);
    SDL_FreeSurface(surface);
    return cursor;
}

// Whether a width x height picture shown on the output leaves no letterbox bars.
bool PictureCoversOutput(int outputWidth, int outputHeight, int width, int height,
                         bool integerScale) {
    if (outputWidth <= 0 || outputHeight <= 0 || width <= 0 || height <= 0) {
        return false;
    }
    if (!integerScale) {
        // Scaled to fit, the picture fills the output when the aspect ratios agree.
        return int64_t{outputWidth} * height == int64_t{outputHeight} * width;
    }
    const int scale = std::max(1, std::min(outputWidth / width, outputHeight / height));
    return width * scale == outputWidth && height * scale == outputHeight;
}

// Where a width x height picture lies on an output of the given size at whole multiples.
PictureLayout IntegerLayout(int outputWidth, int outputHeight, int width, int height) {
    PictureLayout layout;
    if (width > 0 && height > 0) {
        layout.scale = std::max(1, std::min(outputWidth / width, outputHeight / height));
    }
    layout.x = (outputWidth - width * layout.scale) / 2;
    layout.y = (outputHeight - height * layout.scale) / 2;
    return layout;
}

// Window coordinates to picture coordinates (rounding down, also left of the picture).
int ToPicture(int windowCoordinate, int offset, int scale) {
    const int relative = windowCoordinate - offset;
    return relative >= 0 ? relative / scale : -((-relative + scale - 1) / scale);
}

// Whether the surface stores pixels as the frame does (32 bits, 0x..RRGGBB) and ignores the top
// byte, so rows copy as they are (a surface with alpha gets SDL's copy, which makes it opaque).
bool HasFramePixelLayout(const SDL_Surface* surface) {
    return surface->format->format == SDL_PIXELFORMAT_RGB888;
}

// Copies the frame into the surface at the layout's place, which lies inside the surface.
bool CopyIntoSurface(const uint32_t* pixels, int pitchInPixels, int width, int height,
                     SDL_Surface* surface, const PictureLayout& layout) {
    if (layout.x < 0 || layout.y < 0 || layout.x + width * layout.scale > surface->w ||
        layout.y + height * layout.scale > surface->h || surface->pitch % 4 != 0 ||
        SDL_LockSurface(surface) != 0) {
        return false;
    }
    const int targetPitch = surface->pitch / 4;
    uint32_t* target = static_cast<uint32_t*>(surface->pixels) +
                       static_cast<size_t>(layout.y) * targetPitch + layout.x;
    CopyPictureScaled(pixels, pitchInPixels, width, height, target, targetPitch, layout.scale);
    SDL_UnlockSurface(surface);
    return true;
}

int ScaleFactor() {
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0 || dpi <= 0) {
        return 1;
    }
    return std::max(1, static_cast<int>(dpi / 96.0f + 0.25f));
}

}  // namespace

GameWindow::GameWindow() : state_(std::make_unique<State>()) {}

GameWindow::~GameWindow() {
    Destroy();
}

bool GameWindow::IsCreated() const {
    return state_->window != nullptr;
}

bool GameWindow::IsAccelerated() const {
    return state_->accelerated;
}

bool GameWindow::ScalesSmoothly() const {
    const State& s = *state_;
    SDL_ScaleMode mode = SDL_ScaleModeNearest;
    return !s.drawsToSurface && s.texture != nullptr &&
           SDL_GetTextureScaleMode(s.texture, &mode) == 0 && mode != SDL_ScaleModeNearest &&
           !SDL_RenderGetIntegerScale(s.renderer);
}

bool GameWindow::StartVideo(std::string& error) const {
    State& s = *state_;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            error = SDL_GetError();
            return false;
        }
        s.startedVideo = true;
    }
    return true;
}

bool GameWindow::Create(const WindowSettings& settings, std::string& error) {
    DestroyWindow();
    State& s = *state_;
    s.settings = settings;
    if (!StartVideo(error)) {
        return false;
    }
    const int scale = ScaleFactor();
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if (settings.fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    const Rectangle area = WorkArea();
    const int windowWidth = settings.width * scale;
    const int windowHeight = settings.height * scale;
    int x = settings.preferredX;
    int y = settings.preferredY;
    if (x == -1) {
        x = area.x + (area.width - windowWidth) / 2;
        y = area.y + (area.height - windowHeight) / 2;
    }
    x = std::clamp(x, area.x + 4, std::max(area.x + 4, area.x + area.width - windowWidth - 4));
    y = std::clamp(y, area.y + 4, std::max(area.y + 4, area.y + area.height - windowHeight - 4));
    s.window = SDL_CreateWindow(settings.title.c_str(), x, y, windowWidth, windowHeight, flags);
    if (s.window == nullptr) {
        error = SDL_GetError();
        return false;
    }
    if (!CreateRenderer(error)) {
        DestroyWindow();
        return false;
    }
    s.cursors[static_cast<int>(CursorKind::kArrow)] =
        SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    s.cursors[static_cast<int>(CursorKind::kHand)] = MakeCursor(HandCursorShape());
    s.cursors[static_cast<int>(CursorKind::kDragging)] = MakeCursor(DraggingCursorShape());
    if (settings.fullScreen) {
        SDL_DisableScreenSaver();
    } else {
        SDL_EnableScreenSaver();
    }
    SDL_StartTextInput();
    return true;
}

bool GameWindow::CreateRenderer(std::string& error) {
    State& s = *state_;
    const WindowSettings& settings = s.settings;
    s.accelerated = false;
    s.drawsToSurface = false;
    s.clearedWidth = -1;
    s.clearedHeight = -1;
    s.shownSurface = nullptr;
    if (settings.accelerated) {
        const uint32_t flags =
            SDL_RENDERER_ACCELERATED | (settings.vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
        s.renderer = SDL_CreateRenderer(s.window, -1, flags);
        SDL_RendererInfo info;
        s.accelerated = s.renderer != nullptr && SDL_GetRendererInfo(s.renderer, &info) == 0 &&
                        (info.flags & SDL_RENDERER_ACCELERATED) != 0;
    }
    if (!s.accelerated) {
        if (s.renderer != nullptr) {
            SDL_DestroyRenderer(s.renderer);
            s.renderer = nullptr;
        }
        // No graphics card: the window's own pixels, where SDL offers them, and truly without
        // the graphics card (SDL would otherwise put them in one where it can, the very thing
        // a player who switched acceleration off wants to avoid).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_GetWindowSurface(s.window) != nullptr) {
            s.drawsToSurface = true;
            return true;
        }
        s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (s.renderer == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_RenderSetLogicalSize(s.renderer, settings.width, settings.height);
    // The scaling follows the renderer that was actually made: smooth on the graphics card;
    // whole multiples, nearest, on the software renderer, where smoothing a full screen would
    // cost more than drawing the frame.
    SDL_RenderSetIntegerScale(s.renderer, s.accelerated ? SDL_FALSE : SDL_TRUE);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, s.accelerated ? "linear" : "nearest");
    // The frame's alpha is not shown (the window is opaque): a texture without alpha is copied
    // as it is, where one with alpha would be blended over the cleared output pixel by pixel.
    s.texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  settings.width, settings.height);
    if (s.texture == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetTextureBlendMode(s.texture, SDL_BLENDMODE_NONE);
    return true;
}

void GameWindow::Destroy() {
    DestroyWindow();
    State& s = *state_;
    if (s.startedVideo) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        s.startedVideo = false;
    }
}

void GameWindow::DestroyWindow() {
    State& s = *state_;
    for (SDL_Cursor*& cursor : s.cursors) {
        if (cursor != nullptr) {
            SDL_FreeCursor(cursor);
            cursor = nullptr;
        }
    }
    if (s.frame != nullptr) {
        SDL_FreeSurface(s.frame);
        s.frame = nullptr;
    }
    s.drawsToSurface = false;
    s.shownSurface = nullptr;
    s.handedOut = nullptr;
    if (s.texture != nullptr) {
        SDL_DestroyTexture(s.texture);
        s.texture = nullptr;
    }
    if (s.renderer != nullptr) {
        SDL_DestroyRenderer(s.renderer);
        s.renderer = nullptr;
    }
    if (s.window != nullptr) {
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
    }
}

PictureLayout GameWindow::SurfaceLayout() const {
    const State& s = *state_;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(s.window, &width, &height);
    return IntegerLayout(width, height, s.settings.width, s.settings.height);
}

void GameWindow::ToPictureCoordinates(int windowX, int windowY, int& x, int& y) const {
    x = windowX;
    y = windowY;
    // The renderer maps the pointer itself; the window's own pixels are laid out here.
    if (state_->drawsToSurface) {
        const PictureLayout layout = SurfaceLayout();
        x = ToPicture(windowX, layout.x, layout.scale);
        y = ToPicture(windowY, layout.y, layout.scale);
    }
}

void GameWindow::PollEvents(std::vector<InputEvent>& events) {
    State& s = *state_;
    events.insert(events.end(), s.injected.begin(), s.injected.end());
    s.injected.clear();
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) {
        InputEvent event;
        switch (sdl.type) {
            case SDL_QUIT:
                event.kind = EventKind::kCloseRequested;
                events.push_back(event);
                break;
            case SDL_MOUSEMOTION:
                event.kind = EventKind::kMouseMove;
                ToPictureCoordinates(sdl.motion.x, sdl.motion.y, event.x, event.y);
                s.pointerX = event.x;
                s.pointerY = event.y;
                events.push_back(event);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const int bit = ButtonBit(sdl.button.button);
                if (bit == 0) {
                    break;
                }
                const bool down = sdl.type == SDL_MOUSEBUTTONDOWN;
                if (down) {
                    s.latch.Press(bit);
                } else {
                    s.latch.Release(bit);
                }
                event.kind = down ? EventKind::kMouseDown : EventKind::kMouseUp;
                ToPictureCoordinates(sdl.button.x, sdl.button.y, event.x, event.y);
                s.pointerX = event.x;
                s.pointerY = event.y;
                event.clickCount = ClickCount(sdl.button.button, sdl.button.clicks);
                events.push_back(event);
                break;
            }
            case SDL_MOUSEWHEEL:
                if (sdl.wheel.y != 0) {
                    event.kind = EventKind::kMouseWheel;
                    event.wheelDelta =
                        sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
                    events.push_back(event);
                }
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const int key = VirtualKey(sdl.key.keysym.sym);
                if (key == 0) {
                    break;
                }
                event.kind = sdl.type == SDL_KEYDOWN ? EventKind::kKeyDown : EventKind::kKeyUp;
                event.keyCode = key;
                event.altDown = (sdl.key.keysym.mod & KMOD_ALT) != 0;
                events.push_back(event);
                // Alt+Enter is a system key: Windows sends no character for it.
                if (sdl.type == SDL_KEYDOWN && ControlCharacter(key) != 0 && !event.altDown) {
                    InputEvent character;
                    character.kind = EventKind::kKeyChar;
                    character.character = ControlCharacter(key);
                    events.push_back(character);
                }
                break;
            }
            case SDL_TEXTINPUT:
                AppendLatin1Characters(sdl.text.text, events);
                break;
            case SDL_WINDOWEVENT:
                switch (sdl.window.event) {
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        event.kind = EventKind::kFocusGained;
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        s.latch.ReleaseAll();
                        event.kind = EventKind::kFocusLost;
                        break;
                    case SDL_WINDOWEVENT_MINIMIZED:
                        event.kind = EventKind::kMinimized;
                        break;
                    case SDL_WINDOWEVENT_RESTORED:
                        event.kind = EventKind::kRestored;
                        break;
                    case SDL_WINDOWEVENT_MAXIMIZED:
                        event.kind = EventKind::kMaximized;
                        break;
                    case SDL_WINDOWEVENT_CLOSE:
                        event.kind = EventKind::kCloseRequested;
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        event.kind = EventKind::kRepaint;
                        break;
                    case SDL_WINDOWEVENT_ENTER:
                        event.kind = EventKind::kMouseEnter;
                        break;
                    case SDL_WINDOWEVENT_LEAVE:
                        event.kind = EventKind::kMouseLeave;
                        event.x = s.pointerX;
                        event.y = s.pointerY;
                        break;
                    case SDL_WINDOWEVENT_MOVED:
                        event.kind = EventKind::kMoved;
                        event.x = sdl.window.data1;
                        event.y = sdl.window.data2;
                        break;
                    default:
                        continue;
                }
                events.push_back(event);
                break;
            default:
                break;
        }
    }
}

DrawingMemory GameWindow::PictureMemory() {
    State& s = *state_;
    s.handedOut = nullptr;
    if (!s.drawsToSurface || s.window == nullptr) {
        return {};
    }
    SDL_Surface* surface = SDL_GetWindowSurface(s.window);
    if (surface == nullptr || !HasFramePixelLayout(surface) || SDL_MUSTLOCK(surface) ||
        surface->pitch % 4 != 0 || surface->pixels == nullptr) {
        return {};
    }
    const int width = s.settings.width;
    const int height = s.settings.height;
    const PictureLayout layout = IntegerLayout(surface->w, surface->h, width, height);
    if (layout.scale != 1 || layout.x < 0 || layout.y < 0 || layout.x + width > surface->w ||
        layout.y + height > surface->h) {
        return {};
    }
    DrawingMemory memory;
    if (!s.SameSurface(surface)) {
        // New pixels need not be cleared by the system: the bars are, and the picture's place
        // too, for a frame that leaves parts of it undrawn.
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        s.NoteClearedSurface(surface);
    }
    memory.fresh = s.surfaceIsNew;
    s.surfaceIsNew = false;
    memory.width = width;
    memory.height = height;
    memory.pitchInPixels = surface->pitch / 4;
    memory.pixels = static_cast<uint32_t*>(surface->pixels) +
                    static_cast<size_t>(layout.y) * memory.pitchInPixels + layout.x;
    s.handedOut = memory.pixels;
    return memory;
}

bool GameWindow::Present(const uint32_t* pixels, int pitchInPixels) {
    State& s = *state_;
    if (pixels == nullptr || pitchInPixels < s.settings.width) {
        return false;
    }
    if (s.drawsToSurface && pixels == s.handedOut) {
        // Drawn in place. If the window made new pixels since, the old ones are gone: nothing
        // is read from them, and the caller draws again at the next place it is given.
        SDL_Surface* surface = SDL_GetWindowSurface(s.window);
        if (surface == nullptr || !s.SameSurface(surface)) {
            return false;
        }
        return SDL_UpdateWindowSurface(s.window) == 0;
    }
    if (s.drawsToSurface) {
        return CopyToSurface(pixels, pitchInPixels);
    }
    if (s.renderer == nullptr ||
        SDL_UpdateTexture(s.texture, nullptr, pixels, pitchInPixels * 4) != 0) {
        return false;
    }
    ShowTexture();
    return true;
}

void GameWindow::PresentLast() {
    State& s = *state_;
    if (s.drawsToSurface) {
        // The window's pixels hold the last picture unless the window changed size; then it
        // stays black until the next frame.
        SDL_Surface* surface = SDL_GetWindowSurface(s.window);
        if (surface != nullptr && !s.SameSurface(surface)) {
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
            s.NoteClearedSurface(surface);
        }
        SDL_UpdateWindowSurface(s.window);
        return;
    }
    if (s.renderer == nullptr) {
        return;
    }
    // A repaint request may follow anything the desktop did to the window: clear it all.
    s.clearedWidth = -1;
    ShowTexture();
}

bool GameWindow::CopyToSurface(const uint32_t* pixels, int pitchInPixels) {
    State& s = *state_;
    SDL_Surface* surface = SDL_GetWindowSurface(s.window);
    if (surface == nullptr) {
        return false;
    }
    const int width = s.settings.width;
    const int height = s.settings.height;
    if (s.frame == nullptr || s.frame->pixels != pixels || s.frame->pitch != pitchInPixels * 4) {
        if (s.frame != nullptr) {
            SDL_FreeSurface(s.frame);
        }
        // Described as having no alpha: the copy ignores it, as the window does.
        s.frame = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height,
                                                     32, pitchInPixels * 4, SDL_PIXELFORMAT_RGB888);
        if (s.frame == nullptr) {
            return false;
        }
        SDL_SetSurfaceBlendMode(s.frame, SDL_BLENDMODE_NONE);
    }
    const PictureLayout layout = IntegerLayout(surface->w, surface->h, width, height);
    // The window's pixels keep the bars between frames: they are cleared for a new surface only.
    if (!s.SameSurface(surface)) {
        if (!PictureCoversOutput(surface->w, surface->h, width, height, true)) {
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        }
        s.NoteClearedSurface(surface);
    }
    bool copied = false;
    if (HasFramePixelLayout(surface)) {
        copied = CopyIntoSurface(pixels, pitchInPixels, width, height, surface, layout);
    }
    if (!copied) {
        SDL_Rect dest{layout.x, layout.y, width * layout.scale, height * layout.scale};
        copied = (layout.scale == 1 ? SDL_BlitSurface(s.frame, nullptr, surface, &dest)
                                    : SDL_BlitScaled(s.frame, nullptr, surface, &dest)) == 0;
    }
    return copied && SDL_UpdateWindowSurface(s.window) == 0;
}

void GameWindow::ShowTexture() {
    State& s = *state_;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(s.renderer, &outputWidth, &outputHeight);
    const bool covered =
        PictureCoversOutput(outputWidth, outputHeight, s.settings.width, s.settings.height,
                            SDL_RenderGetIntegerScale(s.renderer) == SDL_TRUE);
    // The picture overwrites every output pixel it covers (no blending), so only letterbox bars
    // need black; a graphics card's back buffer holds nothing after a present, the software
    // renderer's holds the last picture and its bars.
    const bool sameOutput = outputWidth == s.clearedWidth && outputHeight == s.clearedHeight;
    if (!covered && (s.accelerated || !sameOutput)) {
        SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
        SDL_RenderClear(s.renderer);
        s.clearedWidth = outputWidth;
        s.clearedHeight = outputHeight;
    }
    SDL_RenderCopy(s.renderer, s.texture, nullptr, nullptr);
    SDL_RenderPresent(s.renderer);
}

bool GameWindow::ReadShownPixels(std::vector<uint32_t>& pixels, int& width, int& height) const {
    const State& s = *state_;
    width = 0;
    height = 0;
    if (s.drawsToSurface) {
        SDL_Surface* surface = SDL_GetWindowSurface(s.window);
        if (surface == nullptr) {
            return false;
        }
        width = surface->w;
        height = surface->h;
        pixels.assign(static_cast<size_t>(width) * height, 0);
        const bool read = SDL_ConvertPixels(width, height, surface->format->format, surface->pixels,
                                            surface->pitch, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                            width * 4) == 0;
        for (uint32_t& pixel : pixels) {
            pixel |= 0xFF000000u;
        }
        return read;
    }
    if (s.renderer == nullptr || SDL_GetRendererOutputSize(s.renderer, &width, &height) != 0 ||
        width <= 0 || height <= 0) {
        return false;
    }
    pixels.assign(static_cast<size_t>(width) * height, 0);
    // The logical size confines reading to the picture: it is set aside to read the bars too.
    SDL_RenderSetLogicalSize(s.renderer, 0, 0);
    const bool read = SDL_RenderReadPixels(s.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                           pixels.data(), width * 4) == 0;
    SDL_RenderSetLogicalSize(s.renderer, s.settings.width, s.settings.height);
    for (uint32_t& pixel : pixels) {
        pixel |= 0xFF000000u;
    }
    return read;
}

bool GameWindow::SetFullScreen(bool fullScreen) {
    State& s = *state_;
    if (s.window == nullptr) {
        return false;
    }
    if (SDL_SetWindowFullscreen(s.window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        return false;
    }
    s.settings.fullScreen = fullScreen;
    if (fullScreen) {
        SDL_DisableScreenSaver();
    } else {
        SDL_RestoreWindow(s.window);
        SDL_EnableScreenSaver();
    }
    return true;
}

bool GameWindow::IsFullScreen() const {
    return state_->window != nullptr &&
           (SDL_GetWindowFlags(state_->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

int GameWindow::RefreshRate() const {
    SDL_DisplayMode mode;
    const int display = state_->window != nullptr ? SDL_GetWindowDisplayIndex(state_->window) : 0;
    if (SDL_GetCurrentDisplayMode(std::max(display, 0), &mode) != 0 || mode.refresh_rate <= 0) {
        return 100;
    }
    return mode.refresh_rate;
}

Rectangle GameWindow::WorkArea() const {
    std::string ignored;
    StartVideo(ignored);
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            bounds = {0, 0, mode.w, mode.h};
        } else {
            bounds = {0, 0, 1024, 768};
        }
    }
    return {bounds.x, bounds.y, bounds.w, bounds.h};
}

bool WindowFits(const Rectangle& area, int width, int height, int scale) {
    const int64_t shownWidth = int64_t{width} * std::max(scale, 1);
    const int64_t shownHeight = int64_t{height} * std::max(scale, 1);
    return shownWidth < area.width && shownHeight < area.height;
}

bool GameWindow::FitsWindowed(int width, int height) const {
    const Rectangle area = WorkArea();
    return WindowFits(area, width, height, ScaleFactor());
}

void GameWindow::WaitForEvent(uint32_t milliseconds) {
    SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(milliseconds, 60000)));
}

bool GameWindow::SetIcon(const uint32_t* pixels, int width, int height) {
    State& s = *state_;
    if (s.window == nullptr || pixels == nullptr || width <= 0 || height <= 0 || width > 1024 ||
        height > 1024) {
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        return false;
    }
    SDL_SetWindowIcon(s.window, surface);  // SDL copies the pixels
    SDL_FreeSurface(surface);
    return true;
}

void GameWindow::GetPosition(int& x, int& y) const {
    x = -1;
    y = -1;
    if (state_->window != nullptr) {
        SDL_GetWindowPosition(state_->window, &x, &y);
    }
}

void GameWindow::Show() {
    if (state_->window != nullptr) {
        SDL_ShowWindow(state_->window);
        SDL_RaiseWindow(state_->window);
    }
}

void GameWindow::Raise() {
    if (state_->window != nullptr) {
        SDL_RaiseWindow(state_->window);
    }
}

int GameWindow::SampleMouseButtons() {
    return state_->latch.Sample();
}

int GameWindow::HeldMouseButtons() const {
    return state_->latch.Held();
}

void GameWindow::PointerPosition(int& x, int& y) const {
    x = state_->pointerX;
    y = state_->pointerY;
}

void GameWindow::WarpPointer(int x, int y) {
    State& s = *state_;
    if (s.window != nullptr && s.drawsToSurface) {
        const PictureLayout layout = SurfaceLayout();
        SDL_WarpMouseInWindow(s.window, x * layout.scale + layout.x, y * layout.scale + layout.y);
    } else if (s.window != nullptr && s.renderer != nullptr) {
        float scaleX = 1;
        float scaleY = 1;
        SDL_RenderGetScale(s.renderer, &scaleX, &scaleY);
        SDL_Rect viewport;
        SDL_RenderGetViewport(s.renderer, &viewport);
        SDL_WarpMouseInWindow(s.window, static_cast<int>((x + viewport.x) * scaleX),
                              static_cast<int>((y + viewport.y) * scaleY));
    }
    s.pointerX = x;
    s.pointerY = y;
    InputEvent event;
    event.kind = EventKind::kMouseMove;
    event.x = x;
    event.y = y;
    s.injected.push_back(event);
}

void GameWindow::SetCursor(CursorKind kind) {
    SDL_Cursor* cursor = state_->cursors[static_cast<int>(kind)];
    if (cursor != nullptr) {
        SDL_SetCursor(cursor);
    }
}

void GameWindow::ShowCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void GameWindow::CaptureMouse(bool capture) {
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

}  // namespace Platform
