// Plays a sound event by its name ("place_shape"): what the effects list and the game rules need
// of the sound front end, so that tests and the headless simulator can record or drop the events.
#pragma once

namespace Quillory {

class SoundEventPlayer {
public:
    virtual ~SoundEventPlayer() = default;
    // Picks one of the event's files and plays it; an unknown event plays nothing.
    virtual void PlaySoundEvent(const char* eventName) = 0;
};

}  // namespace Quillory
