#include "commands/clipboard_commands.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/labels.h"
#include "commands/line_command_fields.h"
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
#include "core/translate_table.h"
#include "platform/platform.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

bool browsing(Task& task, std::string_view id) {
  if (task.mode != TaskMode::Browse) return false;
  message(task.session, id, "In BROWSE, no modify allowed");
  return true;
}

void refresh(Session& s) {
  if (EditPanel* panel = currentEditPanel(s)) panel->refreshData();
}

// The TEXT lines that are excluded (X) or shown (NX).
std::vector<Line*> linesByExclusion(Task& task, bool excluded) {
  loadAll(task);
  std::vector<Line*> out;
  for (Line* p = task.lines.first; p; p = p->next)
    if (p->is(LineKind::Text) && p->shown() != excluded) out.push_back(p);
  return out;
}

// Puts `text` on the clipboard, warning when a zero byte cut it short.
void toClipboard(Session& s, const std::string& text, bool cutAtZero) {
  if (cutAtZero)
    message(s, "SELECT255", "CUT/COPY data has x'00' will result in premature end at paste time, use MM or CC.");
  s.platform().setClipboard(text);
}

// COPY or CUT of the selection or of the X/NX lines; true when copied.
bool copyOut(CommandContext& ctx, Task& task, bool cut) {
  Session& s = ctx.session;
  std::vector<std::string> w = words(ctx.paramsUpper);
  std::optional<SelectedLines> sel = selectedLines(task);
  if (!w.empty() && (w[0] == "X" || w[0] == "NX")) {
    if (sel) {
      messagef(s, "", "%s %s  can not be used on a selection, this command applies to the entire file.\n\nCommand ignored.",
               cut ? "CUT" : "COPY", w[0]);
      return false;
    }
    std::vector<Line*> lines = linesByExclusion(task, w[0] == "X");
    bool zero = false;
    toClipboard(s, linesText(task, lines, zero), zero);
    if (cut)
      for (Line* p : lines) deleteLine(task, p, true);
    return true;
  }
  if (!sel) {
    message(s, "SELECT265", "No selection.");
    return false;
  }
  if (!w.empty()) {
    SelectionMode m = task.selection.mode;
    messagef(s, "", m == SelectionMode::Rectangle ? "COPY: no parameters allowed on copy of rectangle."
                    : m == SelectionMode::Stream  ? "COPY: no parameters allowed on copy of text stream."
                                                  : "COPY, invalid parameter:\n\n%s",
             w[0]);
    return false;
  }
  bool zero = false;
  std::optional<std::string> text = selectionText(task, zero);
  if (!text) {
    message(s, "SELECT260", "Selection size exceeds available clipboard memory, can not copy.");
    return false;
  }
  toClipboard(s, *text, zero);
  if (cut) deleteSelection(task);
  return true;
}

// The clipboard's text in the task's character set: a text marked as EBCDIC
// loses its mark; the bytes are translated when the file's set differs.
std::string forTask(Session& s, Task& task, std::string text) {
  bool fromEbcdic = text.starts_with(kEbcdicMarker);
  if (fromEbcdic) text.erase(0, kEbcdicMarker.size());
  bool toEbcdic = ebcdicFile(task);
  if (fromEbcdic == toEbcdic) return text;
  Charset display = task.profile ? task.profile->charsetDisplay : Charset::AsciiIso8859;
  int table = toEbcdic ? typedTable(display) : displayTable(display);
  auto* bytes = reinterpret_cast<unsigned char*>(text.data());
  translate(s, table, bytes, bytes, text.size());
  return text;
}

// The clipboard's lines (CR LF or LF between them); `endsWithLine` tells
// whether the text ends with a line end.
std::vector<std::string> splitLines(const std::string& text, bool& endsWithLine) {
  std::vector<std::string> out;
  std::size_t at = 0;
  endsWithLine = false;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) {
      out.push_back(text.substr(at));
      return out;
    }
    std::size_t stop = end > at && text[end - 1] == '\r' ? end - 1 : end;
    out.push_back(text.substr(at, stop - at));
    at = end + 1;
    endsWithLine = at == text.size();
  }
  return out;
}

