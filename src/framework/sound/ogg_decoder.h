// Ogg Vorbis decoding with the integer decoder (Tremor), pulling the compressed bytes from a
// ByteSource: chunk by chunk for streamed music, or whole into a SoundBuffer for effects.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/sound/byte_source.h"
#include "framework/sound/sound_buffer.h"

namespace Tuvo {

class OggDecoder {
public:
    OggDecoder();
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // Reads the stream headers. False (with `error`) when the bytes are not Ogg Vorbis or have
    // a format a sound buffer cannot hold.
    bool Open(std::unique_ptr<ByteSource> source, std::string& error);
    bool IsOpen() const;

    int Channels() const { return channels_; }
    uint32_t Rate() const { return rate_; }
    // Frames in the whole stream, or -1 when the stream cannot tell.
    int64_t TotalFrames() const;

    // Decodes up to `maxFrames` interleaved frames into `out`. Returns the frames decoded, 0 at
    // the end of the stream, -1 on a decoding error or a change of format between chained links.
    long Read(int16_t* out, long maxFrames);

    // Moves to a frame position; false when it cannot.
    bool SeekFrame(int64_t frame);

private:
    struct State;
    std::unique_ptr<State> state_;
    int channels_ = 0;
    uint32_t rate_ = 0;
};

// Decodes a whole Ogg Vorbis stream. Succeeds only when the decoder delivers every frame the
// stream announces, as a sound buffer of that size must be filled completely.
bool DecodeOgg(std::unique_ptr<ByteSource> source, SoundBuffer& out, std::string& error);

}  // namespace Tuvo
