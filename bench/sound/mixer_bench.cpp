// Mixer cost: 32 looping playbacks at mixed rates and channel counts, alone and with a streamed
// song (decoded in Update, as the game does every 10 ms). The "core_percent" counter is the share
// of one core spent per second of audio at 44100 Hz (Google Benchmark prints inverted rates with
// an "s" suffix: "core_percent=0.27s" reads as 0.27 percent).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "framework/sound/dsound_manager.h"
#include "framework/sound/stream_music_interface.h"
#include "framework/sound/wav_file.h"

namespace {

constexpr uint32_t kRates[] = {11025, 22050, 44100, 48000, 32000, 16000, 44100, 22050};

Tuvo::SoundBuffer Tone(int channels, uint32_t rate, double frequency) {
    Tuvo::SoundBuffer sound;
    sound.channels = channels;
    sound.rate = rate;
    const size_t frames = rate;  // one second
    sound.samples.resize(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            sound.samples[i * channels + c] = static_cast<int16_t>(
                3000.0 * std::sin(2.0 * M_PI * frequency * (c + 1) * i / rate));
        }
    }
    return sound;
}

// Sets up a folder of 32 sounds and a song, and a manager with every sound playing.
class MixerScene {
public:
    explicit MixerScene(bool withMusic) {
        folder_ = std::filesystem::temp_directory_path() / "quillory-bench-sound";
        std::filesystem::create_directories(folder_ / "Sound");
        std::filesystem::copy_file(std::string(QUILLORY_SOUND_DATA) + "/tone1000_stereo_44100.ogg",
                                   folder_ / "song.ogg",
                                   std::filesystem::copy_options::overwrite_existing);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);

        auto device = std::make_unique<Platform::BufferAudioDevice>();
        device_ = device.get();
        sounds_ = std::make_unique<Tuvo::DSoundManager>(std::move(device), false);
        sounds_->SetCacheFolder((folder_ / "cached").string());
        for (int i = 0; i < Tuvo::kPlaybackChannels; ++i) {
            const std::string name = "Sound/s" + std::to_string(i);
            const std::string file =
                Tuvo::EncodeWav(Tone(1 + i % 2, kRates[i % 8], 200.0 + 37 * i));
            FILE* out = std::fopen((name + ".wav").c_str(), "wb");
            std::fwrite(file.data(), 1, file.size(), out);
            std::fclose(out);
            sounds_->LoadSound(i, name);
            Tuvo::SoundInstance* instance = sounds_->CreateInstance(i);
            instance->SetVolume(0.5 + 0.01 * i);
            instance->SetPan((i - 16) * 300);
            if (i % 5 == 0) {
                instance->ShiftPitch(i % 3 - 1);
            }
            instance->Play(true, false);
        }
        if (withMusic) {
            music_ = std::make_unique<Tuvo::StreamMusicInterface>(*sounds_);
            music_->LoadMusic(0, "song.ogg");
            music_->PlayMusic(0);
        }
    }
    ~MixerScene() {
        music_.reset();
        sounds_.reset();
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    Platform::BufferAudioDevice* device_ = nullptr;
    std::unique_ptr<Tuvo::DSoundManager> sounds_;
    std::unique_ptr<Tuvo::StreamMusicInterface> music_;

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

void ReportCorePercent(benchmark::State& state, int framesPerIteration) {
    const double audioSeconds = static_cast<double>(framesPerIteration) / 44100.0;
    state.counters["core_percent"] =
        benchmark::Counter(audioSeconds / 100.0, benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

// The audio callback alone: 512 frames (one device buffer) of 32 voices.
void BM_Mix32Voices(benchmark::State& state) {
    MixerScene scene(false);
    std::vector<int16_t> out(2 * 512);
    for (auto _ : state) {
        scene.device_->Pull(out.data(), 512);
        benchmark::DoNotOptimize(out.data());
    }
    ReportCorePercent(state, 512);
}
BENCHMARK(BM_Mix32Voices);

// Ten milliseconds of the game: 441 frames of 32 voices plus music, and one music Update.
void BM_Mix32VoicesAndMusic(benchmark::State& state) {
    MixerScene scene(true);
    std::vector<int16_t> out(2 * 441);
    for (auto _ : state) {
        scene.device_->Pull(out.data(), 441);
        scene.music_->Update();
        benchmark::DoNotOptimize(out.data());
    }
    ReportCorePercent(state, 441);
}
BENCHMARK(BM_Mix32VoicesAndMusic);

// The same with the general mixing path only (every voice interpolated).
void BM_Mix32VoicesNoFastPaths(benchmark::State& state) {
    MixerScene scene(false);
    scene.sounds_->GetMixer().SetFastPaths(false);
    std::vector<int16_t> out(2 * 512);
    for (auto _ : state) {
        scene.device_->Pull(out.data(), 512);
        benchmark::DoNotOptimize(out.data());
    }
    ReportCorePercent(state, 512);
}
BENCHMARK(BM_Mix32VoicesNoFastPaths);

}  // namespace

BENCHMARK_MAIN();
