// The software mixer behind the audio device: sums up to 32 playing voices (each resampled from
// its own frequency with linear interpolation, scaled by its left and right gains) and the music
// streams into 16-bit stereo at 44100 Hz, clipping at the 16-bit limits.
//
// Voices and streams belong to their owners; the mixer only points at them. Everything the mixer
// reads is changed under the audio device's lock, and Render runs with that lock held, so it
// never sees a half-made change. Render allocates nothing.
#pragma once

#include <array>
#include <cstdint>

#include "platform/audio_device.h"

namespace Tuvo {

constexpr int kMixerRate = Platform::kAudioSampleRate;
constexpr int kMixerVoices = 32;
constexpr int kMixerStreams = 4;

// One playing sound as the mixer sees it. Positions and steps are 32.32 fixed-point frames.
struct MixerVoice {
    const int16_t* samples = nullptr;  // interleaved, `channels` per frame
    uint32_t frames = 0;
    int channels = 0;
    uint64_t position = 0;
    uint64_t step = uint64_t{1} << 32;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
    bool playing = false;  // cleared by the mixer when a non-looping voice ends
    bool looping = false;
};

// A source that adds its own already-resampled stereo frames (the music).
class MixerStream {
public:
    virtual ~MixerStream() = default;
    // Adds `frames` stereo frames into `accumulator` (2 x frames values, 16-bit scale).
    virtual void MixInto(int32_t* accumulator, int frames) = 0;
};

class Mixer : public Platform::AudioRenderer {
public:
    // Fast paths are on unless the environment variable QUILLORY_REFERENCE_MIX is set (and not
    // "0"), so the whole suite can run on the general path alone.
    Mixer();

    // The fixed-point step that plays `frequency` Hz at the mixer's rate.
    static uint64_t StepFor(uint32_t frequency);

    // Both return false when the voice or stream is not there or no slot is free.
    bool AddVoice(MixerVoice* voice);
    bool RemoveVoice(MixerVoice* voice);
    bool AddStream(MixerStream* stream);
    bool RemoveStream(MixerStream* stream);
    int VoiceCount() const;

    // A gain applied to the final mix (the system's wave-out volume), 0..1.
    void SetOutputGain(float gain);
    float OutputGain() const { return outputGain_; }

    // Off: every voice takes the general interpolating path (tests compare both).
    bool FastPaths() const { return fastPaths_; }
    void SetFastPaths(bool enabled) { fastPaths_ = enabled; }

    // Mixes `frames` stereo frames into `out`.
    void Render(int16_t* out, int frames) override;

private:
    static constexpr int kChunkFrames = 256;

    void MixChunk(int16_t* out, int frames);

    std::array<MixerVoice*, kMixerVoices> voices_{};
    std::array<MixerStream*, kMixerStreams> streams_{};
    std::array<int32_t, 2 * kChunkFrames> accumulator_{};
    float outputGain_ = 1.0f;
    bool fastPaths_ = true;
};

}  // namespace Tuvo
