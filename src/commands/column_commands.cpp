#include "commands/column_commands.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/labels.h"
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

constexpr int kMaxInsert = 255;

// The columns (1-based, inclusive) and the TEXT lines a column command acts on.
struct Columns {
  int start = 0;
  int end = 0;
  std::vector<Line*> lines;
};

// From the rectangle selection, or from "start [end]" over every TEXT line.
std::optional<Columns> columnsOf(CommandContext& ctx, Task& task, std::string_view browseId) {
  Session& s = ctx.session;
  if (task.mode == TaskMode::Browse && !browseId.empty()) {
    message(s, browseId, "In BROWSE, no modify allowed");
    return std::nullopt;
  }
  std::vector<std::string> w = words(ctx.paramsUpper);
  Columns c;
  if (w.empty()) {
    std::optional<SelectedLines> sel = selectedLines(task);
    if (!sel) return message(s, "SELECT295", "No selection, and no parameters specified."), std::nullopt;
    if (task.selection.mode == SelectionMode::Stream)
      return message(s, "SELECT290", "Selection is stream, use CTRL + Mouse to select rectangle."), std::nullopt;
    c.start = task.selection.mode == SelectionMode::Rectangle ? task.selection.startCol : 1;
    c.end = task.selection.mode == SelectionMode::Rectangle ? task.selection.endCol : maxRecLenOf(task);
    for (Line* p = sel->first; p; p = p == sel->last ? nullptr : p->next)
      if (p->is(LineKind::Text)) c.lines.push_back(p);
    return c;
  }
  long start = 0, end = 0;
  if (!readCount(w[0], start) || start < 1) return message(s, "SELECT300", "SELECT065 Start column must be 1 or greater."), std::nullopt;
  end = start;
  if (w.size() > 1 && (!readCount(w[1], end) || end < start))
    return message(s, "SELECT305", "End column must be equal or greater than start column."), std::nullopt;
  c.start = static_cast<int>(start);
  c.end = static_cast<int>(std::min<long>(end, maxRecLenOf(task)));
  loadAll(task);
  for (Line* p = task.lines.first; p; p = p->next)
    if (p->is(LineKind::Text)) c.lines.push_back(p);
  return c;
}

// The bytes of the characters that begin in columns [start, end] (a byte a
// column outside a UTF-8 task).
ByteRange columnBytes(const TextColumns& columns, std::string_view text, int start, int end) {
  if (!columns.utf8())
    return {std::min(text.size(), static_cast<std::size_t>(start - 1)),
            std::min(text.size(), static_cast<std::size_t>(end))};
  return columns.bytesOf(text, start, end);
}

// Adds pads to the text up to `width` columns.
void padToColumns(const TextColumns& columns, std::string& text, int width, char pad) {
  int have = columns.width(text);
  if (have < width) text.append(static_cast<std::size_t>(width - have), pad);
}

std::string columnsText(const TextColumns& columns, const Line& line, int start, int end) {
  std::string_view text = line.text();
  ByteRange r = columnBytes(columns, text, start, end);
  return std::string(text.substr(r.first, r.end - r.first));
}

bool copyColumns(Session& s, Task& task, const Columns& c) {
  TextColumns columns(task);
  std::string out = ebcdicFile(task) ? std::string(kEbcdicMarker) : std::string();
  std::size_t estimate = c.lines.size() * static_cast<std::size_t>(c.end - c.start + 3);
  if (estimate > kClipboardLimit)
    return message(s, "SELECT275", "Selection size exceeds available clipboard memory, can not copy."), false;
  for (Line* p : c.lines) {
    std::string piece = columnsText(columns, *p, c.start, c.end);
    if (std::size_t zero = piece.find('\0'); zero != std::string::npos) {
      out += piece.substr(0, zero);
      message(s, "SELECT270", "CUT/COPY of data with x'00' will result in premature end at paste time, use MM or CC.");
      break;
    }
    out += piece + "\r\n";
  }
  s.platform().setClipboard(out);
  return true;
}

// The columns leave each line; the text right of them moves left (a FIXED
// record keeps its length).
void deleteColumns(Task& task, const Columns& c) {
  bool fixed = task.profile && task.profile->recfm == kRecfmFixed;
  char pad = padCharFor(task, LineKind::Text);
  TextColumns columns(task);
  for (Line* p : c.lines) {
    std::string text(p->text());
    ByteRange r = columnBytes(columns, text, c.start, c.end);
    if (r.first == r.end) continue;
    text.erase(r.first, r.end - r.first);
    if (fixed) text.resize(static_cast<std::size_t>(p->length()), pad);
    setLineText(task, p, text);
  }
}

void refresh(Session& s) {
  if (EditPanel* panel = currentEditPanel(s)) panel->refreshData();
}

}  // namespace

void colsCopyCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (std::optional<Columns> c = columnsOf(ctx, *task, "")) copyColumns(ctx.session, *task, *c);
}

void colsCutCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::optional<Columns> c = columnsOf(ctx, *task, "SELECT240");
  if (!c || !copyColumns(ctx.session, *task, *c)) return;
  deleteColumns(*task, *c);
  clearSelection(*task);
  refresh(ctx.session);
}

void colsDeleteCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::optional<Columns> c = columnsOf(ctx, *task, "SELECT245");
  if (!c) return;
  deleteColumns(*task, *c);
  clearSelection(*task);
  refresh(ctx.session);
}

// Blank columns at the start column, at most 255 at a time; a line shorter
// than the start column is left as it is, and no line grows past MaxRecLen
// (blanks at its end make room, else it keeps its length by losing them).
void colsInsertCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::optional<Columns> c = columnsOf(ctx, *task, "SELECT245");
  if (!c) return;
  int count = c->end - c->start + 1;
  if (count > kMaxInsert) {
    messagef(ctx.session, "SELECT250", "Insert limited to %d columns, repeat command if more needed.", kMaxInsert);
    count = kMaxInsert;
  }
  auto max = static_cast<std::size_t>(maxRecLenOf(*task));
  char pad = padCharFor(*task, LineKind::Text);
  TextColumns columns(*task);
  for (Line* p : c->lines) {
    std::string text(p->text());
    if (columns.width(text) < c->start - 1) continue;
    text.insert(columns.startOf(text, c->start), static_cast<std::size_t>(count), pad);
    if (text.size() > max) {
      std::string_view cut = std::string_view(text).substr(max);
      if (cut.find_first_not_of(pad) != std::string_view::npos) {
        message(ctx.session, "", "COLSINSERT would push text past MaxRecLen on a line, that line is left as it was.");
        setLineFlag(*task, p, LineFlag::Error, true);
        continue;
      }
      text.resize(max);
    }
    setLineText(*task, p, text);
  }
  refresh(ctx.session);
}

namespace {

// The text with the characters that begin in columns [start, start+width)
// moved to begin at column `to` (left of them) or to end before it (right).
std::string movedField(const TextColumns& columns, std::string_view text, int start, int width,
                       int to) {
  ByteRange field = columnBytes(columns, text, start, start + width - 1);
  std::size_t at = columns.startOf(text, to);
  std::string_view bytes = text.substr(field.first, field.end - field.first);
  std::string out;
  if (at <= field.first) {
    out.append(text.substr(0, at)).append(bytes).append(text.substr(at, field.first - at));
  } else {
    out.append(text.substr(0, field.first))
        .append(text.substr(field.end, at - field.end))
        .append(bytes);
  }
  out.append(text.substr(std::max(at, field.end)));
  return out;
}

}  // namespace

// COLSMOVE start-col field-width new-col [.label .label]: the field moves so
// that it starts at new-col (left of it), or ends just before new-col
// (right of it), on every TEXT line of the range.
void colsMoveCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task) return;
  if (task->mode == TaskMode::Browse) return message(s, "SELECT245", "In BROWSE, no modify allowed");
  constexpr std::string_view kForm = "COLSMOVE, parameter error, correct form:\n\nP1 = start-col,  P2 = field-width,  P3 = new-col";
  std::vector<std::string> w = words(ctx.paramsUpper);
  long start = 0, width = 0, to = 0;
  if (w.size() < 3 || !readCount(w[0], start) || !readCount(w[1], width) || !readCount(w[2], to) || start < 1 ||
      width < 1 || to < 1)
    return message(s, "", kForm);
  if (to >= start && to <= start + width)
    return message(s, "", "COLSMOVE,  'new-col'  must be left or right of field to be moved.");
  loadAll(*task);
  Line* first = task->lines.first;
  Line* last = task->lines.last;
  for (std::size_t i = 3; i < w.size() && i < 5; ++i) {
    Line* at = lineByLabel(*task, w[i]);
    if (!at) return messagef(s, "", "COLSMOVE, label  '%s'  not found.", w[i]);
    (i == 3 ? first : last) = at;
  }
  if (ordinalOf(*task, last) < ordinalOf(*task, first)) std::swap(first, last);
  char pad = padCharFor(*task, LineKind::Text);
  TextColumns columns(*task);
  auto max = static_cast<std::size_t>(maxRecLenOf(*task));
  for (Line* p = first; p; p = p == last ? nullptr : p->next) {
    if (!p->is(LineKind::Text)) continue;
    std::string text(p->text());
    std::size_t length = text.size();
    auto need = static_cast<std::size_t>(std::max(start + width - 1, to - 1));
    if (need > max) continue;
    padToColumns(columns, text, static_cast<int>(need), pad);
    std::string moved = movedField(columns, text, static_cast<int>(start), static_cast<int>(width),
                                   static_cast<int>(to));
    std::size_t keep = std::max(length, moved.find_last_not_of(pad) + 1);
    moved.resize(std::min(moved.size(), keep));
    // Characters wider in bytes than in columns may not fit the record.
    if (moved.size() > std::max(max, length)) continue;
    if (moved != p->text()) setLineText(*task, p, moved);
  }
  refresh(s);
}

