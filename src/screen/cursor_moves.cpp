#include "screen/cursor_moves.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/file_profile.h"
#include "core/line.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "screen/edit_panel.h"
#include "screen/key_router.h"
#include "screen/screen_state.h"
#include "screen/scroll.h"

namespace kiv {

namespace {

using Stop = std::pair<int, int>;  // row, column

// The first cell of every field the cursor can tab to, in screen order.
std::vector<Stop> tabStops(Panel& p) {
  std::vector<Stop> stops;
  auto* e = dynamic_cast<EditPanel*>(&p);
  for (int r = 1; r <= p.rows; ++r) {
    for (const auto& o : p.objects[static_cast<std::size_t>(r - 1)]) {
      if (o->typeable()) stops.emplace_back(r, o->col);
      if (o->type != ObjectType::EditLine || !e || !e->lineAtRow(r)) continue;
      if (e->prefixWidth() > 0) stops.emplace_back(r, 1);
      if (e->lineAtRow(r)->is(LineKind::Text)) stops.emplace_back(r, e->prefixWidth() + 1);
    }
  }
  return stops;
}

// Columns from the caret's to the next character's: 2 on a wide character
// that the right edge of a UTF-8 task's data cuts, else 1.
int columnsToNext(EditPanel& e) {
  const Line* line = e.lineAtRow(e.cursorRow);
  if (!line || !utf8Task(e.task)) return 1;
  std::string_view text = line->text();
  int column = e.displayOffset() + e.cursorCol - e.prefixWidth();
  TextColumns columns(true);
  std::size_t at = columns.byteOf(text, column);
  if (at >= text.size()) return 1;
  return std::max(columns.columnOf(text, at) + glyphAt(text, at).cells - column, 1);
}

bool atEdgeScroll(EditPanel& e, int dr, int dc) {
  Task& t = e.task;
  bool v = t.settings.scrollVWhenCursAtEdge != "FALSE";
  bool h = t.settings.scrollHWhenCursAtEdge != "FALSE";
  int first = e.firstDataRow, last = e.firstDataRow + e.dataRows - 1;
  if (e.dataIndex(e.cursorRow) < 0) return false;
  if (v && dr < 0 && e.cursorRow == first && t.topLine && t.topLine->prev)
    return scrollLines(e, -1), true;
  if (v && dr > 0 && e.cursorRow == last && e.lineAtRow(last) && e.lineAtRow(last)->next)
    return scrollLines(e, 1), true;
  int dataStart = e.prefixWidth() + 1;
  if (h && dc < 0 && e.cursorCol == dataStart && t.displayOffset > 0)
    return scrollColumns(e, -1), true;
  if (h && dc > 0 && e.cursorCol == e.editLineWidth() && t.displayOffset < maxDisplayOffset(e))
    return scrollColumns(e, columnsToNext(e)), true;
  return false;
}

}  // namespace

bool onWideRightHalf(EditPanel& e, int row, int col) {
  int dataCol = col - e.prefixWidth();
  if (dataCol < 2 || dataCol > e.dataWidth() || !utf8Task(e.task)) return false;
  const Line* line = e.lineAtRow(row);
  if (!line || line->is(LineKind::Tof) || line->is(LineKind::Bof) || line->is(LineKind::Cols) ||
      line->is(LineKind::Excluded))
    return false;
  std::string_view text = line->text();
  int column = e.displayOffset() + dataCol;
  TextColumns columns(true);
  std::size_t at = columns.byteOf(text, column);
  return at < text.size() && columns.columnOf(text, at) < column;
}

void keepCaretOnCharacter(EditPanel& e) {
  if (onWideRightHalf(e, e.cursorRow, e.cursorCol)) setCursor(e, e.cursorRow, e.cursorCol - 1);
}

namespace {

// An arrow in the data of a UTF-8 task: a step onto a wide character's
// right half goes on to the next character (right) or back to its left
// half. Past the last data cell the data scroll when the task says so;
// otherwise the caret stays.
void stepOverHalves(EditPanel& e, int row, int col, int dc) {
  if (!onWideRightHalf(e, row, col)) return setCursor(e, row, col);
  if (dc <= 0) return setCursor(e, row, col - 1);
  if (col < e.editLineWidth()) return setCursor(e, row, col + 1);
  if (e.task.settings.scrollHWhenCursAtEdge == "FALSE") return;
  scrollColumns(e, 1);
  setCursor(e, row, col);
}

}  // namespace

void moveCursor(Session& s, int dr, int dc) {
  Panel& p = topPanel(s);
  auto* e = dynamic_cast<EditPanel*>(&p);
  if (e && atEdgeScroll(*e, dr, dc)) return;
  if (e) return stepOverHalves(*e, p.cursorRow + dr, p.cursorCol + dc, dc);
  setCursor(p, p.cursorRow + dr, p.cursorCol + dc);
}

namespace {

// Tab in the data of an edit row whose profile has tab stops: the next stop
// right of the cursor on the same row; false when there is none.
bool tabToStop(Session& s) {
  EditPanel* p = currentEditPanel(s);
  if (!p || &topPanel(s) != p || !p->task.profile || p->dataIndex(p->cursorRow) < 0) return false;
  int cell = p->cursorCol - 1 - p->prefixWidth();
  if (cell < 0) return false;
  int column = p->displayOffset() + cell + 1;  // 1-based data column
  for (int stop : p->task.profile->stops()) {
    int to = stop - p->displayOffset();
    if (stop > column && to <= p->dataWidth()) {
      setCursor(*p, p->cursorRow, p->prefixWidth() + to);
      return true;
    }
  }
  return false;
}

}  // namespace

void tabToField(Session& s, bool backward) {
  if (!backward && tabToStop(s)) return;
  Panel& p = topPanel(s);
  std::vector<Stop> stops = tabStops(p);
  if (stops.empty()) return;
  Stop here{p.cursorRow, p.cursorCol};
  Stop to = backward ? stops.back() : stops.front();
  if (backward) {
    for (auto it = stops.rbegin(); it != stops.rend(); ++it)
      if (*it < here) {
        to = *it;
        break;
      }
  } else {
    for (const Stop& st : stops)
      if (st > here) {
        to = st;
        break;
      }
  }
  setCursor(p, to.first, to.second);
}

void homeCursor(Session& s) {
  Panel& p = topPanel(s);
  if (ScreenObject* f = findObject(p, "PCMDINFIELD"))
    setCursor(p, f->row, f->col);
  else
    setCursor(p, 1, 1);
}

void carriageReturn(Session& s) {
  Panel& p = topPanel(s);
  auto* e = dynamic_cast<EditPanel*>(&p);
  if (!e || e->dataRows == 0) {
    setCursor(p, p.cursorRow < p.rows ? p.cursorRow + 1 : 1, 1);
    return;
  }
  int last = e->firstDataRow + e->dataRows - 1;
  if (e->cursorRow < e->firstDataRow) return setCursor(p, e->firstDataRow, 1);
  if (e->cursorRow < last) return setCursor(p, e->cursorRow + 1, 1);
  if (e->cursorRow > last) return homeCursor(s);  // the message or a PF-key row
  bool scroll = setting(s, "ZEDIT.SCROLL.V.WHENENTERATBOT", "TRUE") == "TRUE";
  Line* bottom = e->lineAtRow(last);
  if (scroll && bottom && bottom->next) {
    scrollLines(*e, 1);
    setCursor(p, last, 1);
  } else {
    homeCursor(s);
  }
}

}  // namespace kiv
