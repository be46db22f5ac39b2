// Colours laid over the text of a data row as it is painted. Colorization,
// found text and the selection each register one overlay with the screen, in
// that order; the painter asks each for the visible part of every TEXT row
// it paints, so nothing is stored in the lines and a change of colours costs
// only the rows on the screen.
#pragma once

#include <cstdint>
#include <span>

namespace kiv {

class Task;
struct Line;

class RowOverlay {
 public:
  virtual ~RowOverlay() = default;
  // `attrs[i]` is the attribute of the cell of byte `from + i` of the line
  // (0-based), as the overlays before this one left it; the span covers the
  // bytes of the row's visible cells, so it may reach past the end of the
  // text (a byte a blank column there). In a UTF-8 task a character's cells
  // take the colour of its first byte. An overlay changes the bytes it
  // colours.
  virtual void colour(Task& task, const Line& line, int from, std::span<std::uint8_t> attrs) = 0;
};

}  // namespace kiv