// A pending A or B line command: where a paste goes.
struct Destination {
  Line* line = nullptr;
  bool after = false;
};

std::optional<Destination> pendingDestination(Task& task) {
  for (Line* p : task.pendingLines) {
    std::string field(p->lineCommand());
    field.erase(field.find_last_not_of(' ') + 1);
    for (char& c : field) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (field == "A" || field == "B") return Destination{p, field == "A"};
  }
  return std::nullopt;
}

// Where a line longer than `max` bytes is folded: at `max`, or in a UTF-8
// file before the character that `max` would cut.
std::size_t foldAt(Task& task, std::string_view line, std::size_t max) {
  if (line.size() <= max || !utf8File(task)) return std::min(line.size(), max);
  std::size_t at = max;
  while (at > 0 && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) --at;
  return at > 0 ? at : max;  // a "character" longer than a record: cut it
}

// Line paste: each clipboard line a new TEXT line, folded at MaxRecLen.
void pasteLines(Session& s, Task& task, const std::vector<std::string>& lines, Line* at, bool after) {
  auto max = static_cast<std::size_t>(std::max(maxRecLenOf(task), 1));
  bool folded = false;
  std::vector<std::string> pieces;
  for (const std::string& line : lines) {
    if (line.size() <= max) {
      pieces.push_back(line);
      continue;
    }
    folded = true;
    std::string_view rest = line;
    while (!rest.empty()) {
      std::size_t n = foldAt(task, rest, max);
      pieces.emplace_back(rest.substr(0, n));
      rest.remove_prefix(n);
    }
  }
  if (folded)
    message(s, "", "Clipboard contains lines longer than max rec length for receiving file, they will be folded.");
  Line* below = after ? at : at->prev;
  for (const std::string& text : pieces) {
    Line* fresh = createLine(task, text, LineKind::Text);
    if (!fresh) return;
    if (below && !below->is(LineKind::Bof)) linkBelow(task, below, fresh);
    else linkLineBefore(task, at, fresh);
    below = fresh;
  }
}

// Stream paste: the text goes into the line at the column (the byte where
// that column's character begins), the line split at each line end of the
// text; the pasted bytes go in unchanged.
void pasteStream(Task& task, Line* line, int column, const std::vector<std::string>& lines, bool endsWithLine) {
  std::string text(line->text());
  std::size_t byte = TextColumns(task).byteOf(text, column + 1);
  auto at = std::min(text.size(), byte);
  if (text.size() < byte) text.resize(byte, ' ');
  std::string tail = text.substr(at);
  text.resize(at);
  std::vector<std::string> parts(lines);
  if (endsWithLine) parts.emplace_back();
  text += parts.front();
  if (parts.size() == 1) {
    setLineText(task, line, text + tail);
    return;
  }
  setLineText(task, line, text);
  Line* below = line;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string piece = parts[i] + (i + 1 == parts.size() ? tail : "");
    Line* fresh = createLine(task, piece, LineKind::Text);
    if (!fresh) return;
    linkBelow(task, below, fresh);
    below = fresh;
  }
}

// The paste goes where the cursor is: over the selection when the cursor
// stands on one of its lines.
bool overSelection(Task& task, Line* cursorLine) {
  std::optional<SelectedLines> sel = selectedLines(task);
  if (!sel || !cursorLine) return false;
  long at = ordinalOf(task, cursorLine);
  return at >= ordinalOf(task, sel->first) && at <= ordinalOf(task, sel->last);
}

}  // namespace

void copyCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) copyOut(ctx, *task, false);
}

void cutCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task || browsing(*task, "")) return;
  if (copyOut(ctx, *task, true)) refresh(ctx.session);
}

void pasteCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task || browsing(*task, "SELECT130")) return;
  std::vector<std::string> w = words(ctx.paramsUpper);
  std::string mode = w.empty() ? "" : w[0];
  if (!mode.empty() && mode != "STREAM" && mode != "LINE") {
    message(s, "SELECT132", "Unknown PASTE mode, paste will be done 'as is'.");
    mode.clear();
  }
  std::string text = forTask(s, *task, s.platform().clipboard());
  if (text.empty()) return message(s, "SELECT165", "Clipboard is empty.");
  bool endsWithLine = false;
  std::vector<std::string> lines = splitLines(text, endsWithLine);
  bool stream = mode.empty() ? !endsWithLine : mode == "STREAM";
  std::optional<Destination> dest = pendingDestination(*task);
  CursorSpot spot = cursorSpot(*task);
  if (!dest && overSelection(*task, spot.line)) {  // pasting over a selection replaces it
    SelectionStart start = deleteSelection(*task);
    spot = {start.line, start.column};
  }
  if (dest && stream)
    return message(s, dest->after ? "SELECT135" : "SELECT140",
                   dest->after ? "Not allowed to paste stream after 'A' line." : "Not allowed to paste stream before 'B' line.");
  if (!dest && !spot.line)
    return message(s, "SELECT145",
                   "You must identify the PASTE destination by one of the following actions:\n\n1) Specify an A or B "
                   "line command.\n\n2) Place the cursor on a line.\nPaste will be above that line.");
  if (stream) {
    if (!spot.line->is(LineKind::Text)) return message(s, "SELECT155", "Not allowed to paste stream into non-text line.");
    if (task->profile && task->profile->recfm == kRecfmFixed)
      return message(s, "SELECT150", "Not allowed to paste stream into RECFM=F file.");
    pasteStream(*task, spot.line, spot.column, lines, endsWithLine);
  } else if (dest) {
    setLineCommand(*task, dest->line, "");
    pasteLines(s, *task, lines, dest->line->is(LineKind::Bof) ? dest->line->prev : dest->line, dest->after);
  } else {
    pasteLines(s, *task, lines, spot.line->is(LineKind::Tof) ? spot.line->next : spot.line, false);
  }
  refresh(s);
}

void deleteCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task || browsing(*task, "")) return;
  std::vector<std::string> w = words(ctx.paramsUpper);
  if (w.empty()) {
    if (!task->selection.active()) return message(s, "", "DELETE requires a parameter (ALL, X, NX, CURSOR or two labels) or a selection.");
    deleteSelection(*task);
    return refresh(s);
  }
  std::vector<std::string> labels;
  std::string what;
  for (const std::string& word : w) {
    if (word.starts_with('.')) {
      if (labels.size() == 2) return message(s, "", "DELETE, too many labels.");
      labels.push_back(word);
    } else if (what.empty() && (word == "ALL" || word == "X" || word == "NX" || word == "CURSOR")) {
      what = word;
    } else {
      return messagef(s, "", "DELETE, invalid parameter:\n\n%s", word);
    }
  }
  if (what == "CURSOR") {
    CursorSpot spot = cursorSpot(*task);
    if (!spot.line) return message(s, "", "DELETE CURSOR: the cursor is not on a line.");
    if (spot.line->is(LineKind::Tof)) return message(s, "EPCMD54", "Not allowed to delete TOF line.");
    if (spot.line->is(LineKind::Bof)) return message(s, "EPCMD54", "Not allowed to delete BOF line.");
    deleteLine(*task, spot.line, true);
    return refresh(s);
  }
  loadAll(*task);
  Line* first = task->lines.first;
  Line* last = task->lines.last;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    Line* at = lineByLabel(*task, labels[i]);
    if (!at) return messagef(s, "", "DELETE, label not found:\n\n%s", labels[i]);
    (i == 0 ? first : last) = at;
  }
  if (labels.size() == 2 && ordinalOf(*task, last) < ordinalOf(*task, first)) std::swap(first, last);
  if (labels.size() == 1) last = task->lines.last;
  std::vector<Line*> gone;
  for (Line* p = first; p; p = p == last ? nullptr : p->next)
    if (p->is(LineKind::Text) && (what == "X" ? !p->shown() : what == "NX" ? p->shown() : true)) gone.push_back(p);
  for (Line* p : gone) deleteLine(*task, p, true);
  refresh(s);
}

}  // namespace kiv
