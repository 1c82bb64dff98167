// How a drawing operation combines its colour with the destination pixels.
#pragma once

namespace Tuvo {

using DrawMode = int;

// Source-over blending with the source alpha times the colour's alpha.
inline constexpr DrawMode kDrawModeNormal = 0;
// Adds the (weighted) source channels to the destination, clamped at 255; alpha kept.
inline constexpr DrawMode kDrawModeAdditive = 1;

}  // namespace Tuvo
