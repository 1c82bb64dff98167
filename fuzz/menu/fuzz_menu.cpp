// Fuzzes the menu loader: any bytes load or fail cleanly, and the loaded menu can be drawn and
// fed pointer and keyboard input without reading or writing outside its records.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/app_log.h"
#include "engine/menu.h"
#include "engine/sprite_manager.h"
#include "framework/graphics/memory_image.h"
#include "platform/folders.h"

namespace {

// Every image is a small opaque square, so every control has a size and can be hit.
class SquareHost : public Quillory::SpriteHost {
public:
    std::unique_ptr<Tuvo::Image> LoadDisplayImage(const char*, bool) override {
        auto image = std::make_unique<Tuvo::MemoryImage>(8, 8);
        for (int i = 0; i < 64; ++i) {
            image->GetBits()[i] = 0xFF336699;
        }
        image->BitsChanged();
        return image;
    }
    int ScreenWidth() const override { return 160; }
    int ScreenHeight() const override { return 120; }
    int ClientWidth() const override { return 160; }
    int ClientHeight() const override { return 120; }
    bool Is3D() const override { return false; }
    uint32_t Milliseconds() const override { return 250; }
};

class QuietMenuHost : public Quillory::MenuHost {
public:
    void PlaySound(const char*) override {}
    bool IsLeftButtonDown() const override { return true; }
};

void Send(Quillory::CMenu& menu, uint32_t code, int x, int y, uintptr_t wParam) {
    Quillory::WindowMessage message;
    message.message = code;
    message.x = x;
    message.y = y;
    message.wParam = wParam;
    menu.HandleMessage(message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool prepared = false;
    if (!prepared) {
        Platform::SetUserFolderOverride("/tmp/quillory-fuzz-menu-" + std::to_string(getpid()));
        Quillory::SetLogFilePath("/dev/null");
        prepared = true;
    }
    static SquareHost spriteHost;
    static QuietMenuHost menuHost;
    static Quillory::CSpriteManager sprites;
    static Tuvo::MemoryImage target(160, 120);
    static Tuvo::Graphics graphics(&target);
    sprites.SetHost(&spriteHost);
    sprites.SetTarget(&graphics);

    Quillory::CMenu menu;
    menu.Attach(&sprites, &menuHost);
    if (menu.LoadFromMemory("fuzz.xml", reinterpret_cast<const char*>(data), size) != 1) {
        return 0;
    }
    menu.Draw();
    for (int i = 0; i < 4; ++i) {
        const int x = size > static_cast<size_t>(i) ? data[i] % 160 : 80;
        const int y = size > static_cast<size_t>(i + 4) ? data[i + 4] % 120 : 60;
        Send(menu, Quillory::kMessageMouseMove, x, y, 0);
        Send(menu, Quillory::kMessageLeftButtonDown, x, y, 0);
        Send(menu, Quillory::kMessageChar, 0, 0, size > 0 ? data[size - 1] : 'a');
        Send(menu, Quillory::kMessageKeyDown, 0, 0, 8);
    }
    menu.Draw();
    if (sprites.TextureCount() > 600) {
        sprites.DeleteAllTextures();
    }
    return 0;
}
