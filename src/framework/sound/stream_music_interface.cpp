// The streamed Ogg Vorbis music back end (stream_music_interface.h).
#include "framework/sound/stream_music_interface.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <vector>

#include "framework/sound/dsound_manager.h"
#include "framework/sound/sound_files.h"
#include "platform/debug_output.h"

namespace Tuvo {
namespace {

constexpr uint64_t kOne = uint64_t{1} << 32;  // 32.32 fixed point
constexpr long kDecodeFrames = 1024;

bool IsOggName(const std::string& fileName) {
    if (fileName.size() < 4) {
        return false;
    }
    std::string extension = fileName.substr(fileName.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".ogg";
}

int32_t ToFixedGain(double gain) {
    if (!(gain > 0.0)) {
        return 0;
    }
    return static_cast<int32_t>(std::lround(std::min(gain, 1.0) * 65536.0));
}

}  // namespace

struct StreamMusicInterface::Song {
    std::string fileName;
    OggDecoder decoder;
    FrameRing ring{kRingFrames};
    std::vector<int16_t> scratch;
    // Linear resampling to the mixer's rate: the output lies `phase` of the way from `previous`
    // to `current`.
    uint64_t step = kOne;
    uint64_t phase = 0;
    int16_t previous[2] = {0, 0};
    int16_t current[2] = {0, 0};
    bool primed = false;
    bool looping = true;
    std::atomic<bool> ended{false};  // a non-looping song has been decoded to its end
    // Fading.
    double volume = 0.0;
    double maxVolume = 1.0;
    double fadeSpeed = 0.0;
    bool stopWhenFaded = false;
    double channelPercent = 0.0;
    double amplification = 1.0;
    // Read by the mixer; changed under the device lock.
    bool playing = false;
    bool paused = false;
    int32_t mixGain = 0;

    void ResetResampler() {
        phase = 0;
        primed = false;
    }

