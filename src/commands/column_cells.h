// A line of UTF-8 text laid out a column a cell, for the commands that move
// text by columns (shifts, overlays): each cell holds the character that
// begins in it with its combining marks, or marks the second column of the
// wide character before it. Moving cells moves whole characters; a wide
// character split by a move is lost and its remaining column becomes a pad.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

struct Cell {
  std::string bytes;  // empty on a wide character's second column
  int cells = 1;      // 2 on a wide character's first column
  bool second() const { return bytes.empty(); }
};

std::vector<Cell> toCells(std::string_view text);
std::string cellsText(const std::vector<Cell>& cells);
Cell padCell(char pad);
bool isPad(const Cell& c, char pad);
// Turns the halves of wide characters whose other half a move took away
// into pads.
void repairCells(std::vector<Cell>& cells, char pad);

}  // namespace kiv
