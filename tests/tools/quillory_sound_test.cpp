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

TEST(QuillorySoundTool, DecodesOggWavAndAuWithTheirChannelsAndRates) {
    TempFolder folder;
    folder.Write("mono.ogg", TestSound("tone440_mono_22050.ogg"));
    folder.Write("stereo.OGG", TestSound("tone1000_stereo_44100.ogg"));
    ASSERT_EQ(RunTool(folder, {"mono.ogg", "mono.wav"}), 0) << folder.Read("out.txt");
    EXPECT_NE(folder.Read("out.txt").find("1 channel, 22050 Hz, 11025 frames"), std::string::npos)
        << folder.Read("out.txt");
    ASSERT_EQ(RunTool(folder, {"stereo.OGG", "stereo.wav"}), 0);
    for (const auto& [file, channels, rate, frames] :
         {std::tuple{"mono.wav", 1, 22050u, 11025u}, std::tuple{"stereo.wav", 2, 44100u, 22050u}}) {
        const Tuvo::SoundBuffer sound = ReadOutput(folder, file);
        EXPECT_EQ(sound.channels, channels) << file;
        EXPECT_EQ(sound.rate, rate) << file;
        EXPECT_EQ(sound.Frames(), frames) << file;
    }
    // A WAV goes through unchanged; an 8-bit one comes out as 16 bits.
    ASSERT_EQ(RunTool(folder, {"stereo.wav", "again.wav"}), 0);
    EXPECT_EQ(folder.Read("again.wav"), folder.Read("stereo.wav"));
    std::string au = std::string(".snd\0\0\0\x18\0\0\0\x03\0\0\0\x01\0\0\x2b\x11\0\0\0\x03", 24);
    au += std::string("\xFF\x80\x00", 3);
    folder.Write("three.au", au);
    ASSERT_EQ(RunTool(folder, {"three.au", "three.wav"}), 0);
    Tuvo::SoundBuffer three = ReadOutput(folder, "three.wav");
    EXPECT_EQ(three.channels, 3);
    EXPECT_EQ(three.rate, 11025u);
    EXPECT_EQ(three.samples, (std::vector<int16_t>{0, 32124, -32124}));
}

TEST(QuillorySoundTool, ReadsThroughTheArchiveAndFailsClearly) {
    TempFolder folder;
    const std::string ogg = TestSound("tone440_mono_22050.ogg");
    std::vector<Tuvo::PakSourceFile> files(1);
    files[0] = {"Music\\theme1.ogg", 1, std::vector<uint8_t>(ogg.begin(), ogg.end())};
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak(files, archive));
    folder.Write("main.pak", std::string(archive.begin(), archive.end()));
    ASSERT_EQ(RunTool(folder, {"Music\\theme1.ogg", "theme.wav"}), 0) << folder.Read("out.txt");
    EXPECT_EQ(ReadOutput(folder, "theme.wav").Frames(), 11025u);

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