    // Takes one source frame and pushes every output frame that lies before it.
    void Feed(int16_t left, int16_t right) {
        if (!primed) {
            current[0] = left;
            current[1] = right;
            primed = true;
            return;
        }
        previous[0] = current[0];
        previous[1] = current[1];
        current[0] = left;
        current[1] = right;
        while (phase < kOne) {
            const int32_t fraction = static_cast<int32_t>(phase >> 17);  // Q15
            const int32_t outLeft = previous[0] + (((current[0] - previous[0]) * fraction) >> 15);
            const int32_t outRight = previous[1] + (((current[1] - previous[1]) * fraction) >> 15);
            ring.Push(static_cast<int16_t>(outLeft), static_cast<int16_t>(outRight));
            phase += step;
        }
        phase -= kOne;
    }
};

StreamMusicInterface::StreamMusicInterface(DSoundManager& sounds)
    : device_(sounds.Device()), mixer_(&sounds.GetMixer()) {
    if (device_ != nullptr) {
        Platform::AudioDeviceLock hold(device_);
        mixer_->AddStream(this);
    }
}

StreamMusicInterface::~StreamMusicInterface() {
    if (device_ != nullptr) {
        Platform::AudioDeviceLock hold(device_);
        mixer_->RemoveStream(this);
    }
    songs_.clear();
}

StreamMusicInterface::Song* StreamMusicInterface::Find(int songId) const {
    const auto found = songs_.find(songId);
    return found == songs_.end() ? nullptr : found->second.get();
}

bool StreamMusicInterface::LoadMusic(int songId, const std::string& fileName) {
    if (device_ == nullptr) {
        return false;
    }
    if (!IsOggName(fileName)) {
        Platform::DebugOutput("Music: only Ogg Vorbis is streamed: %s\n", fileName.c_str());
        return false;
    }
    auto song = std::make_unique<Song>();
    std::string error;
    if (!song->decoder.Open(OpenArchiveByteSource(fileName), error)) {
        Platform::DebugOutput("Music: cannot load %s: %s\n", fileName.c_str(), error.c_str());
        return false;
    }
    song->fileName = fileName;
    song->step = (static_cast<uint64_t>(song->decoder.Rate()) << 32) / kMixerRate;
    song->scratch.resize(static_cast<size_t>(kDecodeFrames) * song->decoder.Channels());
    UnloadMusic(songId);
    Platform::AudioDeviceLock hold(device_);
    songs_[songId] = std::move(song);
    return true;
}

// Decodes until the ring cannot take another chunk (or the song has ended).
void StreamMusicInterface::Fill(Song& song) {
    const int channels = song.decoder.Channels();
    const uint32_t worstCase =
        static_cast<uint32_t>(kDecodeFrames * kMixerRate / song.decoder.Rate()) + 2;
    bool decodedSinceRewind = true;
    while (!song.ended.load() && song.ring.Space() >= worstCase) {
        const long count = song.decoder.Read(song.scratch.data(), kDecodeFrames);
        if (count > 0) {
            for (long i = 0; i < count; ++i) {
                const int16_t* frame = song.scratch.data() + i * channels;
                song.Feed(frame[0], channels >= 2 ? frame[1] : frame[0]);
            }
            decodedSinceRewind = true;
            continue;
        }
        if (count < 0) {
            Platform::DebugOutput("Music: decoding error in %s\n", song.fileName.c_str());
        }
        // The end: a looping song goes on from its first frame, seamlessly through the resampler.
        if (count == 0 && song.looping && decodedSinceRewind && song.decoder.SeekFrame(0)) {
            decodedSinceRewind = false;
            continue;
        }
        song.ended.store(true);
    }
}

void StreamMusicInterface::Restart(Song& song, int startOffset, bool noLoop) {
    {
        Platform::AudioDeviceLock hold(device_);
        song.playing = false;
        song.paused = false;
    }
    song.looping = !noLoop;
    const bool finished = song.ended.load() && song.ring.Available() == 0;
    if (startOffset >= 0 || finished) {
        song.ring.Clear();
        song.ResetResampler();
        song.ended.store(false);
        if (!song.decoder.SeekFrame(std::max(startOffset, 0))) {
            song.decoder.SeekFrame(0);
        }
    }
    Fill(song);
    ApplyChannelVolume(song);
    Platform::AudioDeviceLock hold(device_);
    song.playing = true;
}

void StreamMusicInterface::Stop(Song& song) {
    Platform::AudioDeviceLock hold(device_);
    song.playing = false;
    song.paused = false;
}

void StreamMusicInterface::ApplyChannelVolume(Song& song) {
    song.channelPercent = song.volume * 100.0;
    const double gain = song.channelPercent / 100.0 * volumePercent_ / 100.0 * song.amplification;
    Platform::AudioDeviceLock hold(device_);
    song.mixGain = ToFixedGain(gain);
}

void StreamMusicInterface::PlayMusic(int songId, int startOffset, bool noLoop) {
    Song* song = Find(songId);
    if (song == nullptr) {
        return;
    }
    song->volume = song->maxVolume;
    song->fadeSpeed = 0.0;
    Restart(*song, startOffset, noLoop);
}

void StreamMusicInterface::StopMusic(int songId) {
    if (Song* song = Find(songId)) {
        Stop(*song);
    }
}

void StreamMusicInterface::PauseMusic(int songId) {
    if (Song* song = Find(songId)) {
        Platform::AudioDeviceLock hold(device_);
        song->paused = true;
    }
}

void StreamMusicInterface::ResumeMusic(int songId) {
    if (Song* song = Find(songId)) {
        Platform::AudioDeviceLock hold(device_);
        song->paused = false;
    }
}

void StreamMusicInterface::StopAllMusic() {
    for (auto& entry : songs_) {
        Stop(*entry.second);
    }
}

void StreamMusicInterface::UnloadMusic(int songId) {
    std::unique_ptr<Song> removed;
    {
        Platform::AudioDeviceLock hold(device_);
        const auto found = songs_.find(songId);
        if (found == songs_.end()) {
            return;
        }
        removed = std::move(found->second);
        songs_.erase(found);
    }
    // The decoder closes here, outside the lock.
}

void StreamMusicInterface::UnloadAllMusic() {
    std::map<int, std::unique_ptr<Song>> removed;
    Platform::AudioDeviceLock hold(device_);
    removed.swap(songs_);
}

void StreamMusicInterface::PauseAllMusic() {
    Platform::AudioDeviceLock hold(device_);
    for (auto& entry : songs_) {
        entry.second->paused = true;
    }
}

void StreamMusicInterface::ResumeAllMusic() {
    Platform::AudioDeviceLock hold(device_);
    for (auto& entry : songs_) {
        entry.second->paused = false;
    }
}

void StreamMusicInterface::FadeIn(int songId, int startOffset, double speed, bool noLoop) {
    Song* song = Find(songId);
    if (song == nullptr) {
        return;
    }
    song->fadeSpeed = speed;
    Restart(*song, startOffset, noLoop);
}

void StreamMusicInterface::FadeOut(int songId, bool stopWhenFaded, double speed) {
    Song* song = Find(songId);
    if (song == nullptr || song->volume == 0.0) {
        return;
    }
    song->fadeSpeed = -speed;
    song->stopWhenFaded = stopWhenFaded;
}

void StreamMusicInterface::FadeOutAll(bool stopWhenFaded, double speed) {
    for (auto& entry : songs_) {
        entry.second->fadeSpeed = -speed;
        entry.second->stopWhenFaded = stopWhenFaded;
    }
}

void StreamMusicInterface::SetTrackVolume(int songId, double volume) {
    if (Song* song = Find(songId)) {
        song->volume = volume;
        ApplyChannelVolume(*song);
    }
}

void StreamMusicInterface::SetTrackMaxVolume(int songId, double maxVolume) {
    if (Song* song = Find(songId)) {
        song->maxVolume = maxVolume;
    }
}

bool StreamMusicInterface::IsPlaying(int songId) {
    Song* song = Find(songId);
    if (song == nullptr) {
        return false;
    }
    Platform::AudioDeviceLock hold(device_);
    return song->playing && !song->paused;
}

void StreamMusicInterface::SetVolume(double volume) {
    volumePercent_ = volume * 100.0;
    for (auto& entry : songs_) {
        ApplyChannelVolume(*entry.second);
    }
}

void StreamMusicInterface::SetMusicGain(int songId, double amplification) {
    if (Song* song = Find(songId)) {
        song->amplification = std::clamp(amplification, 0.0, 1.0);
        ApplyChannelVolume(*song);
    }
}

void StreamMusicInterface::Update() {
    for (auto& entry : songs_) {
        Song& song = *entry.second;
        if (song.fadeSpeed != 0.0) {
            song.volume += song.fadeSpeed;
            if (song.volume > song.maxVolume) {
                song.volume = song.maxVolume;
                song.fadeSpeed = 0.0;
            } else if (song.volume < 0.0) {
                song.volume = 0.0;
                song.fadeSpeed = 0.0;
                if (song.stopWhenFaded) {
                    Stop(song);
                }
            }
            ApplyChannelVolume(song);
        }
        bool active = false;
        {
            Platform::AudioDeviceLock hold(device_);
            active = song.playing;
        }
        if (active) {
            Fill(song);
        }
    }
}

double StreamMusicInterface::TrackVolume(int songId) const {
    const Song* song = Find(songId);
    return song == nullptr ? -1.0 : song->volume;
}

double StreamMusicInterface::ChannelVolumePercent(int songId) const {
    const Song* song = Find(songId);
    return song == nullptr ? -1.0 : song->channelPercent;
}

double StreamMusicInterface::FadeSpeed(int songId) const {
    const Song* song = Find(songId);
    return song == nullptr ? 0.0 : song->fadeSpeed;
}

uint32_t StreamMusicInterface::BufferedFrames(int songId) const {
    const Song* song = Find(songId);
    return song == nullptr ? 0 : song->ring.Available();
}

// The audio thread, with the device lock held: copies each playing song's decoded frames.
void StreamMusicInterface::MixInto(int32_t* accumulator, int frames) {
    for (auto& entry : songs_) {
        Song& song = *entry.second;
        if (!song.playing || song.paused) {
            continue;
        }
        const uint32_t used =
            song.ring.MixInto(accumulator, static_cast<uint32_t>(frames), song.mixGain);
        if (used < static_cast<uint32_t>(frames) && song.ended.load()) {
            song.playing = false;  // the last decoded frame of a non-looping song has played
        }
    }
}

}  // namespace Tuvo
