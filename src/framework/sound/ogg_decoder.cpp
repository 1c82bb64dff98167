// Tremor glue for ogg_decoder.h: its stream callbacks read through our ByteSource.
#include "framework/sound/ogg_decoder.h"

#include <tremor/ivorbiscodec.h>
#include <tremor/ivorbisfile.h>

#include <cstdio>

namespace Tuvo {
namespace {

size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0) {
        return 0;
    }
    return static_cast<ByteSource*>(source)->Read(buffer, size * count) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int origin) {
    return static_cast<ByteSource*>(source)->Seek(offset, origin) ? 0 : -1;
}

long TellCallback(void* source) {
    return static_cast<long>(static_cast<ByteSource*>(source)->Tell());
}

}  // namespace

struct OggDecoder::State {
    std::unique_ptr<ByteSource> source;
    OggVorbis_File file{};
    bool open = false;
};

OggDecoder::OggDecoder() : state_(std::make_unique<State>()) {}

OggDecoder::~OggDecoder() {
    if (state_->open) {
        ov_clear(&state_->file);
    }
}

bool OggDecoder::IsOpen() const {
    return state_->open;
}

bool OggDecoder::Open(std::unique_ptr<ByteSource> source, std::string& error) {
    if (state_->open) {
        ov_clear(&state_->file);
        state_->open = false;
    }
    channels_ = 0;
    rate_ = 0;
    if (source == nullptr) {
        error = "no file";
        return false;
    }
    state_->source = std::move(source);
    // No close callback: the source belongs to this object.
    const ov_callbacks callbacks = {ReadCallback, SeekCallback, nullptr, TellCallback};
    if (ov_open_callbacks(state_->source.get(), &state_->file, nullptr, 0, callbacks) != 0) {
        error = "not an Ogg Vorbis stream";
        state_->source.reset();
        return false;
    }
    state_->open = true;
    const vorbis_info* info = ov_info(&state_->file, -1);
    if (info == nullptr || info->rate <= 0 ||
        !ValidSoundFormat(info->channels, static_cast<uint32_t>(info->rate))) {
        error = "unsupported channel count or sample rate";
        ov_clear(&state_->file);
        state_->open = false;
        return false;
    }
    channels_ = info->channels;
    rate_ = static_cast<uint32_t>(info->rate);
    return true;
}

int64_t OggDecoder::TotalFrames() const {
    if (!state_->open) {
        return -1;
    }
    const ogg_int64_t total = ov_pcm_total(&state_->file, -1);
    return total < 0 ? -1 : total;
}

long OggDecoder::Read(int16_t* out, long maxFrames) {
    if (!state_->open || out == nullptr || maxFrames <= 0) {
        return -1;
    }
    const long frameBytes = static_cast<long>(channels_) * 2;
    char* bytes = reinterpret_cast<char*>(out);
    long wanted = maxFrames * frameBytes;
    long got = 0;
    while (got < wanted) {
        int link = 0;
        const long count =
            ov_read(&state_->file, bytes + got, static_cast<int>(wanted - got), &link);
        if (count == OV_HOLE) {
            continue;  // a gap in the data: the decoder resynchronises on the next page
        }
        if (count < 0) {
            return -1;
        }
        if (count == 0) {
            break;
        }
        const vorbis_info* info = ov_info(&state_->file, link);
        if (info == nullptr || info->channels != channels_ ||
            info->rate != static_cast<long>(rate_)) {
            return -1;  // a chained link with another format cannot share the buffer
        }
        got += count;
    }
    return got / frameBytes;
}

bool OggDecoder::SeekFrame(int64_t frame) {
    return state_->open && frame >= 0 && ov_pcm_seek(&state_->file, frame) == 0;
}

bool DecodeOgg(std::unique_ptr<ByteSource> source, SoundBuffer& out, std::string& error) {
    out = SoundBuffer();
    OggDecoder decoder;
    if (!decoder.Open(std::move(source), error)) {
        return false;
    }
    const int64_t frames = decoder.TotalFrames();
    if (frames <= 0) {
        error = "the stream announces no samples";
        return false;
    }
    const uint64_t bytes = static_cast<uint64_t>(frames) * decoder.Channels() * sizeof(int16_t);
    if (bytes > kMaxDecodedSoundBytes) {
        error = "the sound is too large";
        return false;
    }
    out.samples.resize(static_cast<size_t>(frames) * decoder.Channels());
    int64_t filled = 0;
    while (filled < frames) {
        const long chunk = static_cast<long>(std::min<int64_t>(frames - filled, 4096));
        const long count = decoder.Read(out.samples.data() + filled * decoder.Channels(), chunk);
        if (count <= 0) {
            break;
        }
        filled += count;
    }
    if (filled != frames) {
        out = SoundBuffer();
        error = "the stream ended before its announced length";
        return false;
    }
    out.channels = decoder.Channels();
    out.rate = decoder.Rate();
    out.sourceBits = 16;
    return true;
}

}  // namespace Tuvo
