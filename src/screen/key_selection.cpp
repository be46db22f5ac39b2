#include "screen/key_selection.h"

#include <algorithm>
#include <utility>

#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "core/task.h"
#include "screen/cursor_moves.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

// A place in the data: a TEXT line and a 1-based column.
struct Place {
  Line* line = nullptr;
  int column = 0;
};

Place cursorPlace(EditPanel& p) {
  if (p.dataIndex(p.cursorRow) < 0) return {};
  Line* line = p.lineAtRow(p.cursorRow);
  int cell = p.cursorCol - p.prefixWidth();
  if (!line || !line->is(LineKind::Text) || cell < 1) return {};
  return {line, p.displayOffset() + cell};
}

}  // namespace

namespace {

// Selection by keys or mouse is refused while line commands wait and in hex view.
bool selectionRefused(Session& s, Task& task) {
  if (!task.pendingLines.empty()) {
    message(s, "", "Selection is not allowed when unprocessed line commands are present.");
    return true;
  }
  if (hexViewShown(task)) {
    message(s, "", "Selection by arrow or mouse not allowed in HEX view.\n\nUse Z or ZZ line command to select whole lines.");
    return true;
  }
  return false;
}

// The selection from the anchor to a place: a stream up to the character
// before it (keys) or through it (mouse), or the rectangle they span.
void stretch(Task& task, Place anchor, Place to, bool throughTo, bool rectangle) {
  Place a = anchor, b = to;
  long oa = ordinalOf(task, a.line), ob = ordinalOf(task, b.line);
  if (ob < oa || (ob == oa && b.column < a.column)) std::swap(a, b);
  if (rectangle) {
    setSelection(task, a.line, b.line, SelectionMode::Rectangle, std::min(anchor.column, to.column),
                 std::max(anchor.column, to.column));
  } else if (!throughTo && a.line == b.line && a.column == b.column) {
    clearSelection(task);
  } else {
    setSelection(task, a.line, b.line, SelectionMode::Stream, a.column, throughTo ? b.column : b.column - 1);
  }
  task.selection.anchor = {anchor.line, anchor.line};
  task.selection.anchorCol = anchor.column;
}

}  // namespace

bool selectWithArrow(Session& s, int rows, int cols, bool rectangle) {
  EditPanel* p = currentEditPanel(s);
  if (!p || &topPanel(s) != p) return false;
  Task& task = p->task;
  Place here = cursorPlace(*p);
  if (!here.line) return false;
  if (selectionRefused(s, task)) return true;
  Selection& sel = task.selection;
  bool extending = sel.active() && sel.anchor.first && sel.mode != SelectionMode::WholeLine;
  Place anchor = extending ? Place{sel.anchor.first, sel.anchorCol} : here;
  moveCursor(s, rows, cols);
  Place to = cursorPlace(*p);
  if (to.line) stretch(task, anchor, to, false, rectangle);
  return true;
}

bool mouseSelect(Session& s, bool drag, bool rectangle) {
  EditPanel* p = currentEditPanel(s);
  if (!p || &topPanel(s) != p) return false;
  Task& task = p->task;
  Place here = cursorPlace(*p);
  if (!here.line) return false;
  if (!drag) {  // a press: where a drag would start
    task.selection.anchor = {here.line, here.line};
    task.selection.anchorCol = here.column;
    return true;
  }
  if (!task.selection.anchor.first) return false;
  if (selectionRefused(s, task)) return true;
  stretch(task, Place{task.selection.anchor.first, task.selection.anchorCol}, here, true, rectangle);
  return true;
}

}  // namespace kiv
