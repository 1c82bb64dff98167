// The volume and pan mappings of decibels.h.
#include "framework/sound/decibels.h"

#include <algorithm>
#include <cmath>

namespace Tuvo {

int VolumeToDecibels(double volume) {
    if (!(volume > 0.0)) {  // also catches NaN
        volume = 0.0;
    }
    volume = std::min(volume, 1.0);
    const int decibels = static_cast<int>((std::log10(9.0 * volume + 1.0) - 1.0) * 2333.0);
    if (decibels < -2000) {
        return kSilenceDecibels;
    }
    return std::min(decibels, 0);
}

float DecibelsToGain(int hundredths) {
    if (hundredths <= kSilenceDecibels) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

StereoGain VolumeAndPanToGain(int decibels, int pan) {
    pan = std::clamp(pan, kPanLeft, kPanRight);
    const float level = DecibelsToGain(decibels);
    StereoGain gain{level, level};
    if (pan < 0) {
        gain.right *= DecibelsToGain(pan);
    } else if (pan > 0) {
        gain.left *= DecibelsToGain(-pan);
    }
    return gain;
}

}  // namespace Tuvo
