#include "platform/color_match.h"

#include <array>

namespace kiv::platform {

namespace {

// xterm's defaults for the 16 ANSI colours.
constexpr std::array<Rgb, 16> kAnsi = {{
    {0, 0, 0},
    {205, 0, 0},
    {0, 205, 0},
    {205, 205, 0},
    {0, 0, 238},
    {205, 0, 205},
    {0, 205, 205},
    {229, 229, 229},
    {127, 127, 127},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {92, 92, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

constexpr std::array<std::uint8_t, 6> kCubeLevels = {0, 95, 135, 175, 215, 255};

int nearestIn(Rgb colour, int first, int last) {
  int best = first;
  long bestDistance = colourDistance(colour, xtermColor(first));
  for (int i = first + 1; i <= last; ++i) {
    long d = colourDistance(colour, xtermColor(i));
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace

Rgb xtermColor(int index) {
  if (index < 0 || index > 255) return {};
  if (index < 16) return kAnsi[static_cast<std::size_t>(index)];
  if (index >= 232) {
    auto grey = static_cast<std::uint8_t>(8 + (index - 232) * 10);
    return {grey, grey, grey};
  }
  int cube = index - 16;
  return {kCubeLevels[static_cast<std::size_t>(cube / 36)],
          kCubeLevels[static_cast<std::size_t>(cube / 6 % 6)],
          kCubeLevels[static_cast<std::size_t>(cube % 6)]};
}

long colourDistance(Rgb a, Rgb b) {
  long meanRed = (static_cast<long>(a.r) + b.r) / 2;
  long dr = static_cast<long>(a.r) - b.r;
  long dg = static_cast<long>(a.g) - b.g;
  long db = static_cast<long>(a.b) - b.b;
  return (((512 + meanRed) * dr * dr) >> 8) + 4 * dg * dg + (((767 - meanRed) * db * db) >> 8);
}

int nearestXterm256(Rgb colour) {
  return nearestIn(colour, 16, 255);
}

int nearestAnsi(Rgb colour, int count) {
  return nearestIn(colour, 0, count >= 16 ? 15 : 7);
}

std::uint32_t directColor(Rgb colour) {
  std::uint32_t value = (static_cast<std::uint32_t>(colour.r) << 16) |
                        (static_cast<std::uint32_t>(colour.g) << 8) | colour.b;
  // A green of 1 cannot be seen, and keeps black from meaning ANSI colour 0.
  return value < 8 ? value | 0x100 : value;
}

}  // namespace kiv::platform
