// quillory-render-menu: draws one menu screen of a data folder into an 800x600 PNG, the way the
// game shows it, so that whoever edits a menu file can see it without playing.
//
//   quillory-render-menu [--hover <button name>] [--language <name>] <data folder> <menu file>
//                        <out.png>
//
// The data folder's language, first font and "main.pak" (when present) are used; a menu without
// a background is drawn over "Graphics\back_menu.jpg". The player's own user folder is never read
// or written: options come from their defaults, and the log goes to a temporary folder whose
// failures and warnings are printed.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/app_log.h"
#include "engine/display_image.h"
#include "engine/ini_access.h"
#include "engine/menu.h"
#include "engine/sprite_manager.h"
#include "framework/archive/pak_file.h"
#include "framework/archive/pak_interface.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/memory_image.h"
#include "imagefiles/png_writer.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

class SilentMenuHost : public Quillory::MenuHost {
public:
    void PlaySound(const char*) override {}
    bool IsLeftButtonDown() const override { return false; }
};

struct Options {
    std::string hover;
    std::string language = "ENGLISH";
    std::string dataFolder;
    std::string menuFile;
    std::string output;
};

void Usage() {
    std::fprintf(stderr,
                 "usage: quillory-render-menu [--hover <button name>] [--language <name>] "
                 "<data folder> <menu file> <out.png>\n");
}

bool ParseOptions(int argc, char** argv, Options& options) {
    std::string positional[3];
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--hover" || argument == "--language") && i + 1 < argc) {
            (argument == "--hover" ? options.hover : options.language) = argv[++i];
        } else if (count < 3 && !argument.starts_with("--")) {
            positional[count++] = argument;
        } else {
            return false;
        }
    }
    if (count != 3) {
        return false;
    }
    options.dataFolder = positional[0];
    options.menuFile = positional[1];
    options.output = std::filesystem::absolute(positional[2]).string();
    return true;
}

// The menu file as the game names it: a bare file name is looked for in "Menu\".
std::string MenuPath(const std::string& file) {
    if (Platform::FileExists(file) || file.find_first_of("/\\") != std::string::npos) {
        return file;
    }
    return "Menu\\" + file;
}

// Prints the log's failures and warnings without their HTML.
void ReportLog(const std::string& logFile) {
    std::ifstream in(logFile);
    std::stringstream contents;
    contents << in.rdbuf();
    const std::string log = contents.str();
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find("<BR>", start);
        if (end == std::string::npos) {
            end = log.size();
        }
        std::string entry;
        bool inTag = false;
        for (size_t i = start; i < end; ++i) {
            if (log[i] == '<') {
                inTag = true;
            } else if (log[i] == '>') {
                inTag = false;
            } else if (!inTag) {
                entry += log[i];
            }
        }
        if (entry.find("FAIL") != std::string::npos || entry.find("WARNING") != std::string::npos) {
            std::fprintf(stderr, "%s\n", entry.c_str());
        }
        start = end + 4;
    }
}

// Moves the pointer onto the named button, as the game's pointer would; false when the menu has
// no visible button of that name.
bool HoverButton(Quillory::CMenu& menu, const std::string& name) {
    for (int i = 0; i < menu.ButtonCount(); ++i) {
        const Quillory::MenuButton& button = menu.Button(i);
        if (name == button.name && button.visible) {
            Quillory::WindowMessage move;
            move.message = Quillory::kMessageMouseMove;
            move.x = static_cast<int>(button.xc * kScreenWidth);
            move.y = static_cast<int>(button.yc * kScreenHeight);
            menu.HandleMessage(move);
            return menu.IsButtonHover(name.c_str());
        }
    }
    return false;
}

int Render(const Options& options) {
    if (!Platform::ChangeCurrentDirectory(options.dataFolder)) {
        std::fprintf(stderr, "quillory-render-menu: cannot open the data folder '%s'\n",
                     options.dataFolder.c_str());
        return 1;
    }
    Tuvo::PakInterface layer;
    if (Platform::FileExists("main.pak")) {
        layer.MountArchive("main.pak");
    }
    Quillory::SetLanguageName(options.language.c_str());

    Quillory::DisplaySpriteHost spriteHost(kScreenWidth, kScreenHeight);
    Quillory::CSpriteManager sprites;
    sprites.SetHost(&spriteHost);
    std::string fontFolder = Quillory::GetLanguageString("English\\");
    if (fontFolder.empty()) {
        fontFolder = "English\\";
    }
    sprites.InitSymbolFont((fontFolder + "font01.png").c_str());

    SilentMenuHost menuHost;
    Quillory::CMenu menu;
    menu.Attach(&sprites, &menuHost);
    const std::string menuPath = MenuPath(options.menuFile);
    if (menu.Load(menuPath.c_str()) != 1) {
        std::fprintf(stderr, "quillory-render-menu: cannot load the menu '%s'\n", menuPath.c_str());
        return 1;
    }

    Tuvo::MemoryImage screen(kScreenWidth, kScreenHeight);
    screen.FillRect(Tuvo::Rect(0, 0, kScreenWidth, kScreenHeight), Tuvo::kColorBlack,
                    Tuvo::kDrawModeNormal);
    Tuvo::Graphics graphics(&screen);
    sprites.SetTarget(&graphics);
    if (!options.hover.empty()) {
        menu.Draw();  // measures the natural-size buttons, so that they can be hit
        if (!HoverButton(menu, options.hover)) {
            std::fprintf(stderr, "quillory-render-menu: no visible button '%s' in the menu\n",
                         options.hover.c_str());
            return 1;
        }
        screen.FillRect(Tuvo::Rect(0, 0, kScreenWidth, kScreenHeight), Tuvo::kColorBlack,
                        Tuvo::kDrawModeNormal);
    }
    if (menu.BackgroundImage()[0] == '\0') {
        sprites.DrawSprite(sprites.GetTexture("Graphics\\back_menu.jpg"), 0.5f, 0.5f, 1, 1, 0, 0, 1,
                           1, Quillory::kNoTint, Quillory::kSpriteNormalMode, 0);
    }
    menu.Draw();
    if (!ImageLib::WritePngFile(options.output, screen.GetBits(), kScreenWidth, kScreenHeight)) {
        std::fprintf(stderr, "quillory-render-menu: cannot write '%s'\n", options.output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        Usage();
        return 2;
    }
    char userFolder[] = "/tmp/quillory-render-menu-XXXXXX";
    if (mkdtemp(userFolder) == nullptr) {
        std::fprintf(stderr, "quillory-render-menu: cannot make a temporary folder\n");
        return 1;
    }
    Platform::SetUserFolderOverride(userFolder);
    const std::string logFile = std::string(userFolder) + "/applog.htm";
    Quillory::SetLogFilePath(logFile.c_str());
    const int result = Render(options);
    ReportLog(logFile);
    std::error_code ignored;
    std::filesystem::remove_all(userFolder, ignored);
    return result;
}
