#include "screen/utf8_cells.h"

#include "platform/display_charset.h"

namespace kiv {

using platform::Cell;

ShownText shownText(std::string_view text, int from) {
  TextColumns columns(true);
  ShownText s;
  s.first = from == 0 ? 0 : columns.byteOf(text, from + 1);
  s.column = from == 0 || s.first >= text.size() ? from + 1 : columns.columnOf(text, s.first);
  return s;
}

std::size_t shownEnd(std::string_view text, int from, int width) {
  std::size_t last = TextColumns(true).byteOf(text, from + width);
  return last < text.size() ? last + static_cast<std::size_t>(glyphAt(text, last).bytes) : last + 1;
}

Cell glyphCell(const Glyph& glyph, std::uint8_t attr, bool first) {
  char32_t code = glyph.code;
  if (glyph.invalid) return Cell{U'\uFFFD', attr};
  if (code < 0x20 || (code >= 0x7F && code < 0xA0))
    return Cell{platform::controlSubstitute(static_cast<unsigned char>(code)), attr};
  if (first && code >= 0x300 && codeCells(code) == 0) {  // a mark that begins the text
    Cell cell{platform::kMarkBase, attr};
    cell.addMark(code);
    return cell;
  }
  return Cell{code, attr};
}

void drawUtf8(const CellRow& out, std::string_view text, int from, const ShownText& shown) {
  int right = from + out.width;  // the last shown column
  auto attrAt = [&](std::size_t byte) {
    std::size_t i = byte - shown.first;
    return i < out.attrs.size() ? out.attrs[i] : out.attr;
  };
  auto cellOf = [&](int column) { return out.col + column - from - 1; };
  int column = shown.column;
  int based = -1;  // grid column of the character a following mark joins
  std::size_t at = shown.first;
  while (at < text.size()) {
    Glyph g = glyphAt(text, at);
    if (g.cells > 0 && column > right) break;
    std::uint8_t attr = attrAt(at);
    if (g.cells == 0 && based >= 0) {
      Cell cell = out.grid.at(out.row, based);
      cell.addMark(g.code);
      out.grid.set(out.row, based, cell);
    } else if (g.cells == 2 && (column == from || column == right)) {
      out.grid.set(out.row, cellOf(column == from ? from + 1 : right),
                   Cell{platform::kCutWide, attr});
      based = -1;  // its marks are not shown either
    } else if (g.cells == 2) {
      out.grid.setWide(out.row, cellOf(column), g.code, attr);
      based = cellOf(column);
    } else if (g.cells == 1) {
      out.grid.set(out.row, cellOf(column), glyphCell(g, attr, based < 0));
      based = cellOf(column);
    }
    column += g.cells;
    at += static_cast<std::size_t>(g.bytes);
  }
  // Past the text an overlay may still colour the row (a whole-line selection).
  for (; column <= right; ++column, ++at)
    if (attrAt(at) != out.attr) out.grid.set(out.row, cellOf(column), Cell{U' ', attrAt(at)});
}

}  // namespace kiv
