// Painting a panel's rows into the grid, object by object.
#include <algorithm>
#include <string>

#include "core/text_columns.h"
#include "platform/utf8.h"
#include "screen/field_cells.h"

#include "screen/panel.h"

namespace kiv {

namespace {

using platform::Cell;
using platform::Grid;

// Content is UTF-8 (a byte that is not as Latin-1), a character a cell.
void putText(Grid& grid, int row, int col, std::u32string_view text, int width, std::uint8_t attr) {
  for (int i = 0; i < width; ++i) {
    char32_t c = i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : U' ';
    grid.set(row - 1, col - 1 + i, Cell{c < 0x20 || c == 0x7F ? U'.' : c, attr});
  }
}

// ASCII content, a byte a cell: most fields, drawn without decoding.
void putBytes(Grid& grid, int row, int col, std::string_view text, int width, std::uint8_t attr) {
  for (int i = 0; i < width; ++i) {
    auto c = i < static_cast<int>(text.size()) ? static_cast<char32_t>(text[static_cast<std::size_t>(i)]) : U' ';
    grid.set(row - 1, col - 1 + i, Cell{c < 0x20 || c == 0x7F ? U'.' : c, attr});
  }
}

// A field's cells: a wide character whole where both its cells are shown,
// a placeholder for a half.
void putCells(Grid& grid, int row, int col, std::u32string_view cells, int width, std::uint8_t attr) {
  for (int i = 0; i < width; ++i) {
    auto at = static_cast<std::size_t>(i);
    char32_t c = at < cells.size() ? cells[at] : U' ';
    bool whole = at + 1 < cells.size() && cells[at + 1] == kWideTail && i + 1 < width;
    if (whole) {
      grid.setWide(row - 1, col - 1 + i++, c, attr);
      continue;
    }
    if (c == kWideTail || (at + 1 < cells.size() && cells[at + 1] == kWideTail)) c = platform::kCutWide;
    grid.set(row - 1, col - 1 + i, Cell{c < 0x20 || c == 0x7F ? U'.' : c, attr});
  }
}

void paintObject(Panel& p, const ScreenObject& o, Grid& grid, const ColourScheme& scheme) {
  switch (o.type) {
    case ObjectType::EditLine:
      p.drawEditLine(o, grid, scheme);
      return;
    case ObjectType::InputCheckbox:
      putText(grid, o.row, o.col, o.content.starts_with("1") ? U"[X]" : U"[ ]",
              std::min(o.displayWidth, 3), o.attr());
      return;
    default:
      break;
  }
  auto first = static_cast<std::size_t>(std::max(o.firstShown, 0));
  if (asciiPrefix(o.content) == o.content.size()) {
    std::string_view shown = first < o.content.size() ? std::string_view(o.content).substr(first) : "";
    putBytes(grid, o.row, o.col, shown, std::max(o.textCells(), 0), o.attr());
  } else {
    std::u32string content = cellsOf(o.content, o.contentWidth);
    std::u32string_view shown = first < content.size() ? std::u32string_view(content).substr(first) : U"";
    putCells(grid, o.row, o.col, shown, std::max(o.textCells(), 0), o.attr());
  }
  if (o.type == ObjectType::Choice && o.displayWidth >= 2)
    putText(grid, o.row, o.col + o.displayWidth - 2, U" v", 2, o.attr());
}

}  // namespace

void Panel::drawScroll(const ScreenObject& o, Grid& grid, const ColourScheme& scheme) {
  std::uint8_t attr = scheme.attr(Element::FieldbarLine);
  for (int i = 0; i < o.contentWidth; ++i)
    grid.set(o.row - 1 + i, o.col - 1, Cell{U'\u2502', attr});
}

void paintPanel(Panel& p, Grid& grid, const ColourScheme& scheme) {
  if (grid.rows() != p.rows || grid.cols() != p.cols) {
    grid.resize(p.rows, p.cols);
    p.markAllDirty();
  }
  Cell blank{U' ', scheme.attr(Element::VoidArea)};
  for (int r = 1; r <= p.rows; ++r) {
    if (!p.dirty(r)) continue;
    grid.fillRow(r - 1, blank);
    for (const auto& o : p.objects[static_cast<std::size_t>(r - 1)])
      paintObject(p, *o, grid, scheme);
  }
  const ScreenObject* s = p.scroll.get();
  if (s) {
    bool any = false;
    for (int r = s->row; r < s->row + s->contentWidth; ++r) any = any || p.dirty(r);
    if (any) p.drawScroll(*s, grid, scheme);
  }
  for (int r = 1; r <= p.rows; ++r) p.clearDirty(r);
}

}  // namespace kiv
