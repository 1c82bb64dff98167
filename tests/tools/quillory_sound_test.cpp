// Runs the quillory-sound tool on Ogg Vorbis, WAV and AU files (loose and in "main.pak") and
// reads its WAV output back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

#include "framework/archive/pak_format.h"
#include "framework/sound/wav_file.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

std::string TestSound(const std::string& name) {
    return TestSupport::ReadWholeFile(std::string(std::getenv("QUILLORY_SOURCE_DIR")) +
                                      "/tests/framework/sound/data/" + name);
}

// Runs the tool in `folder` with its output in "out.txt" there.
int RunTool(const TempFolder& folder, std::vector<std::string> arguments) {
    return TestSupport::RunProgram({.program = QUILLORY_SOUND_TOOL,
                                    .arguments = std::move(arguments),
                                    .folder = folder.Path(),
                                    .errorFile = folder.File("out.txt")});
}

Tuvo::SoundBuffer ReadOutput(const TempFolder& folder, const std::string& name) {
    const std::string bytes = folder.Read(name);
    Tuvo::SoundBuffer sound;
    std::string error;
    EXPECT_TRUE(Tuvo::ReadWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nullptr,
                              sound, error))
        << error;
    return sound;
}

// Each format the game reads, loose or in the archive, written back as 16-bit PCM with the
// source's channels and rate (the decoders themselves are the sound framework's tests).
TEST(QuillorySoundTool, DecodesEachFormatLooseOrArchivedAndFailsClearly) {
    TempFolder folder;
    const std::string ogg = TestSound("tone440_mono_22050.ogg");
    std::vector<Tuvo::PakSourceFile> files(1);
    files[0] = {"Music\\theme1.ogg", 1, std::vector<uint8_t>(ogg.begin(), ogg.end())};
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak(files, archive));
    folder.Write("main.pak", std::string(archive.begin(), archive.end()));
    folder.Write("stereo.OGG", TestSound("tone1000_stereo_44100.ogg"));
    folder.Write(
        "three.au",
        std::string(".snd\0\0\0\x18\0\0\0\x03\0\0\0\x01\0\0\x2b\x11\0\0\0\x03\xFF\x80\x00", 27));
    for (const auto& [input, output, channels, rate, frames, printed] :
         {std::tuple{"Music\\theme1.ogg", "mono.wav", 1, 22050u, 11025u, "1 channel, 22050 Hz"},
          std::tuple{"stereo.OGG", "stereo.wav", 2, 44100u, 22050u, "2 channels, 44100 Hz"},
          std::tuple{"stereo.wav", "again.wav", 2, 44100u, 22050u, "22050 frames"},
          std::tuple{"three.au", "three.wav", 3, 11025u, 1u, "3 channels, 11025 Hz, 1 frames"}}) {
        ASSERT_EQ(RunTool(folder, {input, output}), 0) << input << ": " << folder.Read("out.txt");
        EXPECT_NE(folder.Read("out.txt").find(printed), std::string::npos)
            << folder.Read("out.txt");
        const Tuvo::SoundBuffer sound = ReadOutput(folder, output);
        EXPECT_EQ(sound.channels, channels) << input;
        EXPECT_EQ(sound.rate, rate) << input;
        EXPECT_EQ(sound.Frames(), frames) << input;
        EXPECT_EQ(folder.Read(output)[32], 2 * channels) << input << ": the header's frame size";
    }
    EXPECT_EQ(folder.Read("again.wav"), folder.Read("stereo.wav"));
    EXPECT_EQ(ReadOutput(folder, "three.wav").samples, (std::vector<int16_t>{0, 32124, -32124}));

    // Failures say what failed and write nothing.
    folder.Write("broken.ogg", "not an ogg file");
    EXPECT_NE(RunTool(folder, {"broken.ogg", "out.wav"}), 0);
    EXPECT_EQ(folder.Read("out.txt"),
              "quillory-sound: cannot load broken.ogg: not an Ogg Vorbis stream\n");
    EXPECT_NE(RunTool(folder, {"missing.wav", "out.wav"}), 0);
    EXPECT_NE(folder.Read("out.txt").find("cannot load missing.wav"), std::string::npos);
    EXPECT_NE(RunTool(folder, {"song.mp3", "out.wav"}), 0);
    EXPECT_NE(RunTool(folder, {"only-one-argument"}), 0);
    EXPECT_TRUE(folder.Read("out.wav").empty());
}

}  // namespace
