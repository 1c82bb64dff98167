// The memory byte source of byte_source.h.
#include "framework/sound/byte_source.h"

#include <cstdio>
#include <cstring>

namespace Tuvo {

size_t MemoryByteSource::Read(void* buffer, size_t bytes) {
    if (buffer == nullptr || position_ >= bytes_.size()) {
        return 0;
    }
    const size_t count = std::min(bytes, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
}

bool MemoryByteSource::Seek(int64_t offset, int origin) {
    int64_t base = 0;
    if (origin == SEEK_CUR) {
        base = static_cast<int64_t>(position_);
    } else if (origin == SEEK_END) {
        base = static_cast<int64_t>(bytes_.size());
    } else if (origin != SEEK_SET) {
        return false;
    }
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(bytes_.size())) {
        return false;
    }
    position_ = static_cast<size_t>(target);
    return true;
}

}  // namespace Tuvo
