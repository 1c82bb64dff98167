// The sound manager and its playbacks (dsound_manager.h).
#include "framework/sound/dsound_manager.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "framework/sound/decibels.h"
#include "framework/sound/sound_files.h"
#include "framework/sound/wav_file.h"
#include "platform/atomic_file.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace Tuvo {
namespace {

constexpr uint32_t kSweepIntervalMs = 1000;
constexpr double kSemitone = 1.0594630943592953;

bool ValidId(int id) {
    return id >= 0 && id < kMaxSoundIds;
}

// A name the cache can hold: relative, at least 3 characters, no drive and no ".." component
// (which would write outside the cache folder).
bool CacheableName(const std::string& name) {
    if (name.size() < 3 || name[0] == '/' || name[0] == '\\' || name[1] == ':') {
        return false;
    }
    const std::string path = Platform::NormaliseSeparators(name);
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (path.compare(start, end - start, "..") == 0 && end - start == 2) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

// ----- DSoundInstance -----

DSoundInstance::DSoundInstance(DSoundManager* manager, std::shared_ptr<const SoundBuffer> buffer)
    : manager_(manager), buffer_(std::move(buffer)) {
    if (buffer_ == nullptr || buffer_->Empty()) {
        buffer_.reset();
        return;
    }
    defaultFrequency_ = buffer_->rate;
    frequency_ = buffer_->rate;
    voice_.samples = buffer_->samples.data();
    voice_.frames = static_cast<uint32_t>(buffer_->Frames());
    voice_.channels = buffer_->channels;
    voice_.step = Mixer::StepFor(frequency_);
    ApplyVolumeAndPan();
    Platform::AudioDeviceLock hold(manager_->Device());
    inMixer_ = manager_->GetMixer().AddVoice(&voice_);
    if (!inMixer_) {
        // Like a failed buffer duplicate: this playback stays silent, the game goes on.
        Platform::DebugOutput("Sound: no mixer voice for a new playback\n");
        buffer_.reset();
    }
}

DSoundInstance::~DSoundInstance() {
    if (inMixer_) {
        Platform::AudioDeviceLock hold(manager_->Device());
        manager_->GetMixer().RemoveVoice(&voice_);
    }
}

void DSoundInstance::Release() {
    Stop();
    released_ = true;
}

void DSoundInstance::SetInstanceVolume(double volume) {
    baseVolume_ = volume;
    ApplyVolumeAndPan();
}

void DSoundInstance::SetInstancePan(int pan) {
    basePan_ = pan;
    ApplyVolumeAndPan();
}

void DSoundInstance::ShiftPitch(double steps) {
    double frequency = defaultFrequency_ * std::pow(kSemitone, steps);
    frequency = std::clamp(frequency, static_cast<double>(kMinPitchFrequency),
                           static_cast<double>(kMaxPitchFrequency));
    frequency_ = static_cast<uint32_t>(frequency);
    if (buffer_ == nullptr) {
        return;
    }
    Platform::AudioDeviceLock hold(manager_->Device());
    voice_.step = Mixer::StepFor(frequency_);
}

void DSoundInstance::SetVolume(double volume) {
    volume_ = volume;
    ApplyVolumeAndPan();
}

void DSoundInstance::SetPan(int pan) {
    pan_ = pan;
    ApplyVolumeAndPan();
}

void DSoundInstance::ApplyVolumeAndPan() {
    const double effective = volume_ * baseVolume_ * manager_->EffectsVolume();
    const StereoGain gain = VolumeAndPanToGain(VolumeToDecibels(effective), pan_ + basePan_);
    Platform::AudioDeviceLock hold(inMixer_ ? manager_->Device() : nullptr);
    voice_.gainLeft = gain.left;
    voice_.gainRight = gain.right;
}

bool DSoundInstance::Play(bool looping, bool autoRelease) {
    Stop();
    hasPlayed_ = true;
    autoRelease_ = autoRelease;
    if (buffer_ == nullptr) {
        return false;
    }
    Platform::AudioDeviceLock hold(manager_->Device());
    voice_.position = 0;
    voice_.looping = looping;
    voice_.playing = true;
    return true;
}

void DSoundInstance::Stop() {
    autoRelease_ = false;
    if (buffer_ == nullptr) {
        return;
    }
    Platform::AudioDeviceLock hold(manager_->Device());
    voice_.playing = false;
    voice_.position = 0;
}

bool DSoundInstance::IsPlaying() {
    if (!hasPlayed_ || buffer_ == nullptr) {
        return false;
    }
    Platform::AudioDeviceLock hold(manager_->Device());
    return voice_.playing;
}

bool DSoundInstance::IsReleased() {
    if (!released_ && autoRelease_ && hasPlayed_ && !IsPlaying()) {
        Release();
    }
    return released_;
}

// ----- DSoundManager -----

DSoundManager::DSoundManager(std::unique_ptr<Platform::AudioDevice> device, bool useMp3,
                             Platform::Clock* clock)
    : device_(std::move(device)),
      clock_(clock != nullptr ? clock : &Platform::SystemClock()),
      useMp3_(useMp3) {
    lastSweep_ = clock_->Milliseconds();
    if (device_ != nullptr) {
        device_->SetRenderer(&mixer_);
    }
}

DSoundManager::~DSoundManager() {
    ReleaseFinishedChannels();
    ReleaseAllSounds();
    if (device_ != nullptr) {
        device_->SetRenderer(nullptr);
    }
}

std::string DSoundManager::CacheFolder() const {
    if (!cacheFolder_.empty()) {
        return cacheFolder_;
    }
    return Platform::UserFolder() + "/cached";
}

std::string DSoundManager::CachePath(const std::string& fileName) const {
    if (!CacheableName(fileName)) {
        return "";
    }
    return CacheFolder() + "/" + Platform::NormaliseSeparators(fileName) + ".wav";
}

const std::string& DSoundManager::SoundFileName(int id) const {
    static const std::string kNone;
    return ValidId(id) ? sounds_[id].fileName : kNone;
}

size_t DSoundManager::SoundDataSize(int id) const {
    return ValidId(id) ? sounds_[id].dataSize : 0;
}

std::shared_ptr<const SoundBuffer> DSoundManager::Sound(int id) const {
    return ValidId(id) ? sounds_[id].buffer : nullptr;
}

int DSoundManager::LoadSound(const std::string& fileName) {
    for (int id = 0; id < kMaxSoundIds; ++id) {
        if (sounds_[id].buffer != nullptr && sounds_[id].fileName == fileName) {
            return id;
        }
    }
    for (int id = kMaxSoundIds - 1; id >= 0; --id) {
        if (sounds_[id].buffer == nullptr) {
            return LoadSound(id, fileName) ? id : -1;
        }
    }
    return -1;
}

bool DSoundManager::LoadSound(int id, const std::string& fileName) {
    if (!ValidId(id)) {
        return false;
    }
    ReleaseSound(id);
    if (device_ == nullptr) {
        return false;
    }
    SoundBuffer sound;
    std::string error;
    const std::string cachePath = CachePath(fileName);
    if (!cachePath.empty()) {
        std::string cached;
        if (Platform::ReadWholeFile(cachePath, cached) &&
            ReadWav(reinterpret_cast<const uint8_t*>(cached.data()), cached.size(), ArchiveFileTime,
                    sound, error)) {
            if (!FitsBudget(fileName, sound)) {
                return false;
            }
            sounds_[id].fileName = fileName;
            StoreSound(id, std::move(sound));
            return true;
        }
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(cachePath).parent_path(),
                                            ignored);
    }
    if (LoadWavFile(fileName + ".wav", sound, error)) {
        if (!FitsBudget(fileName, sound)) {
            return false;
        }
        sounds_[id].fileName = fileName;
        StoreSound(id, std::move(sound));
        return true;
    }
    std::string sourceName;
    if (!DecodeSource(fileName, sound, sourceName) || !FitsBudget(fileName, sound)) {
        return false;
    }
    if (!cachePath.empty()) {
        uint64_t sourceTime = 0;
        ArchiveFileTime(sourceName.c_str(), sourceTime);
        const std::string file = EncodeCacheWav(sound, sourceName, sourceTime);
        if (!Platform::WriteFileAtomically(cachePath, file, Platform::Durability::kNoFlush)) {
            Platform::DebugOutput("Sound: cannot write the cache file %s\n", cachePath.c_str());
        }
    }
    sounds_[id].fileName = fileName;
    StoreSound(id, std::move(sound));
    return true;
}

// The compressed formats, in the order the game has always tried them.
bool DSoundManager::DecodeSource(const std::string& fileName, SoundBuffer& sound,
                                 std::string& sourceName) {
    std::string error;
    if (useMp3_) {
        Platform::DebugOutput("Sound: MP3 is not supported, skipping %s.mp3\n", fileName.c_str());
    }
    sourceName = fileName + ".ogg";
    if (LoadOggFile(sourceName, sound, error)) {
        return true;
    }
    sourceName = fileName + ".au";
    if (LoadAuFile(sourceName, sound, error)) {
        return true;
    }
    Platform::DebugOutput("Sound: cannot load %s: %s\n", fileName.c_str(), error.c_str());
    return false;
}

size_t DSoundManager::LoadedSoundBytes() const {
    size_t total = 0;
    for (const SoundSlot& slot : sounds_) {
        total += slot.dataSize;
    }
    return total;
}

bool DSoundManager::FitsBudget(const std::string& fileName, const SoundBuffer& sound) const {
    const size_t loaded = LoadedSoundBytes();
    if (sound.DataBytes() <= loadedSoundBudget_ &&
        loaded <= loadedSoundBudget_ - sound.DataBytes()) {
        return true;
    }
    Platform::DebugOutput(
        "Sound: %s refused: its %zu decoded bytes would take the loaded sounds "
        "past %zu bytes\n",
        fileName.c_str(), sound.DataBytes(), loadedSoundBudget_);
    return false;
}

void DSoundManager::StoreSound(int id, SoundBuffer&& sound) {
    sounds_[id].dataSize = sound.DataBytes();
    sounds_[id].buffer = std::make_shared<const SoundBuffer>(std::move(sound));
}

void DSoundManager::ReleaseSound(int id) {
    if (!ValidId(id)) {
        return;
    }
    // Live playbacks keep their own reference to the data, as duplicated buffers did.
    sounds_[id].buffer.reset();
    sounds_[id].fileName.clear();
    sounds_[id].dataSize = 0;
}

void DSoundManager::SetVolume(double volume) {
    masterVolume_ = volume;
    for (auto& channel : channels_) {
        if (channel != nullptr) {
            channel->ApplyVolumeAndPan();
        }
    }
}

bool DSoundManager::SetInstanceVolume(int id, double volume) {
    if (!ValidId(id)) {
        return false;
    }
    sounds_[id].baseVolume = volume;
    return true;
}

bool DSoundManager::SetInstancePan(int id, int pan) {
    if (!ValidId(id)) {
        return false;
    }
    sounds_[id].basePan = pan;
    return true;
}

int DSoundManager::FindFreeChannel() {
    const uint32_t now = clock_->Milliseconds();
    if (now - lastSweep_ > kSweepIntervalMs) {  // unsigned: right across the clock's wrap
        for (auto& channel : channels_) {
            if (channel != nullptr && channel->IsReleased()) {
                channel.reset();
            }
        }
        lastSweep_ = now;
    }
    for (int i = 0; i < kPlaybackChannels; ++i) {
        if (channels_[i] == nullptr) {
            return i;
        }
        if (channels_[i]->IsReleased()) {
            channels_[i].reset();
            return i;
        }
    }
    return -1;
}

SoundInstance* DSoundManager::CreateInstance(int id) {
    if (!ValidId(id)) {
        return nullptr;
    }
    const int channel = FindFreeChannel();
    if (channel < 0) {
        return nullptr;
    }
    if (device_ == nullptr) {
        channels_[channel] = std::make_unique<DSoundInstance>(this, nullptr);
        return channels_[channel].get();
    }
    const SoundSlot& slot = sounds_[id];
    if (slot.buffer == nullptr) {
        return nullptr;
    }
    auto instance = std::make_unique<DSoundInstance>(this, slot.buffer);
    instance->SetInstancePan(slot.basePan);
    instance->SetInstanceVolume(slot.baseVolume);
    channels_[channel] = std::move(instance);
    return channels_[channel].get();
}

void DSoundManager::ReleaseAllSounds() {
    for (int id = 0; id < kMaxSoundIds; ++id) {
        ReleaseSound(id);
    }
}

void DSoundManager::ReleaseFinishedChannels() {
    for (auto& channel : channels_) {
        channel.reset();
    }
}

double DSoundManager::GetMasterVolume() {
    return outputVolume_ / 65535.0;
}

void DSoundManager::SetMasterVolume(double volume) {
    volume = std::clamp(volume, 0.0, 1.0);
    outputVolume_ = static_cast<uint32_t>(std::lround(volume * 65535.0));
    Platform::AudioDeviceLock hold(device_.get());
    mixer_.SetOutputGain(static_cast<float>(GetMasterVolume()));
}

void DSoundManager::AttachWindow(void*, bool) {
    // SDL's audio device belongs to no window.
}

void DSoundManager::StopAllSounds() {
    for (auto& channel : channels_) {
        if (channel != nullptr) {
            const bool autoRelease = channel->AutoRelease();
            channel->Stop();
            channel->SetAutoRelease(autoRelease);
        }
    }
}

int DSoundManager::LiveChannels() const {
    return static_cast<int>(std::count_if(channels_.begin(), channels_.end(),
                                          [](const auto& channel) { return channel != nullptr; }));
}

int DSoundManager::AllocateSoundId() {
    for (int id = 0; id < kMaxSoundIds; ++id) {
        if (sounds_[id].buffer == nullptr) {
            return id;
        }
    }
    return -1;
}

int DSoundManager::CountSounds() {
    return static_cast<int>(
        std::count_if(sounds_.begin(), sounds_.end(),
                      [](const SoundSlot& slot) { return slot.buffer != nullptr; }));
}

}  // namespace Tuvo