namespace {

// The clipboard as a block of columns: lines of one width, at most 1023;
// nothing after the message that refuses it.
std::optional<std::vector<std::string>> clipboardBlock(Session& s, Task& task) {
  std::string text = s.platform().clipboard();
  bool ebcdic = text.starts_with(kEbcdicMarker);
  if (ebcdic) text.erase(0, kEbcdicMarker.size());
  if (text.empty()) return message(s, "SELECT205", "Clipboard is empty."), std::nullopt;
  if (text.back() != '\n')
    return message(s, "SELECT187", "COLSPASTE clipboard contains stream, can not do column paste."), std::nullopt;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    std::size_t stop = end > at && text[end - 1] == '\r' ? end - 1 : end;
    lines.push_back(text.substr(at, stop - at));
    at = end + 1;
  }
  // Widths are columns in a UTF-8 task (a wide character counts two).
  TextColumns columns(task);
  int width = columns.width(lines.front());
  for (const std::string& line : lines)
    if (columns.width(line) != width)
      return message(s, "SELECT190", "COLSPASTE clipboard lines do not have uniform length, can not continue."), std::nullopt;
  if (width > 1023)
    return messagef(s, "SELECT200", "COLSPASTE max width allowed for cols paste field is %d.", 1023), std::nullopt;
  if (ebcdic != ebcdicFile(task)) {
    Charset display = task.profile ? task.profile->charsetDisplay : Charset::AsciiIso8859;
    int table = ebcdic ? displayTable(display) : typedTable(display);
    for (std::string& line : lines) {
      auto* bytes = reinterpret_cast<unsigned char*>(line.data());
      translate(s, table, bytes, bytes, line.size());
    }
  }
  return lines;
}

}  // namespace

// COLSPASTE [column] [.label] or over a rectangle selection: the clipboard's
// lines go in as a block of columns at the column, one into each TEXT line
// from the line on (the text right of it moves right).
void colsPasteCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task) return;
  if (task->mode == TaskMode::Browse) return message(s, "SELECT245", "In BROWSE, no modify allowed");
  std::vector<std::string> w = words(ctx.paramsUpper);
  std::optional<SelectedLines> sel = selectedLines(*task);
  Line* line = nullptr;
  long column = 0;
  if (sel) {
    if (!w.empty()) return message(s, "SELECT175", "COLSPASTE not allowed to specify parameters when there is a selection");
    if (task->selection.mode != SelectionMode::Rectangle)
      return message(s, "SELECT172", "COLSPASTE not allowed to paste block into non-block selection");
    line = sel->first;
    column = task->selection.startCol;
  } else {
    std::string label;
    for (const std::string& word : w) {
      long n = 0;
      if (word.starts_with('.')) {
        if (!label.empty()) return message(s, "SELECT180", "COLSPASTE only allowed to specify one label.");
        label = word;
      } else if (readCount(word, n)) {
        if (column > 0) return message(s, "SELECT177", "COLSPASTE only allowed to specify one column.");
        column = n;
      } else {
        return message(s, "SELECT182", "COLSPASTE parameter must be column number or label.");
      }
    }
    EditPanel* panel = currentEditPanel(s);
    bool onPanel = panel && &panel->task == task && panel->dataIndex(panel->cursorRow) >= 0;
    line = !label.empty() ? lineByLabel(*task, label) : onPanel ? panel->lineAtRow(panel->cursorRow) : nullptr;
    if (!label.empty() && !line) return messagef(s, "", "Label '%s' not found.", label);
    if (column == 0 && onPanel && panel->cursorCol > panel->prefixWidth())
      column = panel->displayOffset() + panel->cursorCol - panel->prefixWidth();
  }
  if (!line || column < 1 || column > maxRecLenOf(*task))
    return message(s, "SELECT185", "COLSPASTE column must be in the data area of a line.");
  std::optional<std::vector<std::string>> block = clipboardBlock(s, *task);
  if (!block) return;
  auto max = static_cast<std::size_t>(maxRecLenOf(*task));
  char pad = padCharFor(*task, LineKind::Text);
  TextColumns columns(*task);
  std::size_t i = 0;
  for (Line* p = line; p && i < block->size(); p = p->next) {
    if (!p->is(LineKind::Text)) continue;
    std::string text(p->text());
    padToColumns(columns, text, static_cast<int>(column - 1), pad);
    text.insert(columns.startOf(text, static_cast<int>(column)), (*block)[i++]);
    if (text.size() > max) {
      if (std::string_view(text).substr(max).find_first_not_of(pad) != std::string_view::npos) {
        message(s, "", "COLSPASTE would push text past MaxRecLen on a line, that line is left as it was.");
        setLineFlag(*task, p, LineFlag::Error, true);
        continue;
      }
      text.resize(max);
    }
    setLineText(*task, p, text);
  }
  clearSelection(*task);
  refresh(s);
}

}  // namespace kiv
