// Volume and pan in the units the sound interfaces use: linear volume fractions, mapped to
// hundredths of a decibel the way the game has always heard them, and pans in hundredths of a
// decibel taken off the opposite channel. The mixer turns both into linear gains.
#pragma once

namespace Tuvo {

constexpr int kSilenceDecibels = -10000;  // hundredths of a decibel
constexpr int kPanLeft = -10000;
constexpr int kPanRight = 10000;

// d = trunc((log10(9v + 1) - 1) x 2333), with everything below -2000 turned into silence.
// Volumes are clamped to 0..1 first, so the result is never above 0.
int VolumeToDecibels(double volume);

// 10^(hundredths / 2000); silence (-10000 or below) gives exactly 0.
float DecibelsToGain(int hundredths);

struct StereoGain {
    float left = 1.0f;
    float right = 1.0f;
};

// The gains of a playback at `decibels` and `pan`: a negative pan attenuates the right channel
// by |pan| hundredths of a decibel, a positive one the left; 0 keeps both at full level.
StereoGain VolumeAndPanToGain(int decibels, int pan);

}  // namespace Tuvo
