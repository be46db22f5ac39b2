// The screen as plain data: a grid of cells, each a code point and a colour
// attribute (foreground colour number in the high four bits, background in
// the low four, both indexing the 16-entry palette). A wide character takes
// its cell and the next one, which continues it; combining marks ride on the
// cell of their base character. Knows nothing of the terminal; the platform
// draws grids.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kiv::platform {

struct Cell {
  char32_t ch = U' ';
  std::uint8_t attr = 0x70;  // light grey on black in the default palette
  // Cells the character takes: 1; 2 for a wide character, whose right half
  // is the next cell; 0 for that right half (its ch is not drawn).
  std::uint8_t width = 1;
  // The combining marks drawn over ch, as an index into a table of the
  // pairs met so far (0: none), so that a cell stays eight bytes: grids are
  // copied and compared on every paint.
  std::uint16_t markSet = 0;

  // The marks in order; 0: none. A third is not shown.
  std::array<char32_t, 2> marks() const;
  void addMark(char32_t mark);
  bool operator==(const Cell&) const = default;
};

// Shown in the cell of a wide character's half whose other half is not on
// the screen (cut by the edge of an area, or overwritten).
inline constexpr char32_t kCutWide = U'\u2591';
// The base a combining mark is drawn on when it has none.
inline constexpr char32_t kMarkBase = U'\u25CC';

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The largest screen the program lays out; a larger terminal shows it in
// its top left corner.
inline constexpr int kMaxScreenRows = 200;
inline constexpr int kMaxScreenCols = 399;

// A terminal size as the program sees it: 1..200 rows, 1..399 columns.
inline int clampRows(int rows) { return std::clamp(rows, 1, kMaxScreenRows); }
inline int clampCols(int cols) { return std::clamp(cols, 1, kMaxScreenCols); }

// The 16 colours the attribute bytes index.
using Palette = std::array<Rgb, 16>;

class Grid {
 public:
  Grid() = default;
  Grid(int rows, int cols) { resize(rows, cols); }

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  void resize(int rows, int cols);

  // 0-based row and column; positions outside the grid are ignored / blank.
  Cell at(int row, int col) const;
  void set(int row, int col, Cell cell);
  // A wide character at (row, col) and its right half at col + 1; kCutWide
  // in its one cell when col + 1 is outside the grid.
  void setWide(int row, int col, char32_t ch, std::uint8_t attr);
  // The cell as it is drawn: a half of a wide character whose other half
  // is gone shows kCutWide.
  Cell shown(int row, int col) const;
  // Writes text (one code point a byte, Latin-1) from (row, col), clipped.
  void put(int row, int col, std::string_view text, std::uint8_t attr);
  void fillRow(int row, Cell cell);
  bool rowEquals(const Grid& other, int row) const;

 private:
  int rows_ = 0;
  int cols_ = 0;
  std::vector<Cell> cells_;
};

}  // namespace kiv::platform
