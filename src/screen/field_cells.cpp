#include "screen/field_cells.h"

#include <algorithm>

#include "core/text_columns.h"
#include "platform/utf8.h"

namespace kiv {

int fieldCells(char32_t c) {
  return c >= 0x300 && codeCells(c) == 2 ? 2 : 1;
}

std::u32string cellsOf(std::string_view text, int width) {
  auto n = static_cast<std::size_t>(std::max(width, 0));
  std::u32string cells;
  if (asciiPrefix(text) == text.size()) {  // most fields: a byte a cell
    cells.assign(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(n, text.size())));
    cells.resize(n, U' ');
    return cells;
  }
  for (char32_t c : platform::decodeText(text)) {
    if (c == kWideTail) continue;
    bool wide = fieldCells(c) == 2;
    if (cells.size() + (wide ? 2 : 1) > n) break;
    cells.push_back(c);
    if (wide) cells.push_back(kWideTail);
  }
  cells.resize(n, U' ');
  return cells;
}

std::string textOfCells(std::u32string_view cells) {
  std::string out;
  for (char32_t c : cells)
    if (c != kWideTail) platform::appendUtf8(out, c);
  return out;
}

}  // namespace kiv
