// The one owner of what the player hears: the effective music volume is the player's volume x the
// mute switch x the game's own duck; the effects volume is the player's volume x the mute switch.
// Everything that changes a volume (the options sliders, focus loss, minimising, the rules) goes
// through it, so no path can undo another's change. The duck is never saved.
#pragma once

namespace Quillory {

class AudioVolumes {
public:
    virtual ~AudioVolumes() = default;
    // The player's volumes, 0..1 (the options sliders). Safe to call from any thread: a change
    // from another thread takes effect on the main thread at its next update.
    virtual void SetPlayerMusicVolume(double volume) = 0;
    virtual void SetPlayerSfxVolume(double volume) = 0;
    // The game's own lowering of the music, 0..1 (0 after a loss or at the end of the game, 1
    // otherwise). Main thread only.
    virtual void SetMusicDuck(double duck) = 0;
};

}  // namespace Quillory
