// Sound events and samples (ogg_manager.h).
#include "engine/ogg_manager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/app_log.h"
#include "engine/audio_volumes.h"
#include "engine/ini_access.h"
#include "engine/private_profile.h"
#include "engine/sound_playback.h"
#include "framework/archive/pak_file.h"
#include "framework/sound/music_interface.h"
#include "framework/sound/sound_manager.h"

namespace Quillory {

namespace {

constexpr uint32_t kSectionNamesSize = 10000;
constexpr uint32_t kValueSize = 256;

void Log(const char* format, const char* text) {
    char line[512];
    std::snprintf(line, sizeof(line), format, text);
    LogMessage(line);
}

bool FitsName(const char* text) {
    return std::strlen(text) < static_cast<size_t>(kSoundNameSize);
}

}  // namespace

void COggManager::Connect(SoundPlayback* playback, Tuvo::MusicInterface* music) {
    playback_ = playback;
    music_ = music;
}

void COggManager::SetRandom(Platform::RandomGenerator* random) {
    random_ = random;
}

int COggManager::Init() {
    musicVolume_ = 0.8f;
    sfxVolume_ = 0.75f;
    sampleCount_ = 0;
    float volume = 0.0f;
    if (ReadConfigFloat("OPTIONS", "MusicVolume", &volume)) {
        musicVolume_ = volume;
    }
    if (ReadConfigFloat("OPTIONS", "SfxVolume", &volume)) {
        sfxVolume_ = volume;
    }
    LoadSoundEvents("sound.ini");
    return 1;
}

void COggManager::LoadSoundEvents(const char* fileName) {
    eventCount_ = 0;
    if (fileName == nullptr) {
        return;
    }
    std::string names(kSectionNamesSize, '\0');
    GetPrivateProfileSectionNames(names.data(), kSectionNamesSize, fileName);
    for (const char* name = names.c_str(); *name != '\0' && eventCount_ < kMaxSoundEvents;
         name += std::strlen(name) + 1) {
        if (!FitsName(name)) {
            // Such a name could never be fired exactly; cutting it would make it another event.
            Log("WARNING: sound event name too long, ignored: %s", name);
            continue;
        }
        SoundEvent& event = events_[eventCount_];
        event = SoundEvent();
        std::strcpy(event.name, name);
        ++eventCount_;
    }
    for (int i = 0; i < eventCount_; ++i) {
        ReadEvent(fileName, events_[i]);
    }
    char line[128];
    std::snprintf(line, sizeof(line), "Loading sound events script: %d events parsed", eventCount_);
    LogMessage(line);
}

// The event's volume and its files "file0".."file9", up to the first missing number.
void COggManager::ReadEvent(const char* fileName, SoundEvent& event) {
    char value[kValueSize];
    GetPrivateProfileString(event.name, "volume", "", value, kValueSize, fileName);
    event.volume = value[0] == '\0' ? 1.0f : static_cast<float>(std::atof(value));
    event.fileCount = 0;
    for (int n = 0; n < kMaxEventFiles; ++n) {
        char key[16];
        std::snprintf(key, sizeof(key), "file%d", n);
        GetPrivateProfileString(event.name, key, "", value, kValueSize, fileName);
        if (value[0] == '\0') {
            break;
        }
        if (!FitsName(value)) {
            Log("WARNING: sound file name too long, ignored: %s", value);
            continue;
        }
        std::strcpy(event.files[event.fileCount], value);
        ++event.fileCount;
    }
}

bool COggManager::LoadSound(const char* path) {
    if (sampleCount_ >= kMaxSamples) {
        LogMessage("WARNING: COggManager::LoadMusicFile(): too many sound files");
        return false;
    }
    const size_t length = path != nullptr ? std::strlen(path) : 0;
    Tuvo::SoundManager* sounds = playback_ != nullptr ? playback_->Sounds() : nullptr;
    if (sounds == nullptr || !sounds->Initialized()) {
        // Without a sound device every load fails; one line says so instead of one per sound,
        // hover and click.
        if (!soundOffLogged_) {
            soundOffLogged_ = true;
            LogMessage("Sound is off: no audio device");
        }
        return false;
    }
    if (length <= 4 || path[length - 4] != '.' || !FitsName(path) ||
        !sounds->LoadSound(sampleCount_, std::string(path, length - 4))) {
        Log("Loading sound: '%s' ... FAILED", path != nullptr ? path : "");
        return false;
    }
    std::strcpy(samples_[sampleCount_].file, path);
    ++sampleCount_;
    Log("Loading sound: '%s' ... OK", path);
    return true;
}

void COggManager::LoadSoundFolder(const char* folder) {
    if (folder == nullptr) {
        return;
    }
    for (const char* pattern : {"*.ogg", "*.wav"}) {
        const std::string search = std::string(folder) + pattern;
        Tuvo::PakFindData found;
        Tuvo::PakFindContext* context = Tuvo::PakFindFirstFile(search.c_str(), &found);
        if (context == Tuvo::kInvalidFindHandle) {
            continue;
        }
        do {
            // The archive reports files of subfolders with the directory attribute.
            if ((found.attributes & Tuvo::kFileAttributeDirectory) == 0) {
                LoadSound((std::string(folder) + found.fileName).c_str());
            }
        } while (Tuvo::PakFindNextFile(context, &found));
        Tuvo::PakFindCloseFile(context);
    }
}

int COggManager::FindSound(const char* path) {
    if (path == nullptr) {
        return -1;
    }
    for (int id = 0; id < sampleCount_; ++id) {
        if (std::strcmp(samples_[id].file, path) == 0) {
            return id;
        }
    }
    return LoadSound(path) ? sampleCount_ - 1 : -1;
}

int COggManager::PrepareEvent(const char* eventName) {
    const SoundEvent* event = nullptr;
    for (int i = eventCount_ - 1; eventName != nullptr && i >= 0; --i) {
        if (std::strcmp(events_[i].name, eventName) == 0) {
            event = &events_[i];  // the last event of a name wins
            break;
        }
    }
    if (event == nullptr || event->fileCount == 0) {
        Log("Warning: couldn't find sound event - %s", eventName != nullptr ? eventName : "");
        return -1;
    }
    int variation = 0;
    if (event->fileCount > 1) {
        Platform::RandomGenerator& random =
            random_ != nullptr ? *random_ : Platform::StandardRandom();
        variation = random.RandInt(0, event->fileCount - 1);
    }
    const int id = FindSound(event->files[variation]);
    if (id < 0) {
        return -1;
    }
    if (playback_ != nullptr && playback_->Sounds() != nullptr) {
        playback_->Sounds()->SetInstanceVolume(id, event->volume);
    }
    return id;
}

int COggManager::PlaySample(int id) {
    if (id < 0 || id >= sampleCount_) {
        return 0;
    }
    if (playback_ != nullptr) {
        playback_->PlaySample(id);
    }
    return 1;
}

void COggManager::PlaySoundEvent(const char* eventName) {
    PlaySample(PrepareEvent(eventName));
}

int COggManager::SetMusicVolume(float volume) {
    musicVolume_ = volume;
    if (volumeOwner_ != nullptr) {
        volumeOwner_->SetPlayerMusicVolume(volume);
    } else if (music_ != nullptr) {
        music_->SetVolume(volume);
    }
    return 1;
}

int COggManager::SetSfxVolume(float volume) {
    sfxVolume_ = volume;
    if (volumeOwner_ != nullptr) {
        volumeOwner_->SetPlayerSfxVolume(volume);
    } else if (playback_ != nullptr) {
        playback_->SetSfxVolume(volume);
    }
    return 1;
}

void COggManager::FreeMusicManager() {
    Tuvo::SoundManager* sounds = playback_ != nullptr ? playback_->Sounds() : nullptr;
    if (sounds != nullptr) {
        for (int id = 0; id < sampleCount_; ++id) {
            sounds->ReleaseSound(id);
        }
    }
    sampleCount_ = 0;
    LogMessage("COggManager::FreeMusicManager()");
}

}  // namespace Quillory
