// The audio output contract between the sound mixer and the machine: a device that pulls 16-bit
// stereo frames at 44100 Hz from a renderer on its own thread, and a lock that keeps the mixer's
// shared state still while the main thread changes it. The SDL device plays through the sound
// card; the buffer device renders only when asked, for tests and tools.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

namespace Platform {

constexpr int kAudioSampleRate = 44100;
constexpr int kAudioChannels = 2;

// Fills the device's buffer. Called on the audio thread with the device lock held; it must not
// allocate, block or touch files.
class AudioRenderer {
public:
    virtual ~AudioRenderer() = default;
    // `frames` interleaved stereo frames (2 x frames samples).
    virtual void Render(int16_t* out, int frames) = 0;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Starts pulling frames from `renderer` (nullptr: silence). The renderer must outlive the
    // device or be replaced first.
    virtual void SetRenderer(AudioRenderer* renderer) = 0;
    // Excludes the renderer while held; calls may not nest.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

// Holds the device lock for one scope; a null device needs no lock.
class AudioDeviceLock {
public:
    explicit AudioDeviceLock(AudioDevice* device) : device_(device) {
        if (device_ != nullptr) {
            device_->Lock();
        }
    }
    ~AudioDeviceLock() {
        if (device_ != nullptr) {
            device_->Unlock();
        }
    }
    AudioDeviceLock(const AudioDeviceLock&) = delete;
    AudioDeviceLock& operator=(const AudioDeviceLock&) = delete;

private:
    AudioDevice* device_;
};

// A device without hardware: frames are rendered only when Pull is called.
class BufferAudioDevice : public AudioDevice {
public:
    void SetRenderer(AudioRenderer* renderer) override;
    void Lock() override { mutex_.lock(); }
    void Unlock() override { mutex_.unlock(); }
    // Renders `frames` stereo frames into `out` (silence without a renderer).
    void Pull(int16_t* out, int frames);

private:
    std::mutex mutex_;
    AudioRenderer* renderer_ = nullptr;
};

// Opens the default audio output through SDL (44100 Hz, 16-bit stereo, 512-frame buffers).
// Returns nullptr, with a line on the debug output, when there is no usable audio device.
std::unique_ptr<AudioDevice> OpenAudioDevice();

}  // namespace Platform
