#include "commands/column_cells.h"

#include "core/text_columns.h"

namespace kiv {

std::vector<Cell> toCells(std::string_view text) {
  std::vector<Cell> out;
  for (std::size_t i = 0; i < text.size();) {
    Glyph g = glyphAt(text, i);
    std::string_view bytes = text.substr(i, static_cast<std::size_t>(g.bytes));
    i += static_cast<std::size_t>(g.bytes);
    if (g.cells == 0 && !out.empty()) {
      // A combining mark goes with its base character (the first column of
      // a wide one).
      std::size_t base = out.size() - 1;
      if (out[base].second() && base > 0) --base;
      out[base].bytes += bytes;
      continue;
    }
    out.push_back({std::string(bytes), g.cells});
    if (g.cells == 2) out.push_back({});
  }
  return out;
}

std::string cellsText(const std::vector<Cell>& cells) {
  std::string out;
  for (const Cell& c : cells) out += c.bytes;
  return out;
}

Cell padCell(char pad) {
  return {std::string(1, pad), 1};
}

bool isPad(const Cell& c, char pad) {
  return c.bytes.size() == 1 && c.bytes[0] == pad;
}

void repairCells(std::vector<Cell>& cells, char pad) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].cells == 2 && i + 1 < cells.size() && cells[i + 1].second()) {
      ++i;
      continue;
    }
    if (cells[i].cells == 2 || cells[i].second()) cells[i] = padCell(pad);
  }
}

}  // namespace kiv
