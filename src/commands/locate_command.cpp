#include "commands/locate_command.h"

#include <algorithm>
#include <string>

#include "commands/command_split.h"
#include "commands/labels.h"
#include "commands/locate_kinds.h"
#include "core/excluded.h"
#include "core/line.h"
#include "services/var_pool.h"
#include "core/task.h"
#include "core/file_load.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "screen/edit_panel.h"
#include "screen/panel.h"
#include "screen/screen_state.h"
#include "screen/scroll.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kNoTask = "%s requires an open Edit/Browse/View.";
constexpr std::string_view kNoDialog =
    "LOCATE without a parameter opens the locate dialog, which is not available yet.\n\n"
    "Use LOCATE with a line number, optionally followed by a column:  LOCATE 120 8";
constexpr std::string_view kNoLabel = "Label '%s' not found.";
constexpr std::string_view kInvalid = "LOCATE, invalid parameter:\n\n%s";
constexpr std::string_view kBadColumn = "LOCATE, invalid col number.";
constexpr std::string_view kColumnTooBig = "LOCATE, col number greater than maximum record length.";

// "n", "n col", "n,col": the words of a LOCATE parameter.
struct LocateWords {
  std::string_view target;
  std::string_view column;
  std::string_view extra;  // anything after the column
};

LocateWords splitLocate(std::string_view p) {
  LocateWords w;
  std::size_t end = p.find_first_of(" ,");
  w.target = p.substr(0, end);
  if (end == std::string_view::npos) return w;
  std::string_view rest = skipBlanks(p.substr(end));
  if (rest.starts_with(',')) rest = skipBlanks(rest.substr(1));
  w.column = firstWord(rest);
  w.extra = afterFirstWord(rest);
  return w;
}

// The line LOCATE .label or LOCATE keyword goes to; null after the message
// that says none was found.
Line* lineByWord(Session& s, EditPanel& panel, std::string_view word, const LocateKind* kind) {
  Line* line =
      kind ? nextOfKind(panel.task, panel.currentLine(), *kind) : lineByLabel(panel.task, word);
  if (line) return line;
  if (kind)
    message(s, kind->id, kind->notFound);
  else
    messagef(s, "", kNoLabel, word);
  return nullptr;
}

// LOCATE .label and LOCATE keyword; false when the word is neither.
bool locateByWord(Session& s, EditPanel& panel, std::string_view word) {
  std::string upper = toUpper(word);
  bool label = upper.starts_with('.') && upper.size() > 1;
  const LocateKind* kind = label ? nullptr : locateKindOf(upper);
  if (!label && !kind) return false;
  if (Line* line = lineByWord(s, panel, word, kind)) showLineAtTop(panel, line);
  return true;
}

// The n-th TEXT line; the last one when there are fewer, null when none.
// The file is loaded as far as the line, when it is still being loaded.
Line* dataLine(Task& task, long number) {
  while (task.textLines < number && task.loadNextChunk && task.loadNextChunk(task)) {
  }
  return textLineAt(task, std::min(number, task.textLines) - 1);
}

// The row that shows `line` after the layout, else the first data row.
int rowOf(EditPanel& panel, Line* line) {
  for (int row = panel.firstDataRow; row < panel.firstDataRow + panel.dataRows; ++row)
    if (panel.lineAtRow(row) == line) return row;
  return panel.firstDataRow;
}

// ZEDIT.LOCATELITERAL "TRUE" in a numbered file: numbers are the ones in the
// number columns.
bool literalNumbers(Task& task) {
  return task.profile && numberFieldOf(*task.profile) &&
         varGet(task.session, "ZEDIT.LOCATELITERAL") == "TRUE";
}

// The line whose number columns hold `number`; false after LINE132.
bool locateLiteral(EditPanel& panel, std::string_view typed, long number) {
  Task& task = panel.task;
  NumberField f = *numberFieldOf(*task.profile);
  loadAll(task);
  for (Line* p = task.lines.first; p; p = p->next) {
    if (!p->is(LineKind::Text) || p->length() < f.end) continue;
    std::string_view digits = p->text().substr(static_cast<std::size_t>(f.first), static_cast<std::size_t>(f.width));
    long value = 0;
    if (readLocateNumber(digits, value) && value == number) {
      showLineAtTop(panel, p);
      return true;
    }
  }
  messagef(task.session, "LINE132", "Literal line number '%s' not found in columns  %d  through  %d", typed,
           f.first + 1, f.end);
  return false;
}

}  // namespace

bool readLocateNumber(std::string_view text, long& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  value = 0;
  for (char c : text) value = std::min(value * 10 + (c - '0'), kMaxLocateNumber);
  return true;
}

void locateLine(EditPanel& panel, long number) {
  Task& task = panel.task;
  Line* line = number > 0 ? dataLine(task, number) : nullptr;
  showLineAtTop(panel, line ? line : task.lines.first);
}

void showLineAtTop(EditPanel& panel, Line* line) {
  Task& task = panel.task;
  // A hidden line is shown by what stands for it: the excluded marker
  // before its run, or the nearest shown line above.
  while (line && line->prev && hiddenLine(task, line)) line = line->prev;
  if (!line) return;
  task.topLine = line;
  panel.refreshData();
  setCursor(panel, rowOf(panel, line), panel.prefixWidth() + 1);
}

void putCursorInColumn(EditPanel& panel, int column, int prefixWidth) {
  int shown = std::max(panel.editLineWidth() - prefixWidth, 1);
  int offset = panel.task.displayOffset;
  if (column <= offset)
    scrollColumns(panel, column - 1 - offset);
  else if (column > offset + shown)
    scrollColumns(panel, column - shown - offset);
  setCursor(panel, panel.cursorRow, prefixWidth + column - panel.task.displayOffset);
}

void locateCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  EditPanel* panel = currentEditPanel(s);
  std::string_view params = ctx.params.substr(0, ctx.params.find_last_not_of(' ') + 1);
  if (!panel && params.empty())
    return message(s, "DLGLOCATE5", "No task active, can not launch LOCATE dialog");
  if (!panel) return messagef(s, "", kNoTask, ctx.verb);
  if (params.empty()) return message(s, "", kNoDialog);
  LocateWords w = splitLocate(params);
  long line = 0;
  if (!readLocateNumber(w.target, line) || !w.extra.empty()) {
    if (w.column.empty() && locateByWord(s, *panel, w.target)) return;
    return messagef(s, "", kInvalid, params);
  }
  long column = 0;
  if (!w.column.empty() && !readLocateNumber(w.column, column))
    return message(s, "LINE130", kBadColumn);
  if (column > maxRecLenOf(panel->task)) return message(s, "LINE125", kColumnTooBig);
  if (literalNumbers(panel->task)) {
    if (!locateLiteral(*panel, w.target, line)) return;
  } else {
    locateLine(*panel, line);
  }
  if (column > 0) putCursorInColumn(*panel, static_cast<int>(column), panel->prefixWidth());
}

}  // namespace kiv
