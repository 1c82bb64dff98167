// The mouse-button state the game samples once per update. A press that is released again before
// the next sample is still reported once, so a quick tap between two updates is never lost.
#pragma once

namespace Platform {

class MouseButtonLatch {
public:
    void Press(int buttonBit) {
        held_ |= buttonBit;
        pressedSinceSample_ |= buttonBit;
    }
    void Release(int buttonBit) { held_ &= ~buttonBit; }
    void ReleaseAll() { held_ = 0; }

    // The buttons down now, plus those pressed since the last sample.
    int Sample() {
        const int state = held_ | pressedSinceSample_;
        pressedSinceSample_ = 0;
        return state;
    }
    int Held() const { return held_; }

private:
    int held_ = 0;
    int pressedSinceSample_ = 0;
};

}  // namespace Platform
