// The millisecond clock and sleep that timing code reads through, so tests can drive it by hand.
#pragma once

#include <cstdint>

namespace Platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary start; wraps like timeGetTime after about 49 days.
    virtual uint32_t Milliseconds() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Milliseconds since 1970 by the calendar clock: differs from session to session (seeds).
    virtual uint64_t WallMilliseconds() = 0;
};

// The monotonic system clock.
Clock& SystemClock();

// A clock that only moves when told to; sleeping advances it.
class ManualClock : public Clock {
public:
    uint32_t Milliseconds() override { return now_; }
    void Sleep(uint32_t milliseconds) override {
        now_ += milliseconds;
        sleptTotal_ += milliseconds;
    }
    uint64_t WallMilliseconds() override { return wallNow_; }
    void Advance(uint32_t milliseconds) { now_ += milliseconds; }
    void SetWall(uint64_t milliseconds) { wallNow_ = milliseconds; }
    void Set(uint32_t now) { now_ = now; }
    uint64_t SleptTotal() const { return sleptTotal_; }

private:
    uint32_t now_ = 1000;
    uint64_t wallNow_ = 1'700'000'000'000;
    uint64_t sleptTotal_ = 0;
};

}  // namespace Platform
