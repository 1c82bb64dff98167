// The SDL audio output and the headless buffer device of audio_device.h.
#include "platform/audio_device.h"

#include <SDL.h>

#include <cstring>

#include "platform/debug_output.h"

namespace Platform {

void BufferAudioDevice::SetRenderer(AudioRenderer* renderer) {
    std::lock_guard<std::mutex> hold(mutex_);
    renderer_ = renderer;
}

void BufferAudioDevice::Pull(int16_t* out, int frames) {
    if (out == nullptr || frames <= 0) {
        return;
    }
    std::lock_guard<std::mutex> hold(mutex_);
    if (renderer_ == nullptr) {
        std::memset(out, 0, sizeof(int16_t) * kAudioChannels * frames);
        return;
    }
    renderer_->Render(out, frames);
}

namespace {

constexpr int kDeviceBufferFrames = 512;  // about 12 ms: low latency, still safe on a busy machine

class SdlAudioDevice : public AudioDevice {
public:
    SdlAudioDevice() = default;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    ~SdlAudioDevice() override {
        if (id_ != 0) {
            SDL_CloseAudioDevice(id_);
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Opens the default output in our fixed format; SDL converts when the card wants another.
    bool Open() {
        SDL_AudioSpec wanted;
        SDL_zero(wanted);
        wanted.freq = kAudioSampleRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = kAudioChannels;
        wanted.samples = kDeviceBufferFrames;
        wanted.callback = &SdlAudioDevice::Callback;
        wanted.userdata = this;
        SDL_AudioSpec obtained;
        id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        return id_ != 0;
    }

    void SetRenderer(AudioRenderer* renderer) override {
        SDL_LockAudioDevice(id_);
        renderer_ = renderer;
        SDL_UnlockAudioDevice(id_);
        SDL_PauseAudioDevice(id_, renderer == nullptr ? 1 : 0);
    }

    void Lock() override { SDL_LockAudioDevice(id_); }
    void Unlock() override { SDL_UnlockAudioDevice(id_); }

private:
    static void Callback(void* userData, Uint8* stream, int length) {
        auto* device = static_cast<SdlAudioDevice*>(userData);
        const int frames = length / static_cast<int>(sizeof(int16_t) * kAudioChannels);
        if (device->renderer_ == nullptr) {
            std::memset(stream, 0, static_cast<size_t>(length));
            return;
        }
        device->renderer_->Render(reinterpret_cast<int16_t*>(stream), frames);
    }

    SDL_AudioDeviceID id_ = 0;
    AudioRenderer* renderer_ = nullptr;
};

}  // namespace

std::unique_ptr<AudioDevice> OpenAudioDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        DebugOutput("Audio: no audio subsystem: %s\n", SDL_GetError());
        return nullptr;
    }
    auto device = std::make_unique<SdlAudioDevice>();
    if (!device->Open()) {
        DebugOutput("Audio: cannot open the audio device: %s\n", SDL_GetError());
        return nullptr;  // the device's destructor balances the subsystem start
    }
    return device;
}

}  // namespace Platform
