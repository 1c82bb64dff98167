// The window-message record that the board builds from each input event and hands to the
// message handler, the menus, the high-score table and the game's key handling: the seven fields
// of a Windows message, with the Windows message codes.
#pragma once

#include <cstdint>

namespace Quillory {

constexpr uint32_t kMessageKeyDown = 0x100;    // wParam: virtual-key code
constexpr uint32_t kMessageChar = 0x102;       // wParam: the character typed
constexpr uint32_t kMessageMouseMove = 0x200;  // x, y: pointer in client pixels
constexpr uint32_t kMessageLeftButtonDown = 0x201;

struct WindowMessage {
    void* window = nullptr;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t time = 0;
    int x = 0;
    int y = 0;
};

}  // namespace Quillory
