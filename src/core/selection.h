// A task's selection: a stream of text, a rectangle of columns or whole
// lines, between two lines the task holds (core/held_range.h). Columns are
// 1-based and inclusive.
#pragma once

#include <optional>

#include "core/held_range.h"

namespace kiv {

class Task;
struct Line;

enum class SelectionMode { Stream, Rectangle, WholeLine };

inline constexpr int kWholeLineEnd = 128000;

struct Selection {
  HeldRange lines;
  // Where a selection made with the keys began (first: its line), and its
  // 1-based column: the end that stays while the other follows the cursor.
  HeldRange anchor;
  int anchorCol = 0;
  SelectionMode mode = SelectionMode::WholeLine;
  int startCol = 1;
  int endCol = kWholeLineEnd;
  bool active() const { return lines.held(); }
};

struct ColumnSpan {
  int start;
  int end;
};

// Replaces the task's selection and has its panel show it.
void setSelection(Task& task, Line* first, Line* last, SelectionMode mode, int startCol,
                  int endCol);
void clearSelection(Task& task);

// The columns of `line` that the selection holds: start to end on a
// rectangle's lines (none on a line shorter than the start column); for a
// stream, from the start column on its first line, the whole of its middle
// lines and up to the end column on its last; whole lines, 1 to 128000.
// Nothing for a line outside the selection or not TEXT. Ends that a move
// put out of order count in file order.
std::optional<ColumnSpan> selectedColumns(Task& task, const Line& line);
// The same for a line known to lie in the selection, first and/or last of
// it or between: no line numbers to look up, for walks over the selection.
std::optional<ColumnSpan> columnsWithin(const Selection& sel, const Line& line, bool first, bool last);

}  // namespace kiv
