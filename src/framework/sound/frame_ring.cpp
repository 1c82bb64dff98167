// The single-producer, single-consumer frame ring of frame_ring.h.
#include "framework/sound/frame_ring.h"

#include <algorithm>

namespace Tuvo {

FrameRing::FrameRing(uint32_t capacityFrames) {
    uint32_t capacity = 1;
    while (capacity < capacityFrames && capacity < (1u << 30)) {
        capacity <<= 1;
    }
    mask_ = capacity - 1;
    samples_.assign(2 * static_cast<size_t>(capacity), 0);
}

uint32_t FrameRing::Available() const {
    return writeCount_.load(std::memory_order_acquire) - readCount_.load(std::memory_order_acquire);
}

uint32_t FrameRing::Space() const {
    return Capacity() - Available();
}

bool FrameRing::Push(int16_t left, int16_t right) {
    const uint32_t write = writeCount_.load(std::memory_order_relaxed);
    if (write - readCount_.load(std::memory_order_acquire) >= Capacity()) {
        return false;
    }
    const size_t slot = 2 * static_cast<size_t>(write & mask_);
    samples_[slot] = left;
    samples_[slot + 1] = right;
    writeCount_.store(write + 1, std::memory_order_release);
    return true;
}

uint32_t FrameRing::MixInto(int32_t* accumulator, uint32_t frames, int32_t gain) {
    const uint32_t read = readCount_.load(std::memory_order_relaxed);
    const uint32_t count = std::min(frames, writeCount_.load(std::memory_order_acquire) - read);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t slot = 2 * static_cast<size_t>((read + i) & mask_);
        accumulator[2 * i] += (samples_[slot] * gain) >> 16;
        accumulator[2 * i + 1] += (samples_[slot + 1] * gain) >> 16;
    }
    readCount_.store(read + count, std::memory_order_release);
    return count;
}

void FrameRing::Clear() {
    readCount_.store(writeCount_.load(std::memory_order_acquire), std::memory_order_release);
}

}  // namespace Tuvo
