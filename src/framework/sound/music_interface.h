// The music interface: songs loaded under ids, played, paused, faded in and out, updated once
// per application update. Volumes are linear fractions 0..1. The base class is the silent back
// end: it loads nothing and plays nothing. The virtual operations keep the framework's slot order.
#pragma once

#include <string>

namespace Tuvo {

class MusicInterface {
public:
    virtual ~MusicInterface() = default;                                           // 0
    virtual bool LoadMusic(int songId, const std::string& fileName);               // 1
    virtual void PlayMusic(int songId, int startOffset = 0, bool noLoop = false);  // 2
    virtual void StopMusic(int songId);                                            // 3
    virtual void PauseMusic(int songId);                                           // 4
    virtual void ResumeMusic(int songId);                                          // 5
    virtual void StopAllMusic();                                                   // 6
    virtual void UnloadMusic(int songId);                                          // 7
    virtual void UnloadAllMusic();                                                 // 8
    virtual void PauseAllMusic();                                                  // 9
    virtual void ResumeAllMusic();                                                 // 10
    virtual void FadeIn(int songId, int startOffset = -1, double speed = 0.002,
                        bool noLoop = false);                                           // 11
    virtual void FadeOut(int songId, bool stopWhenFaded = true, double speed = 0.004);  // 12
    virtual void FadeOutAll(bool stopWhenFaded = true, double speed = 0.004);           // 13
    virtual void SetTrackVolume(int songId, double volume);                             // 14
    virtual void SetTrackMaxVolume(int songId, double maxVolume);                       // 15
    virtual bool IsPlaying(int songId);                                                 // 16
    virtual void SetVolume(double volume);                                              // 17
    virtual void SetMusicGain(int songId, double amplification);                        // 18
    virtual void Update();                                                              // 19
};

}  // namespace Tuvo
