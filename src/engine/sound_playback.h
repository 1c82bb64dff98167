// The application's sound helpers: play a sample (a new auto-release playback through the
// framework sound manager), play it panned, the effects volume with the mute switch, and the
// output's master volume. The shell owns one and hands it to the sound events.
#pragma once

namespace Tuvo {
class SoundManager;
}

namespace Quillory {

class SoundPlayback {
public:
    // `sounds` may be nullptr: nothing plays.
    explicit SoundPlayback(Tuvo::SoundManager* sounds) : sounds_(sounds) {}

    Tuvo::SoundManager* Sounds() const { return sounds_; }

    // CreateInstance(id), then Play(false, true). False when nothing could be started.
    bool PlaySample(int id);
    // The same with SetPan(pan) first (hundredths of a decibel, -10000 left .. 10000 right).
    bool PlaySample(int id, int pan);

    // Stores the effects volume and applies it (0 while muted).
    void SetSfxVolume(double volume);
    double SfxVolume() const { return sfxVolume_; }
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }

    // The output's master volume, 0..1.
    void SetMasterVolume(double volume);
    double GetMasterVolume() const;

private:
    void ApplySfxVolume();

    Tuvo::SoundManager* sounds_;
    double sfxVolume_ = 1.0;
    bool muted_ = false;
};

}  // namespace Quillory
