// quillory-image <in> <out.png>: loads a picture exactly as the game does (format order, alpha
// files, and "main.pak" when the current folder has one) and writes the pixels the game would
// get as an RGBA PNG, so data authors can see what will be shown.
#include <cstdio>
#include <filesystem>
#include <string>

#include "framework/archive/pak_interface.h"
#include "imagefiles/image_loader.h"
#include "imagefiles/png_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(
            stderr,
            "usage: quillory-image <picture> <out.png>\n"
            "  <picture> is a name as the game uses it, with or without extension\n"
            "  (\"Graphics\\\\back_menu.jpg\", \"Graphics/Shapes/quill_0\"); its alpha files\n"
            "  \"_name\" / \"name_\" are merged, and \"main.pak\" in the current folder\n"
            "  is searched before the disk.\n");
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];

    Tuvo::PakInterface layer;
    if (std::filesystem::exists("main.pak") && !layer.MountArchive("main.pak")) {
        std::fprintf(stderr, "quillory-image: warning: main.pak is not a readable archive\n");
    }

    const auto image = ImageLib::LoadImageFile(input, true);
    if (image == nullptr) {
        std::fprintf(stderr,
                     "quillory-image: nothing loads from \"%s\": no .tga (32-bit, top-left), "
                     ".jpg, .png or .gif file of that name could be read\n",
                     input.c_str());
        return 1;
    }
    if (!ImageLib::WritePngFile(output, image->bits.data(), image->width, image->height)) {
        std::fprintf(stderr, "quillory-image: cannot write \"%s\"\n", output.c_str());
        return 1;
    }
    std::printf("%d x %d\n", image->width, image->height);
    return 0;
}
