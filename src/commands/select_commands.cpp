#include "commands/select_commands.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/labels.h"
#include "commands/line_range_ops.h"
#include "commands/search_run.h"
#include "commands/selection_ops.h"
#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "core/utf8_case.h"
#include "core/translate_table.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kFiveParameters =
    "Select requires 5 parameters to specify a selection:\n\nP1 = mode (STREAM | WHOLELINE | "
    "RECTANGLE)\nP2 = first line number\nP3 = first col number\nP4 = last line number\nP5 = last col "
    "number";

// A line by its number (the n-th TEXT line; past the end: the last when
// `orLast`) or a label.
Line* lineOf(Task& task, std::string_view w, long n, bool orLast) {
  if (w.starts_with('.')) return lineByLabel(task, w);
  if (n > task.textLines) return orLast && task.textLines > 0 ? textLineAt(task, task.textLines - 1) : nullptr;
  return textLineAt(task, n - 1);
}

struct Five {
  SelectionMode mode;
  Line* first;
  int firstCol;
  Line* last;
  int lastCol;
};

// SELECT mode line col line col, checked in the given order.
bool parseFive(Session& s, Task& task, const std::vector<std::string>& w, Five& out) {
  if (w.size() < 5) return message(s, "SELECT45", kFiveParameters), false;
  static constexpr std::pair<std::string_view, SelectionMode> kModes[] = {
      {"STREAM", SelectionMode::Stream}, {"WHOLELINE", SelectionMode::WholeLine},
      {"RECTANGLE", SelectionMode::Rectangle}};
  auto mode = std::find_if(std::begin(kModes), std::end(kModes), [&](auto& m) { return m.first == w[0]; });
  if (mode == std::end(kModes))
    return message(s, "SELECT10", "Parameter 1, select mode, must be STREAM, WHOLELINE, or RECTANGLE."), false;
  long l1 = 0, c1 = 0, l2 = 0, c2 = 0;
  bool label1 = w[1].starts_with('.'), label2 = w[3].starts_with('.');
  if (!label1 && !readCount(w[1], l1)) return message(s, "SELECT20", "Parameter 2 must be first line number in selection."), false;
  if (!readCount(w[2], c1)) return message(s, "SELECT25", "Parameter 3 must be first column number in selection."), false;
  if (!label2 && !readCount(w[3], l2)) return message(s, "SELECT35", "Parameter 4 must be last line number in selection."), false;
  if (!readCount(w[4], c2)) return message(s, "SELECT40", "Parameter 5 must be last column number in selection."), false;
  if (!label1 && l1 < 1) return message(s, "SELECT70", "Parameter 2, start line number, must be equal or greater than 1"), false;
  if (!label1 && !label2 && l2 < l1)
    return message(s, "SELECT65", "Parameter 4, end line number, must be equal or greater than start line number"), false;
  if (c1 < 1) return message(s, "SELECT60", "Parameter 3, start column number, must be equal or greater than 1"), false;
  loadAll(task);
  out = {mode->second, lineOf(task, w[1], l1, false), static_cast<int>(c1), lineOf(task, w[3], l2, true),
         static_cast<int>(c2)};
  if (!out.first)
    return message(s, label1 ? "SELECT15" : "SELECT75", label1 ? "Parameter 2, label not found." : "Could not find line matching start line number"), false;
  if (!out.last) return message(s, "SELECT30", "Parameter 4, label not found."), false;
  // The columns of a rectangle, or of a stream within one line, must be in order.
  bool rectangle = out.mode == SelectionMode::Rectangle;
  if (c2 < c1 && (rectangle || (out.mode == SelectionMode::Stream && out.first == out.last)))
    return message(s, rectangle ? "SELECT50" : "SELECT55", "Parameter 5, end col number must be equal or greater than start col number"), false;
  return true;
}

// The bytes [from, to) of the run of characters around byte `at` that
// `inRun` takes (a byte a character outside UTF-8 tasks); empty when the
// character at `at` is not one.
template <typename InRun>
std::pair<std::size_t, std::size_t> runAround(std::string_view text, std::size_t at, bool utf8, InRun inRun) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size();) {
    char32_t code = static_cast<unsigned char>(text[i]);
    std::size_t n = 1;
    if (utf8) {
      Glyph g = glyphAt(text, i);
      code = g.invalid ? 0 : g.code;  // a byte that is not UTF-8 ends a word
      n = static_cast<std::size_t>(g.bytes);
    }
    bool in = inRun(code);
    if (i > at && !in) return {from, i};
    if (!in) from = i + n;
    if (i + n > at && !in) return {at, at};
    i += n;
  }
  return {from, text.size()};
}

// WORD or NONBLANK: the run at the cursor (letters and digits for a word).
void selectAtCursor(Session& s, Task& task, bool word) {
  CursorSpot spot = cursorSpot(task);
  if (!spot.line || !spot.line->is(LineKind::Text)) return message(s, "", "Cursor must be on a data line to select.");
  std::string_view text = spot.line->text();
  TextColumns columns(task);
  std::size_t at = columns.byteOf(text, spot.column + 1);
  if (at >= text.size()) return message(s, "", "Beyond end of line, can not select word.");
  auto inRun = [&](char32_t c) {
    return word ? (columns.utf8() ? wordCharacter(c) : c < 0x80 && (std::isalnum(static_cast<int>(c)) || c == '_'))
                : c != U' ';
  };
  auto [from, to] = runAround(text, at, columns.utf8(), inRun);
  if (from == to) return message(s, "", "Cursor on blank, can not select word.");
  setSelection(task, spot.line, spot.line, SelectionMode::Stream, columns.columnOf(text, from),
               columns.columnOf(text, to) - 1);
}

