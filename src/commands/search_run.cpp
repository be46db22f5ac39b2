#include "commands/search_run.h"

#include <algorithm>
#include <vector>

#include "commands/line_range_ops.h"
#include "commands/locate_command.h"
#include "core/excluded.h"
#include "core/file_load.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/format.h"
#include "services/var_pool.h"

namespace kiv {

bool SearchRun::prepare(std::string_view text, SearchVerb verb) {
  if (!parseSearch(task, text, verb, params) || !matcher.compile(task, params)) return false;
  loadAll(task);
  return searchLines(task, params, first, last);
}

bool SearchRun::takes(const Line* line) const {
  if (!line->is(LineKind::Text)) return false;
  switch (params.filter) {
    case ExcludedFilter::Excluded: return !line->shown();
    case ExcludedFilter::Shown: return line->shown();
    default: return true;
  }
}

Line* SearchRun::after(Line* line) const {
  if (line == last) return nullptr;
  return from(line->next);
}

Line* SearchRun::before(Line* line) const {
  if (line == first) return nullptr;
  return backFrom(line->prev);
}

Line* SearchRun::from(Line* line) const {
  for (; line; line = line == last ? nullptr : line->next)
    if (takes(line)) return line;
  return nullptr;
}

Line* SearchRun::backFrom(Line* line) const {
  for (; line; line = line == first ? nullptr : line->prev)
    if (takes(line)) return line;
  return nullptr;
}

std::string SearchRun::shownString() const {
  if (params.emptyLine) return "EMPTYLINE";
  if (params.strings == 0) return "Target string";
  if (params.str1.kind == StringKind::Text) return "'" + params.str1.bytes + "'";
  return params.str1.token;
}

std::string SearchRun::notFound() const {
  if (params.emptyLine) return "EMPTYLINE not found.";
  bool verbose = varGet(task.session, "ZEDIT.FIND.VERBOSE") == "TRUE";
  ColumnRange c = matcher.columns();
  return format("%s not found between cols %d and %d", verbose ? params.text : shownString(),
                c.start, c.end);
}

namespace {

// The data row (1-based) a found line goes to: ZEDIT.LINEPOSAFTERFIND when
// it is a number of a row on the screen, else the first.
int placeRow(Task& task, int rows) {
  std::string v = varGet(task.session, "ZEDIT.LINEPOSAFTERFIND");
  if (v.empty() || v.size() > 4 || v.find_first_not_of("0123456789") != std::string::npos) return 1;
  return std::clamp(std::stoi(v), 1, std::max(rows, 1));
}

// The line `n` lines the user sees above `line` (fewer at the top).
Line* lineAbove(Task& task, Line* line, int n) {
  for (Line* p = line->prev; p && n > 0; p = p->prev) {
    if (hiddenLine(task, p) || isHexViewLine(p)) continue;
    line = p;
    --n;
  }
  return line;
}

}  // namespace

CursorSpot cursorSpot(Task& task) {
  EditPanel* panel = currentEditPanel(task.session);
  if (!panel || &panel->task != &task || panel->dataIndex(panel->cursorRow) < 0) return {};
  Line* line = panel->lineAtRow(panel->cursorRow);
  int cell = panel->cursorCol - 1 - panel->prefixWidth();
  if (!line || !line->is(LineKind::Text)) return {line, 0};
  return {line, cell < 0 ? 0 : panel->displayOffset() + cell};
}

void showMatch(Task& task, Line* line, int column, int length) {
  if (!line->shown()) showHiddenLines(task, {line});
  task.search.match = {line, line};
  task.search.column = column;
  task.search.length = length;
  task.search.highlight = true;
  EditPanel* panel = currentEditPanel(task.session);
  if (!panel || &panel->task != &task) return;
  panel->refreshData();
  int row = -1;
  for (int r = panel->firstDataRow; r < panel->firstDataRow + panel->dataRows; ++r)
    if (panel->lineAtRow(r) == line) row = r;
  if (row < 0) {  // off the screen: it goes to the row ZEDIT.LINEPOSAFTERFIND names
    task.topLine = lineAbove(task, line, placeRow(task, panel->lineRows()) - 1);
    panel->refreshData();
    for (int r = panel->firstDataRow; r < panel->firstDataRow + panel->dataRows; ++r)
      if (panel->lineAtRow(r) == line) row = r;
  }
  if (row < 0) return;
  setCursor(*panel, row, panel->prefixWidth() + 1);
  putCursorInColumn(*panel, TextColumns(task).columnOf(line->text(), static_cast<std::size_t>(column)),
                    panel->prefixWidth());
}

void publishCounts(Task& task, long occurrences, long lines) {
  task.search.occurrences = occurrences;
  task.search.lines = lines;
  varSet(task.session, "ZFIND.LAST.STRINGCOUNT", std::to_string(occurrences));
}

void rememberSearch(Task& task, const SearchParams& params) {
  Session& s = task.session;
  varSet(s, "ZFIND.SAVE", "TRUE");
  bool change = params.verb == SearchVerb::Change;
  (change ? task.settings.lastChangeParms : task.settings.lastFindParms) = params.text;
  varSet(s, change ? "ZFIND.LAST.CHANGE.PARMS" : "ZFIND.LAST.FIND.PARMS", params.text);
  task.search.lastWasChange = change;
  task.search.wrapped = false;
  if (params.strings >= 1) task.settings.lastStr1 = params.str1.token;
  if (params.strings >= 2) task.settings.lastStr2 = params.str2.token;
  if (task.settings.findGlobal == "TRUE") {
    varSet(s, "ZFIND.LAST.STR1", task.settings.lastStr1);
    varSet(s, "ZFIND.LAST.STR2", task.settings.lastStr2);
  }
}

}  // namespace kiv
