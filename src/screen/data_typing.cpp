#include "screen/data_typing.h"

#include <algorithm>
#include <string>

#include "core/char_editing.h"
#include "core/edit_step.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/format.h"
#include "services/messages.h"

namespace kiv {

namespace {

// Where the cursor stands on a data row.
struct RowSpot {
  Line* line = nullptr;
  bool prefix = false;
  int index = 0;  // into the line-command field, or data column - 1
};

RowSpot spotAtCursor(EditPanel& p) {
  RowSpot s;
  s.line = p.lineAtRow(p.cursorRow);
  int cell = p.cursorCol - 1;  // 0-based cell in the EDITLINE
  int w = p.prefixWidth();
  s.prefix = cell < w;
  s.index = s.prefix ? cell : p.displayOffset() + cell - w;
  return s;
}

bool refuse(EditPanel& p, std::string_view id, std::string_view text) {
  message(p.session, id, text);
  return false;
}

// The line-command field of hex view rows and hex notes takes nothing.
bool prefixProtected(const Line* line) {
  return isHexViewLine(line) || line->has(LineFlag::HexHighNote) || line->has(LineFlag::HexLowNote);
}

void typeIntoPrefix(EditPanel& p, const RowSpot& s, char c) {
  std::string field(s.line->hasPendingCommand() ? s.line->lineCommand() : kBlankField);
  if (s.index < static_cast<int>(field.size()))
    field[static_cast<std::size_t>(s.index)] = c;
  setLineCommand(p.task, s.line, field);
  p.markDirty(p.cursorRow, 1);
}

// Typing that fills a row of an open text-entry area goes on at the area's
// margin on the next row, so that a paragraph can be typed without stopping.
bool goOnInTextEntry(EditPanel& p, Line* line) {
  const TextEntryArea& area = p.task.textEntry;
  if (!area.lines.held() || !line->inserted() || line == area.lines.last) return false;
  int next = p.cursorRow + 1;
  if (p.dataIndex(next) < 0 || !p.lineAtRow(next) || !p.lineAtRow(next)->inserted()) return false;
  int column = std::clamp(area.left - p.displayOffset(), 1, p.dataWidth());
  setCursor(p, next, p.prefixWidth() + column);
  return true;
}

// The row that shows `line`, the data scrolled down a row when the line
// (made by a word wrap) is just below the screen; -1 when it is not shown.
int rowShowing(EditPanel& p, Line* line) {
  for (int pass = 0; pass < 2; ++pass) {
    for (int row = p.firstDataRow; row < p.firstDataRow + p.dataRows; ++row)
      if (p.lineAtRow(row) == line) return row;
    if (pass == 0 && p.task.topLine && p.task.topLine->next) {
      p.task.topLine = p.task.topLine->next;
      p.refreshData();
    }
  }
  return -1;
}

// After an edit: the cursor to the result's line and column, kept within
// the row (the last cell at the right edge).
void follow(EditPanel& p, const EditResult& r, Line* from) {
  int row = r.line == from ? p.cursorRow : rowShowing(p, r.line);
  if (row < 0) return;
  int cell = p.prefixWidth() + r.column - p.displayOffset() + 1;
  if (cell > p.editLineWidth() && r.line == from && goOnInTextEntry(p, from)) return;
  setCursor(p, row, std::clamp(cell, p.prefixWidth() + 1, p.editLineWidth()));
}

CharacterEditing* editing(EditPanel& p) {
  return p.session.findFeature<CharacterEditing>();
}

// The typed changes are one step until Enter or a command; undo puts the
// cursor back in the column where typing began.
void startEdit(EditPanel& p, const RowSpot& s) {
  beginTyping(p.task);
  p.task.editColumn = s.index + 1;
}

}  // namespace

bool typeIntoDataRow(EditPanel& p, char32_t c) {
  RowSpot s = spotAtCursor(p);
  if (!s.line) return refuse(p, "DLM135", "PROTECTED");
  if (s.prefix) {
    if (prefixProtected(s.line)) return refuse(p, "DLM135", "PROTECTED");
    // Line commands are single bytes.
    if (c > 0xFF) return refuse(p, "", format(kNotTypeable, static_cast<int>(c)));
    typeIntoPrefix(p, s, static_cast<char>(c));
    if (p.cursorCol < p.editLineWidth()) setCursor(p, p.cursorRow, p.cursorCol + 1);
    return true;
  }
  CharacterEditing* edit = editing(p);
  if (!edit || s.line->is(LineKind::Tof) || s.line->is(LineKind::Bof)) return refuse(p, "DLM135", "PROTECTED");
  startEdit(p, s);
  EditResult r = edit->type(p.task, s.line, s.index, c, screenState(p.session).insertMode);
  if (r.ok) follow(p, r, s.line);
  return r.ok;
}

void deleteInDataRow(EditPanel& p, bool before) {
  RowSpot s = spotAtCursor(p);
  if (!s.line) return;
  if (s.prefix) {
    if (before) {
      if (p.cursorCol <= 1) return;
      setCursor(p, p.cursorRow, p.cursorCol - 1);
      s = spotAtCursor(p);
    }
    std::string field(s.line->lineCommand());
    field.erase(static_cast<std::size_t>(std::min(s.index, static_cast<int>(field.size()) - 1)), 1);
    setLineCommand(p.task, s.line, field);
    p.markDirty(p.cursorRow, 1);
    return;
  }
  CharacterEditing* edit = editing(p);
  if (!edit) return;
  startEdit(p, s);
  bool insert = screenState(p.session).insertMode;
  EditResult r = before ? edit->backspace(p.task, s.line, s.index, insert) : edit->erase(p.task, s.line, s.index);
  if (r.ok) follow(p, r, s.line);
}

void eraseDataRowToEnd(EditPanel& p) {
  RowSpot s = spotAtCursor(p);
  if (!s.line) return;
  if (s.prefix) {
    std::string field(s.line->lineCommand());
    std::fill(field.begin() + std::min<std::ptrdiff_t>(s.index, 9), field.end(), ' ');
    setLineCommand(p.task, s.line, field);
    p.markDirty(p.cursorRow, 1);
    return;
  }
  if (CharacterEditing* edit = editing(p)) {
    startEdit(p, s);
    edit->eraseToEnd(p.task, s.line, s.index);
  }
}

}  // namespace kiv