// The selected letters of a UTF-8 file's lines in one case, beyond ASCII
// too. A line whose length in bytes would change past MaxRecLen, or at all
// in a FIXED file, stays as it is; a message counts such lines.
void convertUtf8Selection(Session& s, Task& task, const SelectedLines& range, bool upper) {
  auto max = static_cast<std::size_t>(maxRecLenOf(task));
  bool fixed = task.profile && task.profile->recfm == kRecfmFixed;
  long refused = 0;
  for (Line* p = range.first; p; p = p == range.last ? nullptr : p->next) {
    std::optional<ColumnSpan> span = columnsWithin(task.selection, *p, p == range.first, p == range.last);
    if (!span) continue;
    std::string_view text = p->text();
    auto [from, to] = spanBytes(task, *p, *span);
    std::string out(text.substr(0, from));
    out += utf8Case(text.substr(from, to - from), upper, false);
    out += text.substr(to);
    if (out.size() != text.size() && (fixed || out.size() > max)) {
      ++refused;
      continue;
    }
    if (out != text) setLineText(task, p, out);
  }
  if (refused > 0)
    messagef(s, "", "%s: %ld line(s) left as they were: converted, their length in bytes would %s.",
             upper ? "STOUPPER" : "STOLOWER", refused, fixed ? "differ from the record length" : "pass MaxRecLen");
}

// Letters of the selected text in one case (EBCDIC through the display).
void convertSelection(Session& s, Task& task, bool upper, std::string_view none) {
  std::optional<SelectedLines> range = selectedLines(task);
  if (!range) return message(s, "", none);
  if (task.mode == TaskMode::Browse) return message(s, "", "In BROWSE, no modify allowed");
  if (utf8File(task)) return convertUtf8Selection(s, task, *range, upper);
  const unsigned char* shown = nullptr;
  const unsigned char* typed = nullptr;
  if (ebcdicFile(task)) {
    shown = translateTable(s, displayTable(task.profile->charsetDisplay));
    typed = translateTable(s, typedTable(task.profile->charsetDisplay));
  }
  for (Line* p = range->first; p; p = p == range->last ? nullptr : p->next) {
    std::optional<ColumnSpan> span = columnsWithin(task.selection, *p, p == range->first, p == range->last);
    if (!span) continue;
    std::string text(p->text());
    auto to = std::min(text.size(), static_cast<std::size_t>(span->end));
    for (auto i = static_cast<std::size_t>(span->start - 1); i < to; ++i) {
      auto b = static_cast<unsigned char>(text[i]);
      unsigned char d = shown ? shown[b] : b;
      unsigned char c = static_cast<unsigned char>(upper ? std::toupper(d) : std::tolower(d));
      if (c != d && d < 128) text[i] = static_cast<char>(typed ? typed[c] : c);
    }
    if (text != p->text()) setLineText(task, p, text);
  }
}

}  // namespace

void selectCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task) return;
  std::vector<std::string> w = words(ctx.paramsUpper);
  if (w.empty()) return message(s, "SELECT5", "SELECT requires at least one parameter.");
  if (w[0] == "ALL") {
    loadAll(*task);
    if (task->textLines == 0) return message(s, "SELECT77", "No text lines to select, SELECT ALL ignored.");
    return setSelection(*task, textLineAt(*task, 0), textLineAt(*task, task->textLines - 1),
                        SelectionMode::WholeLine, 1, kWholeLineEnd);
  }
  if (w[0] == "WORD" || w[0] == "NONBLANK") return selectAtCursor(s, *task, w[0] == "WORD");
  if (w[0] == "EOL") {
    CursorSpot spot = cursorSpot(*task);
    if (!spot.line || !spot.line->is(LineKind::Text) || spot.column >= TextColumns(*task).width(spot.line->text()))
      return message(s, "SELECT80", "To select to end of line, you must be in the data area of a data line.");
    return setSelection(*task, spot.line, spot.line, SelectionMode::Stream, spot.column + 1,
                        TextColumns(*task).width(spot.line->text()));
  }
  Five f{};
  if (!parseFive(s, *task, w, f)) return;
  setSelection(*task, f.first, f.last, f.mode, f.mode == SelectionMode::WholeLine ? 1 : f.firstCol,
               f.mode == SelectionMode::WholeLine ? kWholeLineEnd : f.lastCol);
}

void upperSelectionCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) convertSelection(ctx.session, *task, true, "STOUPPER: no selection, ignored.");
}

void lowerSelectionCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) convertSelection(ctx.session, *task, false, "STOLOWER: no selection, ignored.");
}

void excludeSelectionCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::optional<SelectedLines> range = selectedLines(*task);
  if (!range) return message(ctx.session, "", "SXCLUDE: no selection, ignored.");
  if (task->selection.mode != SelectionMode::WholeLine)
    return message(ctx.session, "", "SXCLUDE: only allowed to exclude whole lines, ignored.");
  clearSelection(*task);
  excludeRange(*task, range->first, range->last);
  if (EditPanel* panel = currentEditPanel(ctx.session)) panel->refreshData();
}

}  // namespace kiv
