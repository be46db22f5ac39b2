// DATALINE, NOTELINE and INSERTLINE: a TEXT or NOTE line with the given text
// placed after the line at the cursor, or after a given data line.
#include <algorithm>
#include <string>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/edit_commands.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/edit_step.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task_life.h"
#include "core/translate_table.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kTooLong =
    "%s: line text is longer than the max record length  %d, command ignored.";
constexpr std::string_view kBadLineNumber = "INSERTLINE: line-number must be a number:\n\n%s";


// The text as typed. One pair of enclosing quotes or apostrophes is dropped,
// so that leading blanks and ";" can be given.
std::string_view lineText(std::string_view typed) {
  std::string_view t = typed.substr(0, typed.find_last_not_of(' ') + 1);
  if (t.size() >= 2 && (t.front() == '\'' || t.front() == '"') && t.back() == t.front())
    return t.substr(1, t.size() - 2);
  return typed;
}

// The bytes a data line stores for typed text: upper case while caps is in
// force, and the EBCDIC table for an EBCDIC file, as for typed characters.
std::string storedText(Task& task, std::string_view text) {
  std::string out(text);
  if (task.capsOn)
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (ebcdicFile(task)) {
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    translate(task.session, typedTable(task.profile->charsetDisplay), bytes, bytes, out.size());
  }
  return out;
}

// Links a new line of `kind` holding `text` after `after`, as one change.
int placeLine(Task& task, Line* after, std::string_view text, LineKind kind) {
  Line* fresh = createLine(task, text, kind);
  if (!fresh) return -1;
  linkBelow(task, after, fresh);
  noteModified(task, kind == LineKind::Text);
  return 0;
}

// Checks and stores a data line's text, then places it.
void placeDataLine(CommandContext& ctx, Task& task, Line* after, std::string_view typed) {
  std::string text = storedText(task, lineText(typed));
  if (static_cast<int>(text.size()) > maxRecLenOf(task))
    return messagef(ctx.session, "", kTooLong, ctx.verb, maxRecLenOf(task));
  if (placeLine(task, after, text, LineKind::Text) == 0) {
    if (EditPanel* p = currentEditPanel(ctx.session)) p->refreshData();
  }
}

// The line at the cursor, or on the first data row; the top line without a
// panel row to take it from.
Line* cursorLine(Session& s, Task& task) {
  EditPanel* p = currentEditPanel(s);
  Line* line = p ? p->currentLine() : nullptr;
  if (!line) line = task.topLine ? task.topLine : task.lines.first;
  return line;
}

bool refusedInBrowse(CommandContext& ctx, const Task& task) {
  if (task.mode != TaskMode::Browse) return false;
  message(ctx.session, "", kBrowseNoModify);
  return true;
}

// Data line `number` (1-based count of TEXT lines); TOF for 0. Past the last
// data line: the last one, so that the new line ends the data.
Line* dataLine(Task& task, long number) {
  Line* found = task.lines.first;
  long count = 0;
  for (Line* line = task.lines.first; line && count < number; line = nextLoadedLine(task, line)) {
    if (!line->is(LineKind::Text)) continue;
    found = line;
    ++count;
  }
  return found;
}

// Digits only; a value past any line count is held at a large bound.
bool readLineNumber(std::string_view word, long& value) {
  if (word.empty() || word.find_first_not_of("0123456789") != std::string_view::npos) return false;
  constexpr long kBeyondAnyFile = 1L << 40;
  value = 0;
  for (char c : word) value = std::min(value * 10 + (c - '0'), kBeyondAnyFile);
  return true;
}

}  // namespace

void dataLineCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (ctx.params.empty())
    return message(ctx.session, "", "DATALINE reqires one parameter:  P1 = line text");
  if (refusedInBrowse(ctx, *task)) return;
  placeDataLine(ctx, *task, cursorLine(ctx.session, *task), ctx.params);
}

void noteLineCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (ctx.params.empty())
    return message(ctx.session, "", "NOTELINE reqires one parameter:  P1 = line text");
  if (placeLine(*task, cursorLine(ctx.session, *task), lineText(ctx.params), LineKind::Note) == 0) {
    if (EditPanel* p = currentEditPanel(ctx.session)) p->refreshData();
  }
}

void insertLineCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::string_view data = afterFirstWord(ctx.params);
  if (data.empty())
    return message(ctx.session, "EPCMD50",
                   "INSERTLINE requires two parameters:\n\nP1 = line-number\nP2 = line-data");
  long number = 0;
  if (!readLineNumber(ctx.firstParam, number))
    return messagef(ctx.session, "", kBadLineNumber, ctx.firstParam);
  if (refusedInBrowse(ctx, *task)) return;
  placeDataLine(ctx, *task, dataLine(*task, number), data);
}

}  // namespace kiv
