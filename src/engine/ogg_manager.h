// The game's sound front end: named sound events read from "sound.ini" (each with a volume and
// up to ten files, one chosen at random per play) and the table of loaded sound files, each held
// by the framework sound manager under its index. Game code fires events by name:
// PlaySample(PrepareEvent("place_shape")). It also carries the music and effects volumes.
#pragma once

#include "engine/sound_event_player.h"
#include "platform/random.h"

namespace Tuvo {
class MusicInterface;
}

namespace Quillory {

class SoundPlayback;
class AudioVolumes;

constexpr int kMaxSoundEvents = 100;
constexpr int kMaxEventFiles = 10;
constexpr int kMaxSamples = 100;
constexpr int kSoundNameSize = 60;  // 59 characters and the terminator

struct SoundEvent {
    char name[kSoundNameSize] = {};
    char files[kMaxEventFiles][kSoundNameSize] = {};
    int fileCount = 0;
    float volume = 1.0f;
};

struct SoundSample {
    char file[kSoundNameSize] = {};  // the path as loaded, with its extension: the look-up key
};

class COggManager : public SoundEventPlayer {
public:
    // Where samples play and where the music volume goes; either may be nullptr (no sound).
    void Connect(SoundPlayback* playback, Tuvo::MusicInterface* music);
    // When set, the volume setters hand the player's volumes to `owner` instead of applying them.
    void SetVolumeOwner(AudioVolumes* owner) { volumeOwner_ = owner; }
    // The generator that picks an event's file (the shared standard generator by default).
    void SetRandom(Platform::RandomGenerator* random);

    // Defaults, the volumes of "config.ini" ("OPTIONS": "MusicVolume", "SfxVolume") and the
    // events of "sound.ini". Returns 1.
    int Init();
    void LoadSoundEvents(const char* fileName);
    bool LoadSound(const char* path);
    // Every "*.ogg", then every "*.wav" file of `folder` (which ends with a separator).
    void LoadSoundFolder(const char* folder);
    // The id of the sample loaded from `path`, loading it first when needed; -1 on failure.
    int FindSound(const char* path);
    // The sample to play for an event, with the event's volume set; -1 when there is none.
    int PrepareEvent(const char* eventName);
    // 1 when `id` is a loaded sample (and it was handed to the application to play), else 0.
    int PlaySample(int id);
    // Fires an event: PlaySample(PrepareEvent(eventName)).
    void PlaySoundEvent(const char* eventName) override;
    int SetMusicVolume(float volume);
    int SetSfxVolume(float volume);
    void FreeMusicManager();

    int EventCount() const { return eventCount_; }
    const SoundEvent& Event(int index) const { return events_[index]; }
    int SampleCount() const { return sampleCount_; }
    const char* SampleFile(int id) const { return samples_[id].file; }
    float MusicVolume() const { return musicVolume_; }
    float SfxVolume() const { return sfxVolume_; }

private:
    void ReadEvent(const char* fileName, SoundEvent& event);

    SoundEvent events_[kMaxSoundEvents];
    int eventCount_ = 0;
    SoundSample samples_[kMaxSamples];
    int sampleCount_ = 0;
    float musicVolume_ = 0.8f;
    float sfxVolume_ = 0.75f;
    SoundPlayback* playback_ = nullptr;
    Tuvo::MusicInterface* music_ = nullptr;
    AudioVolumes* volumeOwner_ = nullptr;
    bool soundOffLogged_ = false;
    Platform::RandomGenerator* random_ = nullptr;
};

}  // namespace Quillory
