// The application's sound helpers (sound_playback.h).
#include "engine/sound_playback.h"

#include "framework/sound/sound_manager.h"

namespace Quillory {

bool SoundPlayback::PlaySample(int id) {
    if (sounds_ == nullptr) {
        return false;
    }
    Tuvo::SoundInstance* instance = sounds_->CreateInstance(id);
    return instance != nullptr && instance->Play(false, true);
}

bool SoundPlayback::PlaySample(int id, int pan) {
    if (sounds_ == nullptr) {
        return false;
    }
    Tuvo::SoundInstance* instance = sounds_->CreateInstance(id);
    if (instance == nullptr) {
        return false;
    }
    instance->SetPan(pan);
    return instance->Play(false, true);
}

void SoundPlayback::SetSfxVolume(double volume) {
    sfxVolume_ = volume;
    ApplySfxVolume();
}

void SoundPlayback::SetMuted(bool muted) {
    muted_ = muted;
    ApplySfxVolume();
}

void SoundPlayback::ApplySfxVolume() {
    if (sounds_ != nullptr) {
        sounds_->SetVolume(muted_ ? 0.0 : sfxVolume_);
    }
}

void SoundPlayback::SetMasterVolume(double volume) {
    if (sounds_ != nullptr) {
        sounds_->SetMasterVolume(volume);
    }
}

double SoundPlayback::GetMasterVolume() const {
    return sounds_ != nullptr ? sounds_->GetMasterVolume() : 0.0;
}

}  // namespace Quillory
