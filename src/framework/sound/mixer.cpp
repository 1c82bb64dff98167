// The mixing loops of mixer.h.
#include "framework/sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Tuvo {
namespace {

constexpr int kGainOne = 1 << 16;  // Q16 gains

int32_t ToFixedGain(float gain) {
    if (!(gain > 0.0f)) {
        return 0;
    }
    return std::min(kGainOne, static_cast<int32_t>(std::lround(gain * kGainOne)));
}

// Moves a voice on by one output frame; false when a non-looping voice has ended.
bool Advance(MixerVoice& voice, uint64_t end) {
    voice.position += voice.step;
    if (voice.position < end) {
        return true;
    }
    if (voice.looping) {
        voice.position %= end;
        return true;
    }
    voice.playing = false;
    voice.position = 0;
    return false;
}

// The general path: any rate, linear interpolation between a frame and the next (the first one
// again for a looping voice, the same one at the very end otherwise).
void MixInterpolated(MixerVoice& voice, int32_t* accumulator, int frames) {
    const int32_t gainLeft = ToFixedGain(voice.gainLeft);
    const int32_t gainRight = ToFixedGain(voice.gainRight);
    const int channels = voice.channels;
    const uint64_t end = static_cast<uint64_t>(voice.frames) << 32;
    for (int i = 0; i < frames; ++i) {
        const uint32_t index = static_cast<uint32_t>(voice.position >> 32);
        uint32_t next = index + 1;
        if (next >= voice.frames) {
            next = voice.looping ? 0 : index;
        }
        const int32_t fraction = static_cast<int32_t>((voice.position >> 17) & 0x7FFF);  // Q15
        const int16_t* a = voice.samples + static_cast<size_t>(index) * channels;
        const int16_t* b = voice.samples + static_cast<size_t>(next) * channels;
        const int32_t left = a[0] + (((b[0] - a[0]) * fraction) >> 15);
        int32_t right = left;
        if (channels >= 2) {
            right = a[1] + (((b[1] - a[1]) * fraction) >> 15);
        }
        accumulator[2 * i] += (left * gainLeft) >> 16;
        accumulator[2 * i + 1] += (right * gainRight) >> 16;
        if (!Advance(voice, end)) {
            return;
        }
    }
}

// The common case: the sound's rate is the mixer's, so every output frame is one source frame.
void MixSameRate(MixerVoice& voice, int32_t* accumulator, int frames) {
    const int32_t gainLeft = ToFixedGain(voice.gainLeft);
    const int32_t gainRight = ToFixedGain(voice.gainRight);
    const int channels = voice.channels;
    uint32_t index = static_cast<uint32_t>(voice.position >> 32);
    int done = 0;
    while (done < frames) {
        const uint32_t run =
            std::min<uint32_t>(static_cast<uint32_t>(frames - done), voice.frames - index);
        const int16_t* source = voice.samples + static_cast<size_t>(index) * channels;
        int32_t* target = accumulator + 2 * done;
        if (channels == 1) {
            for (uint32_t i = 0; i < run; ++i) {
                target[2 * i] += (source[i] * gainLeft) >> 16;
                target[2 * i + 1] += (source[i] * gainRight) >> 16;
            }
        } else {
            for (uint32_t i = 0; i < run; ++i) {
                target[2 * i] += (source[i * channels] * gainLeft) >> 16;
                target[2 * i + 1] += (source[i * channels + 1] * gainRight) >> 16;
            }
        }
        done += static_cast<int>(run);
        index += run;
        if (index >= voice.frames) {
            if (!voice.looping) {
                voice.playing = false;
                voice.position = 0;
                return;
            }
            index = 0;
        }
    }
    voice.position = static_cast<uint64_t>(index) << 32;
}

}  // namespace

Mixer::Mixer() {
    const char* reference = std::getenv("QUILLORY_REFERENCE_MIX");
    fastPaths_ = reference == nullptr || reference[0] == '\0' || std::strcmp(reference, "0") == 0;
}

uint64_t Mixer::StepFor(uint32_t frequency) {
    return (static_cast<uint64_t>(frequency) << 32) / kMixerRate;
}

bool Mixer::AddVoice(MixerVoice* voice) {
    if (voice == nullptr || std::find(voices_.begin(), voices_.end(), voice) != voices_.end()) {
        return false;
    }
    const auto slot = std::find(voices_.begin(), voices_.end(), nullptr);
    if (slot == voices_.end()) {
        return false;
    }
    *slot = voice;
    return true;
}

bool Mixer::RemoveVoice(MixerVoice* voice) {
    const auto slot = std::find(voices_.begin(), voices_.end(), voice);
    if (voice == nullptr || slot == voices_.end()) {
        return false;
    }
    *slot = nullptr;
    return true;
}

bool Mixer::AddStream(MixerStream* stream) {
    if (stream == nullptr ||
        std::find(streams_.begin(), streams_.end(), stream) != streams_.end()) {
        return false;
    }
    const auto slot = std::find(streams_.begin(), streams_.end(), nullptr);
    if (slot == streams_.end()) {
        return false;
    }
    *slot = stream;
    return true;
}

bool Mixer::RemoveStream(MixerStream* stream) {
    const auto slot = std::find(streams_.begin(), streams_.end(), stream);
    if (stream == nullptr || slot == streams_.end()) {
        return false;
    }
    *slot = nullptr;
    return true;
}

int Mixer::VoiceCount() const {
    return static_cast<int>(std::count_if(
        voices_.begin(), voices_.end(), [](const MixerVoice* voice) { return voice != nullptr; }));
}

void Mixer::SetOutputGain(float gain) {
    outputGain_ = std::clamp(gain, 0.0f, 1.0f);
}

void Mixer::Render(int16_t* out, int frames) {
    if (out == nullptr) {
        return;
    }
    while (frames > 0) {
        const int chunk = std::min(frames, kChunkFrames);
        MixChunk(out, chunk);
        out += 2 * chunk;
        frames -= chunk;
    }
}

void Mixer::MixChunk(int16_t* out, int frames) {
    int32_t* accumulator = accumulator_.data();
    std::fill(accumulator, accumulator + 2 * frames, 0);
    for (MixerVoice* voice : voices_) {
        if (voice == nullptr || !voice->playing || voice->samples == nullptr ||
            voice->frames == 0 || voice->channels <= 0) {
            continue;
        }
        if (fastPaths_ && voice->step == (uint64_t{1} << 32) &&
            (voice->position & 0xFFFFFFFFu) == 0) {
            MixSameRate(*voice, accumulator, frames);
        } else {
            MixInterpolated(*voice, accumulator, frames);
        }
    }
    for (MixerStream* stream : streams_) {
        if (stream != nullptr) {
            stream->MixInto(accumulator, frames);
        }
    }
    const int32_t outputGain = ToFixedGain(outputGain_);
    for (int i = 0; i < 2 * frames; ++i) {
        int32_t value = accumulator[i];
        if (outputGain != kGainOne) {
            value = static_cast<int32_t>((static_cast<int64_t>(value) * outputGain) >> 16);
        }
        out[i] = static_cast<int16_t>(std::clamp(value, -32768, 32767));
    }
}

}  // namespace Tuvo
