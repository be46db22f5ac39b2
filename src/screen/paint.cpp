// Painting a panel's rows into the grid, object by object.
#include <algorithm>

#include "screen/panel.h"

namespace kiv {

namespace {

using platform::Cell;
using platform::Grid;

// Content bytes are Latin-1 here: fields hold what the user typed.
void putText(Grid& grid, int row, int col, std::string_view text, int width, std::uint8_t attr) {
  for (int i = 0; i < width; ++i) {
    unsigned char c = i < static_cast<int>(text.size())
                          ? static_cast<unsigned char>(text[static_cast<std::size_t>(i)])
                          : ' ';
    grid.set(row - 1, col - 1 + i, Cell{c < 0x20 || c == 0x7F ? U'.' : char32_t(c), attr});
  }
}

void paintObject(Panel& p, const ScreenObject& o, Grid& grid, const ColourScheme& scheme) {
  switch (o.type) {
    case ObjectType::EditLine:
      p.drawEditLine(o, grid, scheme);
      return;
    case ObjectType::InputCheckbox:
      putText(grid, o.row, o.col, o.content.starts_with("1") ? "[X]" : "[ ]",
              std::min(o.displayWidth, 3), o.attr());
      return;
    default:
      break;
  }
  std::string_view content = o.content;
  std::string_view shown = o.firstShown < static_cast<int>(content.size())
                               ? content.substr(static_cast<std::size_t>(o.firstShown))
                               : "";
  int cells = std::max(o.textCells(), 0);
  putText(grid, o.row, o.col, shown, cells, o.attr());
  if (o.type == ObjectType::Choice && o.displayWidth >= 2)
    putText(grid, o.row, o.col + o.displayWidth - 2, " v", 2, o.attr());
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
