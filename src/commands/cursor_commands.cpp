#include "commands/cursor_commands.h"

#include <algorithm>
#include <array>
#include <string>

#include "commands/char_edit.h"
#include "commands/command_split.h"
#include "core/edit_step.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "screen/cursor_moves.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

// The cursor's line and data column (0-based) on the current edit panel;
// the line is null off the data rows, the column -1 left of the data.
struct Spot {
  EditPanel* panel = nullptr;
  Line* line = nullptr;
  int column = -1;
};

Spot cursorSpot(Session& s) {
  Spot spot;
  spot.panel = currentEditPanel(s);
  EditPanel* p = spot.panel;
  if (!p || p->dataIndex(p->cursorRow) < 0) return spot;
  spot.line = p->lineAtRow(p->cursorRow);
  int cell = p->cursorCol - 1 - p->prefixWidth();
  spot.column = cell < 0 ? -1 : p->displayOffset() + cell;
  return spot;
}

// The cursor after an edit: on the result's line when the panel shows it.
void follow(const Spot& spot, const EditResult& r) {
  EditPanel* p = spot.panel;
  if (!p || !r.ok) return;
  p->refreshData();
  for (int row = p->firstDataRow; row < p->firstDataRow + p->dataRows; ++row)
    if (p->lineAtRow(row) == r.line) {
      int cell = p->prefixWidth() + r.column - p->displayOffset() + 1;
      setCursor(*p, row, std::clamp(cell, p->prefixWidth() + 1, p->editLineWidth()));
    }
}

}  // namespace

void dataCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  if (ctx.params.empty()) return message(s, "CHAR45", "DATA command requires one parameter:\n\nP1 = data");
  Spot spot = cursorSpot(s);
  if (!spot.line || spot.column < 0)
    return message(s, "CHAR50", "DATA command only valid in data area, command ignored.");
  follow(spot, typeText(spot.panel->task, spot.line, spot.column, ctx.params, screenState(s).insertMode));
}

void hexInCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Spot spot = cursorSpot(s);
  if (!spot.line || !spot.line->is(LineKind::Text))
    return message(s, "CHAR65", "HEXIN cursor must be on text line.");
  if (spot.column < 0) return message(s, "CHAR70", "HEXIN cursor must in data portion of text line.");
  if (ctx.params.empty())
    return message(s, "", "HEXIN requires the bytes as pairs of hex digits (the HEXIN dialog is not available yet).");
  follow(spot, hexIn(spot.panel->task, spot.line, spot.column, ctx.params));
}

void deleteWordCommand(CommandContext& ctx) {
  Spot spot = cursorSpot(ctx.session);
  if (!spot.panel) return;
  if (!spot.line || spot.column < 0)
    return message(ctx.session, "CHAR119", "Cursor must be in data area, command ignored.");
  follow(spot, deleteWord(spot.panel->task, spot.line, spot.column));
}

// CURSORMOVE UP|DOWN|LEFT|RIGHT [n] | EOL | SOL | LCMD, in any order.
void cursorMoveCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  std::string words = toUpper(ctx.params);
  if (firstWord(words).empty()) return message(s, "", "CURSORMOVE command requires parameter");
  static constexpr std::array<std::pair<std::string_view, std::pair<int, int>>, 4> kArrows = {{
      {"UP", {-1, 0}}, {"DOWN", {1, 0}}, {"LEFT", {0, -1}}, {"RIGHT", {0, 1}}}};
  std::string keyword;
  long count = 1;
  for (std::string_view rest = words; !firstWord(rest).empty(); rest = afterFirstWord(rest)) {
    std::string_view w = firstWord(rest);
    if (w.find_first_not_of("-0123456789") == std::string_view::npos && w.size() < 9) {
      count = std::clamp(std::stol(std::string(w)), 1L, 99L);
      continue;
    }
    if (!keyword.empty() || (w != "EOL" && w != "SOL" && w != "LCMD" &&
                             std::none_of(kArrows.begin(), kArrows.end(), [&](auto& a) { return a.first == w; })))
      return messagef(s, "CURSOR5", "CURSORMOVE unknown parameter: %s", w);
    keyword = w;
  }
  EditPanel* p = currentEditPanel(s);
  if (keyword.empty() || !p) return;
  for (auto [name, step] : kArrows)
    if (keyword == name) return moveCursor(s, step.first * static_cast<int>(count), step.second * static_cast<int>(count));
  Spot spot = cursorSpot(s);
  if (!spot.line) return;
  if (keyword == "LCMD") return setCursor(*p, p->cursorRow, 1);
  // EOL: the column after the last non-blank (MaxRecLen counts its bytes).
  std::string_view text = spot.line->text();
  std::size_t end = keyword == "SOL" ? 0 : text.find_last_not_of(' ') + 1;
  if (end >= static_cast<std::size_t>(maxRecLenOf(p->task)))
    return message(s, "", "Not allowed to move cursor beyond MaxRecLen.");
  int column = TextColumns(p->task).columnOf(text, end) - 1;
  follow(spot, EditResult{true, spot.line, column});
}

// WORDWRAP n | OFF: typing past column n wraps the word to a new line.
void wordWrapCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = s.currentTask();
  if (!task) return messagef(s, "", "%s requires an open Edit/Browse/View.", ctx.verb);
  std::string word(firstWord(toUpper(ctx.params)));
  if (word.empty())
    return task->wrapColumn > 0 ? messagef(s, "", "WORDWRAP is on at column %d.", task->wrapColumn)
                                : message(s, "", "WORDWRAP is off.");
  if (word == "OFF" || word == "0") {
    task->wrapColumn = 0;
    return;
  }
  bool digits = word.size() < 7 && word.find_first_not_of("0123456789") == std::string::npos;
  int column = digits ? std::stoi(word) : 0;
  if (column < 1 || column >= maxRecLenOf(*task))
    return messagef(s, "", "WORDWRAP requires a column from 1 to %d, or OFF.", maxRecLenOf(*task) - 1);
  task->wrapColumn = column;
}

}  // namespace kiv
