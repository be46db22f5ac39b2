// Matching the palette's RGB colours to what a terminal can show: the 256
// colours of xterm's default palette, the 16 (or 8) ANSI colours, or the
// colour itself on a direct-colour terminal. Pure functions.
#pragma once

#include <cstdint>

#include "platform/grid.h"

namespace kiv::platform {

// Colour `index` (0..255) of xterm's default palette: 16 ANSI colours, the
// 6x6x6 cube (levels 0, 95, 135, 175, 215, 255) and 24 greys 8..238.
Rgb xtermColor(int index);

// The nearest colour of the cube and the grey ramp (16..255). The first 16
// are left out because terminals let the user theme them.
int nearestXterm256(Rgb colour);

// The nearest of the first `count` ANSI colours (8 or 16), for terminals
// that have no more.
int nearestAnsi(Rgb colour, int count);

// The colour number of a direct-colour terminal: 0xRRGGBB, never below 8
// (such terminals send numbers 0..7 as the themed ANSI colours).
std::uint32_t directColor(Rgb colour);

// Perceptual distance used by the matching (weighted by the mean red).
long colourDistance(Rgb a, Rgb b);

}  // namespace kiv::platform
