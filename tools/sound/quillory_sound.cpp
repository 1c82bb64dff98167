// quillory-sound <in> <out.wav>: decodes a sound file the way the game loads it (WAV, Ogg Vorbis
// or AU, by extension; through "main.pak" when the current folder holds one) and writes it as a
// plain 16-bit PCM WAV file with the source's channels and rate.
#include <cstdio>
#include <memory>
#include <string>

#include "framework/archive/pak_file.h"
#include "framework/archive/pak_interface.h"
#include "framework/sound/sound_files.h"
#include "framework/sound/wav_file.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillory-sound <in.wav|in.ogg|in.au> <out.wav>\n");
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];

    // The game reads through the archive first; so does the tool when there is one here.
    std::unique_ptr<Tuvo::PakInterface> layer;
    if (Platform::FileExists("main.pak")) {
        layer = std::make_unique<Tuvo::PakInterface>();
        if (!layer->MountArchive("main.pak")) {
            std::fprintf(stderr, "quillory-sound: warning: main.pak is not a usable archive\n");
        }
    }

    Tuvo::SoundBuffer sound;
    std::string error;
    if (!Tuvo::LoadSoundFile(input, sound, error)) {
        std::fprintf(stderr, "quillory-sound: cannot load %s: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    if (!Platform::WriteFileAtomically(output, Tuvo::EncodeWav(sound),
                                       Platform::Durability::kNoFlush)) {
        std::fprintf(stderr, "quillory-sound: cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: %d channel%s, %u Hz, %zu frames (%.3f s), %d-bit source -> %s\n",
                input.c_str(), sound.channels, sound.channels == 1 ? "" : "s", sound.rate,
                sound.Frames(), static_cast<double>(sound.Frames()) / sound.rate, sound.sourceBits,
                output.c_str());
    return 0;
}
