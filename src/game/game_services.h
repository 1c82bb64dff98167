// What the game rules take from outside, as small interfaces handed to the rules object, so that
// the game, the simulator and the tests run the very same rules with or without a window.
#pragma once

namespace Platform {
class Clock;
class RandomGenerator;
}  // namespace Platform

namespace Tuvo {
class Image;
}

namespace Quillory {

class CEffect2d;
class GameEventListener;

// The pointer as the rules sample it once per update.
struct PointerState {
    float x = 0;  // screen fractions of the client area
    float y = 0;
    bool left = false;
    bool right = false;
};

class PointerInput {
public:
    virtual ~PointerInput() = default;
    virtual PointerState Sample() = 0;
};

// Sound events by name, and the music volume (ducked to 0 when a game is lost or complete).
class GameSounds {
public:
    virtual ~GameSounds() = default;
    virtual void PlayEvent(const char* eventName) = 0;
    virtual void SetMusicVolume(float volume) = 0;
};

// Image look-up by file name (the sprite manager's GetTexture); null when it cannot be loaded.
class TextureSource {
public:
    virtual ~TextureSource() = default;
    virtual Tuvo::Image* GetTexture(const char* fileName) = 0;
};

// The menu screens whose controls the rules read or change.
enum class GameMenu { Main, InGame, Map };

class MenuControls {
public:
    virtual ~MenuControls() = default;
    // Centre of the named control (a text or a button); false when the menu has none of that name.
    virtual bool ControlPosition(GameMenu menu, const char* name, float& x, float& y) = 0;
    // Buttons by index in file order.
    virtual int ButtonCount(GameMenu menu) = 0;
    virtual const char* ButtonName(GameMenu menu, int index) = 0;
    virtual bool ButtonPosition(GameMenu menu, int index, float& x, float& y) = 0;
    virtual void SetButtonEnabled(GameMenu menu, int index, bool enabled) = 0;
    virtual bool IsButtonHover(GameMenu menu, const char* name) = 0;
};

// The shell's part of a screen-state switch: the pointer nudge and the redraw.
class ScreenStateHost {
public:
    virtual ~ScreenStateHost() = default;
    virtual void OnScreenStateChanged(int previous, int current) = 0;
};

// Everything the rules object is given. clock, pointer, rulesRandom and cosmeticRandom are
// required; any other service may be null (no sound, no images, no effects, no menus, nobody
// listening). Without an effects list every timed score addition is applied at once.
struct GameServices {
    Platform::Clock* clock = nullptr;
    PointerInput* pointer = nullptr;
    Platform::RandomGenerator* rulesRandom = nullptr;     // every draw that changes the game
    Platform::RandomGenerator* cosmeticRandom = nullptr;  // butterflies and other decoration
    GameSounds* sounds = nullptr;
    TextureSource* textures = nullptr;
    CEffect2d* effects = nullptr;
    MenuControls* menus = nullptr;
    ScreenStateHost* host = nullptr;
    GameEventListener* events = nullptr;
};

}  // namespace Quillory
