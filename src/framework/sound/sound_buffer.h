// Decoded sound data as the mixer plays it: interleaved 16-bit samples with their channel count
// and rate. Every reader (WAV, Ogg Vorbis, AU) produces one; playbacks share it read-only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tuvo {

constexpr int kMaxSoundChannels = 8;
constexpr uint32_t kMinSoundRate = 100;
constexpr uint32_t kMaxSoundRate = 200000;
// Decoded sounds larger than this are refused: effects last seconds (this holds 95 seconds of
// 44100 Hz stereo), and music is streamed. A small, very compressible file (silence) must not
// unpack to hundreds of megabytes.
constexpr size_t kMaxDecodedSoundBytes = 16u * 1024u * 1024u;
// What all the sounds the sound manager holds may take together (the game's own take a few
// megabytes), and so also what the decoded-sound cache receives from one run.
constexpr size_t kMaxLoadedSoundBytes = 64u * 1024u * 1024u;

struct SoundBuffer {
    int channels = 0;
    uint32_t rate = 0;
    int sourceBits = 16;  // bits per sample of the file it came from (8-bit data is widened)
    std::vector<int16_t> samples;

    size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
    size_t DataBytes() const { return samples.size() * sizeof(int16_t); }
    bool Empty() const { return samples.empty(); }
};

// True for a channel count and rate that a sound buffer can hold.
inline bool ValidSoundFormat(int channels, uint32_t rate) {
    return channels >= 1 && channels <= kMaxSoundChannels && rate >= kMinSoundRate &&
           rate <= kMaxSoundRate;
}

}  // namespace Tuvo
