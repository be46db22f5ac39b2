#include "screen/data_typing.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "core/edit_step.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/task_life.h"
#include "core/translate_table.h"
#include "screen/edit_panel.h"
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

// TEXT lines take typing, and so does a NOTE line that IN has just opened.
bool typeable(const Line& line) {
  return line.is(LineKind::Text) || (line.is(LineKind::Note) && line.inserted());
}

// The data of a TEXT line may change at the cursor: not in BROWSE, not on
// special lines, not past the editing area. Each key names its own refusal
// in BROWSE.
bool mayChangeData(EditPanel& p, const RowSpot& s, std::string_view browseId) {
  if (!typeable(*s.line)) return refuse(p, "DLM135", "PROTECTED");
  if (p.task.mode == TaskMode::Browse) return refuse(p, browseId, kBrowseNoModify);
  if (s.index >= maxRecLenOf(p.task)) return refuse(p, "DLM130", "Field is full.");
  return true;
}

void typeIntoPrefix(EditPanel& p, const RowSpot& s, unsigned char c) {
  std::string field(s.line->hasPendingCommand() ? s.line->lineCommand() : kBlankField);
  if (s.index < static_cast<int>(field.size()))
    field[static_cast<std::size_t>(s.index)] = static_cast<char>(c);
  setLineCommand(p.task, s.line, field);
}

// The byte stored for a typed character: caps, and EBCDIC files' table
// (a NOTE line is not file data: it keeps the display's bytes).
unsigned char storedByte(EditPanel& p, const Line& line, unsigned char c) {
  Task& task = p.task;
  if (task.capsOn) c = static_cast<unsigned char>(std::toupper(c));
  if (!task.profile || task.profile->charset != Charset::Ebcdic || !line.is(LineKind::Text)) return c;
  const unsigned char* table =
      translateTable(task.session, typedTable(task.profile->charsetDisplay));
  return table ? table[c] : c;
}

void replaceText(EditPanel& p, Line* line, const std::string& text) {
  beginTyping(p.task);  // typed changes are one step until Enter or a command
  if (setLineText(p.task, line, text) != 0) return;
  p.markDirty(p.cursorRow, 1);
}

// Typing that fills a row of an open text-entry area goes on at the area's
// margin on the next row, so that a paragraph can be typed without stopping.
void goOnInTextEntry(EditPanel& p, Line* line) {
  const TextEntryArea& area = p.task.textEntry;
  if (!area.lines.held() || !line->inserted() || line == area.lines.last) return;
  int next = p.cursorRow + 1;
  if (p.dataIndex(next) < 0 || !p.lineAtRow(next) || !p.lineAtRow(next)->inserted()) return;
  int column = std::clamp(area.left - p.displayOffset(), 1, p.dataWidth());
  setCursor(p, next, p.prefixWidth() + column);
}

}  // namespace

bool typeIntoDataRow(EditPanel& p, unsigned char c) {
  RowSpot s = spotAtCursor(p);
  if (!s.line) return refuse(p, "DLM135", "PROTECTED");
  if (s.prefix) {
    typeIntoPrefix(p, s, c);
  } else {
    if (!mayChangeData(p, s, "CHAR10")) return false;
    std::string text(s.line->text());
    char pad = padCharFor(p.task, s.line->kind());
    if (static_cast<int>(text.size()) <= s.index)
      text.resize(static_cast<std::size_t>(s.index) + 1, pad);
    text[static_cast<std::size_t>(s.index)] = static_cast<char>(storedByte(p, *s.line, c));
    replaceText(p, s.line, text);
    noteKeystroke(p.task);
  }
  p.markDirty(p.cursorRow, 1);
  if (p.cursorCol < p.editLineWidth())
    setCursor(p, p.cursorRow, p.cursorCol + 1);
  else if (!s.prefix)
    goOnInTextEntry(p, s.line);
  return true;
}

void deleteInDataRow(EditPanel& p, bool before) {
  if (before) {
    if (p.cursorCol <= 1) return;
    setCursor(p, p.cursorRow, p.cursorCol - 1);
  }
  RowSpot s = spotAtCursor(p);
  if (!s.line) return;
  if (s.prefix) {
    std::string field(s.line->lineCommand());
    field.erase(static_cast<std::size_t>(std::min(s.index, static_cast<int>(field.size()) - 1)), 1);
    setLineCommand(p.task, s.line, field);
    p.markDirty(p.cursorRow, 1);
    return;
  }
  if (!mayChangeData(p, s, "CHAR110") || s.index >= s.line->length()) return;
  std::string text(s.line->text());
  text.erase(static_cast<std::size_t>(s.index), 1);
  if (p.task.profile && p.task.profile->recfm == 'F')
    text.push_back(padCharFor(p.task, LineKind::Text));
  replaceText(p, s.line, text);
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
  if (!mayChangeData(p, s, "CHAR125") || s.index >= s.line->length()) return;
  std::string text(s.line->text().substr(0, static_cast<std::size_t>(s.index)));
  if (p.task.profile && p.task.profile->recfm == 'F')
    text.resize(static_cast<std::size_t>(s.line->length()), padCharFor(p.task, LineKind::Text));
  replaceText(p, s.line, text);
}

}  // namespace kiv
