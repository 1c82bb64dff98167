// The sound manager of the game: 256 sound ids holding decoded 16-bit PCM, 32 playback channels
// mixed in software into the audio device. Compressed sounds (Ogg Vorbis, AU) are decoded once
// and cached as scrambled WAV files in the user folder's "cached/", checked against the source's
// last-write time.
//
// Without an audio device every load fails and playbacks are silent. The music interface mixes
// into the same device (see stream_music_interface.h).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/sound/mixer.h"
#include "framework/sound/sound_buffer.h"
#include "framework/sound/sound_manager.h"
#include "platform/audio_device.h"
#include "platform/clock.h"

namespace Tuvo {

class DSoundManager;

constexpr uint32_t kDefaultFrequency = 44100;
constexpr uint32_t kMinPitchFrequency = 100;
constexpr uint32_t kMaxPitchFrequency = 100000;

// One playback. Without a buffer (no device) it is silent: Play fails and it never plays.
class DSoundInstance : public SoundInstance {
public:
    DSoundInstance(DSoundManager* manager, std::shared_ptr<const SoundBuffer> buffer);
    ~DSoundInstance() override;
    DSoundInstance(const DSoundInstance&) = delete;
    DSoundInstance& operator=(const DSoundInstance&) = delete;

    void Release() override;
    void SetInstanceVolume(double volume) override;
    void SetInstancePan(int pan) override;
    void ShiftPitch(double steps) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override { return volume_; }

    bool AutoRelease() const { return autoRelease_; }
    void SetAutoRelease(bool autoRelease) { autoRelease_ = autoRelease; }
    uint32_t Frequency() const { return frequency_; }
    uint32_t DefaultFrequency() const { return defaultFrequency_; }
    // The gains the mixer applies now (tests and diagnostics).
    float GainLeft() const { return voice_.gainLeft; }
    float GainRight() const { return voice_.gainRight; }

    // Re-applies the effective volume and pan (the manager's master volume changed).
    void ApplyVolumeAndPan();

private:
    DSoundManager* manager_;
    std::shared_ptr<const SoundBuffer> buffer_;
    MixerVoice voice_;
    bool inMixer_ = false;
    bool autoRelease_ = false;
    bool hasPlayed_ = false;
    bool released_ = false;
    int basePan_ = 0;
    double baseVolume_ = 1.0;
    int pan_ = 0;
    double volume_ = 1.0;
    uint32_t defaultFrequency_ = kDefaultFrequency;
    uint32_t frequency_ = kDefaultFrequency;
};

class DSoundManager : public SoundManager {
public:
    // `device` nullptr: no sound. `useMp3` is kept for the interface; MP3 is not decoded.
    // `clock` times the channel sweep (the system clock when nullptr).
    DSoundManager(std::unique_ptr<Platform::AudioDevice> device, bool useMp3,
                  Platform::Clock* clock = nullptr);
    ~DSoundManager() override;
    DSoundManager(const DSoundManager&) = delete;
    DSoundManager& operator=(const DSoundManager&) = delete;

    bool Initialized() override { return device_ != nullptr; }
    int LoadSound(const std::string& fileName) override;
    bool LoadSound(int id, const std::string& fileName) override;
    void ReleaseSound(int id) override;
    void SetVolume(double volume) override;
    bool SetInstanceVolume(int id, double volume) override;
    bool SetInstancePan(int id, int pan) override;
    SoundInstance* CreateInstance(int id) override;
    void ReleaseAllSounds() override;
    void ReleaseFinishedChannels() override;
    double GetMasterVolume() override;
    void SetMasterVolume(double volume) override;
    void Flush() override {}
    void AttachWindow(void* window, bool windowed) override;
    void StopAllSounds() override;
    int AllocateSoundId() override;
    int CountSounds() override;

    // The most all loaded sounds may take together (kMaxLoadedSoundBytes unless changed); a
    // load that would pass it fails, is logged, and writes no cache file.
    void SetLoadedSoundBudget(size_t bytes) { loadedSoundBudget_ = bytes; }
    size_t LoadedSoundBytes() const;

    // Where decoded sounds are cached (default: the user folder's "cached").
    void SetCacheFolder(const std::string& folder) { cacheFolder_ = folder; }
    std::string CacheFolder() const;
    // The cache file of a relative sound name, or "" when the name cannot be cached.
    std::string CachePath(const std::string& fileName) const;

    double EffectsVolume() const { return masterVolume_; }
    // Channels holding a playback (finished ones included until they are reclaimed).
    int LiveChannels() const;
    const std::string& SoundFileName(int id) const;
    size_t SoundDataSize(int id) const;
    std::shared_ptr<const SoundBuffer> Sound(int id) const;

    // For the music back end and playbacks: the device (nullptr without one) and its mixer.
    Platform::AudioDevice* Device() { return device_.get(); }
    Mixer& GetMixer() { return mixer_; }

private:
    struct SoundSlot {
        std::shared_ptr<const SoundBuffer> buffer;
        std::string fileName;
        size_t dataSize = 0;
        double baseVolume = 1.0;
        int basePan = 0;
    };

    bool DecodeSource(const std::string& fileName, SoundBuffer& sound, std::string& sourceName);
    // Whether a decoded sound of that size fits the budget beside the others; logs a refusal.
    bool FitsBudget(const std::string& fileName, const SoundBuffer& sound) const;
    void StoreSound(int id, SoundBuffer&& sound);
    int FindFreeChannel();

    std::unique_ptr<Platform::AudioDevice> device_;
    Mixer mixer_;
    Platform::Clock* clock_;
    bool useMp3_;
    std::array<SoundSlot, kMaxSoundIds> sounds_;
    std::array<std::unique_ptr<DSoundInstance>, kPlaybackChannels> channels_;
    double masterVolume_ = 1.0;
    uint32_t outputVolume_ = 65535;  // the wave-out volume, 0..65535
    uint32_t lastSweep_ = 0;
    std::string cacheFolder_;
    size_t loadedSoundBudget_ = kMaxLoadedSoundBytes;
};

}  // namespace Tuvo
