// The music back end: Ogg Vorbis songs streamed from the archive layer chunk by chunk (never
// decoded whole), resampled to the mixer's rate and mixed with the sound effects.
//
// Decoding runs in Update, on the main thread, into a ring of about 1.5 seconds per song; the
// audio thread only copies from the ring, so a slow disk or a long frame never stops the music.
// Looping songs go back to their first frame inside the ring, without a gap.
//
// Fading: each song has a volume (0 at load), a max volume (1), a fade speed (0) and a
// stop-when-faded flag. Update adds the fade speed to the volume of every fading song; above the
// max volume it is set to the max and the fade ends; below 0 it is set to 0, the fade ends and,
// with stop-when-faded, the song stops. Channel volumes are in percent (volume x 100).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "framework/sound/frame_ring.h"
#include "framework/sound/mixer.h"
#include "framework/sound/music_interface.h"
#include "framework/sound/ogg_decoder.h"
#include "platform/audio_device.h"

namespace Tuvo {

class DSoundManager;

class StreamMusicInterface : public MusicInterface, private MixerStream {
public:
    static constexpr uint32_t kRingFrames = 65536;  // about 1.5 s at 44100 Hz

    // Mixes into the manager's device; without a device every load fails. The interface must be
    // destroyed before the manager.
    explicit StreamMusicInterface(DSoundManager& sounds);
    ~StreamMusicInterface() override;
    StreamMusicInterface(const StreamMusicInterface&) = delete;
    StreamMusicInterface& operator=(const StreamMusicInterface&) = delete;

    // Only Ogg Vorbis files (".ogg") are streamed; other names fail.
    bool LoadMusic(int songId, const std::string& fileName) override;
    // `startOffset` is a frame position in the song.
    void PlayMusic(int songId, int startOffset = 0, bool noLoop = false) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void UnloadMusic(int songId) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    // A start offset of -1 resumes where the song was.
    void FadeIn(int songId, int startOffset = -1, double speed = 0.002,
                bool noLoop = false) override;
    void FadeOut(int songId, bool stopWhenFaded = true, double speed = 0.004) override;
    void FadeOutAll(bool stopWhenFaded = true, double speed = 0.004) override;
    void SetTrackVolume(int songId, double volume) override;
    void SetTrackMaxVolume(int songId, double maxVolume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    // A linear factor 0..1 on the song's output (1 at load).
    void SetMusicGain(int songId, double amplification) override;
    void Update() override;

    // The song's volume, and the channel volume in percent last given to the mixer; -1 for an
    // unknown song.
    double TrackVolume(int songId) const;
    double ChannelVolumePercent(int songId) const;
    double FadeSpeed(int songId) const;
    // Decoded frames waiting in the song's ring.
    uint32_t BufferedFrames(int songId) const;

private:
    struct Song;

    Song* Find(int songId) const;
    void Restart(Song& song, int startOffset, bool noLoop);
    void Stop(Song& song);
    void ApplyChannelVolume(Song& song);
    void Fill(Song& song);
    void MixInto(int32_t* accumulator, int frames) override;

    Platform::AudioDevice* device_;
    Mixer* mixer_;
    std::map<int, std::unique_ptr<Song>> songs_;
    double volumePercent_ = 100.0;
};

}  // namespace Tuvo
