// The framework's sound interfaces: a fixed table of 256 sound ids holding decoded sounds, and
// playbacks made from them on a pool of 32 channels. Volumes are linear fractions 0..1; pans are
// hundredths of a decibel (-10000 left .. 10000 right). The virtual operations keep the framework's
// slot order.
#pragma once

#include <string>

namespace Tuvo {

constexpr int kMaxSoundIds = 256;
constexpr int kPlaybackChannels = 32;

class SoundInstance {
public:
    virtual ~SoundInstance() = default;                     // 0
    virtual void Release() = 0;                             // 1
    virtual void SetInstanceVolume(double volume) = 0;      // 2: the id's base volume
    virtual void SetInstancePan(int pan) = 0;               // 3: the id's base pan
    virtual void ShiftPitch(double steps) = 0;              // 4: semitones
    virtual void SetVolume(double volume) = 0;              // 5
    virtual void SetPan(int pan) = 0;                       // 6
    virtual bool Play(bool looping, bool autoRelease) = 0;  // 7
    virtual void Stop() = 0;                                // 8
    virtual bool IsPlaying() = 0;                           // 9
    virtual bool IsReleased() = 0;                          // 10
    virtual double GetVolume() = 0;                         // 11
};

class SoundManager {
public:
    virtual ~SoundManager() = default;  // 0
    virtual bool Initialized() = 0;     // 1
    // The id already holding `fileName`, else the highest free id loaded with it; -1 on failure.
    virtual int LoadSound(const std::string& fileName) = 0;  // 2
    // `fileName` comes without its extension; the known formats are tried in turn.
    virtual bool LoadSound(int id, const std::string& fileName) = 0;  // 3
    virtual void ReleaseSound(int id) = 0;                            // 4
    virtual void SetVolume(double volume) = 0;                        // 5: effects master
    virtual bool SetInstanceVolume(int id, double volume) = 0;        // 6
    virtual bool SetInstancePan(int id, int pan) = 0;                 // 7
    // A new playback of the id, owned by the manager; nullptr when none can be made.
    virtual SoundInstance* CreateInstance(int id) = 0;           // 8
    virtual void ReleaseAllSounds() = 0;                         // 9
    virtual void ReleaseFinishedChannels() = 0;                  // 10
    virtual double GetMasterVolume() = 0;                        // 11: the output volume
    virtual void SetMasterVolume(double volume) = 0;             // 12
    virtual void Flush() = 0;                                    // 13
    virtual void AttachWindow(void* window, bool windowed) = 0;  // 14
    virtual void StopAllSounds() = 0;                            // 15
    virtual int AllocateSoundId() = 0;                           // 16
    virtual int CountSounds() = 0;                               // 17
};

}  // namespace Tuvo
