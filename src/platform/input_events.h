// Window and input events as the platform layer hands them to the shell: one record per event,
// pointer positions in 800x600 game coordinates, keys as Windows virtual-key codes.
#pragma once

#include <cstdint>

namespace Platform {

enum class EventKind {
    kMouseMove,
    kMouseDown,   // clickCount: 1 or 2 left, -1 or -2 right, 3 middle
    kMouseUp,     // clickCount as for kMouseDown
    kMouseWheel,  // wheelDelta in notches (the Windows delta / 120)
    kMouseEnter,
    kMouseLeave,
    kKeyDown,  // keyCode; altDown set when Alt was held
    kKeyUp,
    kKeyChar,  // character: an 8-bit Latin-1 code
    kFocusGained,
    kFocusLost,
    kMinimized,
    kRestored,
    kMaximized,
    kCloseRequested,  // the window's close button, or SIGTERM / SIGINT
    kRepaint,
    kMoved,  // x, y: the window's new top left on the desktop
};

struct InputEvent {
    EventKind kind = EventKind::kMouseMove;
    int x = 0;
    int y = 0;
    int clickCount = 0;
    int wheelDelta = 0;
    int keyCode = 0;
    int character = 0;
    bool altDown = false;
};

// Windows virtual-key codes of the keys the game and the framework use.
namespace Key {
constexpr int kBack = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kAlt = 18;
constexpr int kPause = 19;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kDigit0 = 48;   // '0'..'9' are 48..57
constexpr int kLetterA = 65;  // 'A'..'Z' are 65..90
constexpr int kNumpad0 = 96;  // numeric keypad 0..9 are 96..105
constexpr int kMultiply = 106;
constexpr int kAdd = 107;
constexpr int kSubtract = 109;
constexpr int kDecimal = 110;
constexpr int kDivide = 111;
constexpr int kF1 = 112;  // F1..F12 are 112..123
}  // namespace Key

// Mouse buttons as bits of a button state.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

}  // namespace Platform
