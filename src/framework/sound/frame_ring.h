// A ring of stereo 16-bit frames between one producer (the music decoder, on the main thread)
// and one consumer (the mixer, on the audio thread). Neither side waits for the other: the indices
// are atomic counters, so the decoder never holds the device lock while it works.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace Tuvo {

class FrameRing {
public:
    // `capacityFrames` is rounded up to a power of two.
    explicit FrameRing(uint32_t capacityFrames);

    uint32_t Capacity() const { return mask_ + 1; }
    // Frames ready for the consumer.
    uint32_t Available() const;
    // Frames the producer may still push.
    uint32_t Space() const;

    // Producer: appends one frame; false when the ring is full.
    bool Push(int16_t left, int16_t right);

    // Consumer: adds up to `frames` frames scaled by `gain` (Q16) into `accumulator`, and
    // returns how many it used.
    uint32_t MixInto(int32_t* accumulator, uint32_t frames, int32_t gain);

    // Empties the ring. Only while the consumer is not reading it.
    void Clear();

private:
    std::vector<int16_t> samples_;
    uint32_t mask_;
    std::atomic<uint32_t> readCount_{0};
    std::atomic<uint32_t> writeCount_{0};
};

}  // namespace Tuvo
