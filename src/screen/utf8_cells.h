// The cells of a row of UTF-8 text: the characters that stand in a range of
// columns, drawn as the terminal shows them. A wide character takes two
// cells, or a placeholder in the one cell it has where an edge of the range
// cuts it; combining marks ride on their base character's cell; an invalid
// byte shows U+FFFD, a control character its visible substitute.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/text_columns.h"
#include "platform/grid.h"

namespace kiv {

// Where the shown columns from + 1 .. from + width of `text` lie.
struct ShownText {
  std::size_t first = 0;  // byte of the character in the first column (a cut one too)
  int column = 1;         // that character's first column, from or from + 1
};

// Where the shown columns begin (from + 1 on); past the text a column is a
// byte, as a blank would be.
ShownText shownText(std::string_view text, int from);
// Past the byte of the character in the last shown column (from + width):
// the bytes an overlay colours.
std::size_t shownEnd(std::string_view text, int from, int width);

// A row's place on the grid and the colours of its bytes: attrs[i] is the
// colour of byte shown.first + i (empty: `attr` for every cell).
struct CellRow {
  platform::Grid& grid;
  int row;    // 0-based grid row
  int col;    // 0-based grid column of the first shown column
  int width;  // cells
  std::uint8_t attr;
  std::span<const std::uint8_t> attrs;
};

// Draws the shown columns of `text` into the row; blanks past the text take a
// colour from attrs that differs from the row's.
void drawUtf8(const CellRow& out, std::string_view text, int from, const ShownText& shown);

// The cell of a character: its visible form (U+FFFD for an invalid byte, the
// substitute of a control) and, for a mark with no base (`first`: nothing
// is drawn before it on the row), kMarkBase under it.
platform::Cell glyphCell(const Glyph& glyph, std::uint8_t attr, bool first);

}  // namespace kiv
