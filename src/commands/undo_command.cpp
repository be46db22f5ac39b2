#include "commands/undo_command.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "commands/command_task.h"
#include "commands/locate_command.h"
#include "commands/reset_command.h"
#include "core/edit_step.h"
#include "core/excluded.h"
#include "core/hex_view.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/undo_journal.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kEmpty = "journal empty or UNDO is disabled.";

// Where the cursor goes after a step: the line typing began on, in its column.
struct CursorBack {
  Line* line = nullptr;
  int column = 0;
};

// An inserted line leaves with its hex view rows.
void removeInserted(Task& task, Line* line) {
  Line* last = line;
  while (last->next && isHexViewLine(last->next)) last = last->next;
  deleteLines(task, line, last, true);
}

// A deleted line goes back before the line that followed it; when that one
// is hidden, the excluded lines are shown first.
void restoreDeleted(Task& task, Line* line, Line* position, bool& reset) {
  if (position && hiddenLine(task, position) && !reset) {
    resetExcludedLines(task);
    message(task.session, "UNDO07", "Excluded lines reset by UNDO");
    reset = true;
  }
  linkLineBefore(task, position, line);
  noteModified(task, true);
  if (hexViewShown(task)) insertHexLinesAfter(task, line);
}

void replay(Task& task, const UndoRecord& r, std::string_view text, bool& reset, CursorBack& cursor) {
  switch (r.type) {
    case UndoType::Changed:
      if (r.line->kind() != r.kind) setLineKind(task, r.line, r.kind);
      setLineText(task, r.line, text);
      setLineFlag(task, r.line, LineFlag::Changed, r.changedMark);
      noteModified(task, true);
      if (r.column > 0) cursor = {r.line, r.column};
      return;
    case UndoType::Inserted:
      removeInserted(task, r.line);
      return;
    case UndoType::Deleted:
      restoreDeleted(task, r.line, r.other, reset);
      return;
    case UndoType::Moved:
      moveLines(task, r.line, r.other, r.position);
      noteModified(task, true);
      return;
    case UndoType::Reordered: {  // the lines given go back to their places
      std::size_t n = text.size() / sizeof(Line*) / 2;
      std::vector<Line*> places(n), order(n);
      std::memcpy(places.data(), text.data(), n * sizeof(Line*));
      std::memcpy(order.data(), text.data() + n * sizeof(Line*), n * sizeof(Line*));
      reorderLines(task, order, places);
      return;
    }
  }
}

void placeCursor(Task& task, const CursorBack& back) {
  EditPanel* panel = currentEditPanel(task.session);
  if (!panel || &panel->task != &task) return;
  panel->refreshData();
  if (!back.line || !back.line->shown()) return;
  int row = -1;
  for (int r = panel->firstDataRow; r < panel->firstDataRow + panel->dataRows; ++r)
    if (panel->lineAtRow(r) == back.line) row = r;
  if (row < 0) return;
  setCursor(*panel, row, panel->prefixWidth() + 1);
  putCursorInColumn(*panel, back.column, panel->prefixWidth());
}

// "5", "ALL" or nothing: how many steps; -1 for anything else.
long stepCount(std::string_view word) {
  if (word.empty()) return 1;
  if (word == "ALL") return LONG_MAX;
  if (word.size() > 9 || word.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  return std::max(std::stol(std::string(word)), 1L);
}

std::string firstWord(const CommandContext& ctx) {
  std::string w(ctx.paramsUpper);
  w.erase(0, std::min(w.size(), w.find_first_not_of(' ')));
  return w.substr(0, w.find(' '));
}

// Undo on or off for the session; off empties the journal.
void switchUndo(Session& s, Task* task, bool on) {
  varSet(s, "ZEDIT.UNDO", on ? "TRUE" : "FALSE");
  if (!on && task) clearUndo(*task);
}

// Undoes or redoes up to `count` steps; false when there was none.
bool replaySteps(Task& task, long count, bool redo) {
  bool any = false;
  for (long i = 0; i < count && undoStep(task, redo); ++i) any = true;
  return any;
}

}  // namespace

bool undoStep(Task& task, bool redo) {
  UndoJournal& j = task.journal;
  cutUndoStep(task);  // what was typed is a step of its own
  UndoStack& from = redo ? j.redo : j.undo;
  if (from.empty()) return false;
  j.mode = redo ? UndoMode::Redoing : UndoMode::Undoing;
  std::uint32_t step = from.topStep();
  bool reset = false;
  CursorBack cursor;
  while (!from.empty() && from.topStep() == step) {
    UndoRecord r = from.top();
    std::string text(from.textOf(r));
    from.pop();  // a deleted line is ours now: it goes back into the store
    replay(task, r, text, reset, cursor);
  }
  cutUndoStep(task);
  j.mode = UndoMode::Recording;
  placeCursor(task, cursor);
  return true;
}

void undoCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  std::string word = firstWord(ctx);
  if (word == "ON" || word == "OFF") return switchUndo(s, task, word == "ON");
  if (word == "TOGGLE") return switchUndo(s, task, varGet(s, "ZEDIT.UNDO") == "FALSE");
  if (!task) return;
  if (word == "CLEAR") return clearUndo(*task);
  long count = stepCount(word);
  if (count < 0) return message(s, "UNDO5", "invalid parameter");
  if (varGet(s, "ZEDIT.UNDO") == "FALSE" || !replaySteps(*task, count, false)) message(s, "UNDO10", kEmpty);
}

void redoCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  long count = stepCount(firstWord(ctx));
  if (count < 0) return message(ctx.session, "", "REDO: invalid parameter, use a number or ALL.");
  if (!replaySteps(*task, count, true)) message(ctx.session, "", "Nothing to redo.");
}

}  // namespace kiv
