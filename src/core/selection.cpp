#include "core/selection.h"

#include <utility>

#include "core/line_ops.h"
#include "core/task.h"

namespace kiv {

namespace {

void showChange(Task& task) {
  if (task.view) task.view->lineChanged(nullptr, true);  // every row it colours is painted again
}

}  // namespace

void setSelection(Task& task, Line* first, Line* last, SelectionMode mode, int startCol,
                  int endCol) {
  Selection next;
  next.lines = {first, last};
  next.mode = mode;
  next.startCol = startCol;
  next.endCol = endCol;
  task.selection = next;
  showChange(task);
}

void clearSelection(Task& task) {
  if (!task.selection.active()) return;
  task.selection = Selection{};
  showChange(task);
}

std::optional<ColumnSpan> selectedColumns(Task& task, const Line& line) {
  const Selection& sel = task.selection;
  if (!sel.active() || !line.is(LineKind::Text)) return std::nullopt;
  Line* first = sel.lines.first;
  Line* last = sel.lines.last;
  long at = ordinalOf(task, &line);
  long from = ordinalOf(task, first), to = ordinalOf(task, last);
  if (from > to) {
    std::swap(from, to);
    std::swap(first, last);
  }
  if (at < from || at > to) return std::nullopt;
  return columnsWithin(sel, line, &line == first, &line == last);
}

std::optional<ColumnSpan> columnsWithin(const Selection& sel, const Line& line, bool first, bool last) {
  if (!line.is(LineKind::Text)) return std::nullopt;
  switch (sel.mode) {
    case SelectionMode::WholeLine:
      return ColumnSpan{1, kWholeLineEnd};
    case SelectionMode::Rectangle:
      if (line.length() < sel.startCol) return std::nullopt;
      return ColumnSpan{sel.startCol, sel.endCol};
    case SelectionMode::Stream:
      return ColumnSpan{first ? sel.startCol : 1, last ? sel.endCol : kWholeLineEnd};
  }
  return std::nullopt;
}

}  // namespace kiv
