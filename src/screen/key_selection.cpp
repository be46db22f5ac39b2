#include "screen/key_selection.h"

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

bool selectWithArrow(Session& s, int rows, int cols) {
  EditPanel* p = currentEditPanel(s);
  if (!p || &topPanel(s) != p) return false;
  Task& task = p->task;
  Place here = cursorPlace(*p);
  if (!here.line) return false;
  if (!task.pendingLines.empty()) {
    message(s, "", "Selection is not allowed when unprocessed line commands are present.");
    return true;
  }
  if (hexViewShown(task)) {
    message(s, "", "Selection by arrow or mouse not allowed in HEX view.\n\nUse Z or ZZ line command to select whole lines.");
    return true;
  }
  Selection& sel = task.selection;
  bool extending = sel.active() && sel.anchor.first && sel.mode == SelectionMode::Stream;
  Place anchor = extending ? Place{sel.anchor.first, sel.anchorCol} : here;
  moveCursor(s, rows, cols);
  Place to = cursorPlace(*p);
  if (!to.line) return true;
  Place a = anchor, b = to;
  long oa = ordinalOf(task, a.line), ob = ordinalOf(task, b.line);
  if (ob < oa || (ob == oa && b.column < a.column)) std::swap(a, b);
  if (a.line == b.line && a.column == b.column) {
    clearSelection(task);
    return true;
  }
  // From the first place up to the character before the second.
  setSelection(task, a.line, b.line, SelectionMode::Stream, a.column, b.column - 1);
  sel.anchor = {anchor.line, anchor.line};
  sel.anchorCol = anchor.column;
  return true;
}

}  // namespace kiv
