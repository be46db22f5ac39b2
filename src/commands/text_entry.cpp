#include "commands/text_entry.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "commands/line_shift.h"
#include "commands/text_flow.h"
#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr int kMaxWidth = 255;
// Fewer columns than this leave no room for typing a paragraph.
constexpr int kMinWidth = 10;
// Rows opened when no screen says how many fit.
constexpr int kRowsWithoutScreen = 10;

using Paragraph = std::vector<std::string>;

// Appends the words of `text` to `para`; with `glue` the first word goes on
// the last one (it was cut by the right edge of the row before).
void readWords(std::string_view text, char pad, bool glue, Paragraph& para) {
  for (std::size_t at = text.find_first_not_of(pad); at != std::string_view::npos;
       at = text.find_first_not_of(pad, at)) {
    std::size_t end = std::min(text.find(pad, at), text.size());
    std::string_view word = text.substr(at, end - at);
    if (glue && at == 0 && !para.empty())
      para.back() += word;
    else
      para.emplace_back(word);
    at = end;
  }
}

// The area's TEXT lines, first to last; empty when the walk does not reach
// the last (a move changed their order).
std::vector<Line*> areaLines(const HeldRange& r) {
  std::vector<Line*> lines;
  for (Line* p = r.first; p; p = p->next) {
    if (p->is(LineKind::Text)) lines.push_back(p);
    if (p == r.last) return lines;
  }
  return {};
}

// Words longer than the width (in columns) are cut into pieces that fit,
// between characters.
Paragraph fitWords(const TextColumns& columns, const Paragraph& words, int width) {
  Paragraph out;
  for (std::string_view w : words)
    for (std::size_t at = 0; at < w.size();) {
      std::string_view rest = w.substr(at);
      std::size_t next = at + std::min(columns.byteOf(rest, width + 1), rest.size());
      // A character wider than the whole row still takes one.
      if (next == at) next = at + static_cast<std::size_t>(glyphAt(w, at).bytes);
      out.emplace_back(w.substr(at, next - at));
      at = next;
    }
  return out;
}

// The rows of the flowed text: each paragraph's, one empty row between two.
std::vector<std::string> flowedRows(Task& task, const std::vector<Line*>& lines, int left,
                                    int right) {
  char pad = padCharFor(task, LineKind::Text);
  TextColumns columns(task);
  std::vector<Paragraph> paragraphs(1);
  bool glue = false;
  for (Line* line : lines) {
    std::string_view text = line->text();
    std::size_t end = text.find_last_not_of(pad);
    if (end == std::string_view::npos) {
      if (!paragraphs.back().empty()) paragraphs.emplace_back();
      glue = false;
      continue;
    }
    std::size_t start = std::min(columns.startOf(text, left), end + 1);
    // Text typed left of the area's margin is kept as words of its own.
    readWords(text.substr(0, start), pad, false, paragraphs.back());
    readWords(text.substr(start, end + 1 - start), pad, glue, paragraphs.back());
    glue = columns.columnOf(text, end + 1) - 1 >= right;
  }
  std::vector<std::string> rows;
  for (const Paragraph& para : paragraphs) {
    if (para.empty()) continue;
    if (!rows.empty()) rows.emplace_back();
    std::vector<std::string> packed =
        packWords(task, fitWords(columns, para, right - left + 1), right - left + 1);
    for (std::string& row : packed) rows.push_back(std::string(static_cast<std::size_t>(left - 1), pad) + row);
  }
  return rows;
}

}  // namespace

int openTextEntry(Task& task, Line* line, int rightColumn, TextEntryRoom room) {
  Session& s = task.session;
  if (task.profile && task.profile->hexView) {
    message(s, "LCMDDISP45", "TE not allowed in hex mode.");
    return -1;
  }
  if (task.profile && task.profile->recfm == kRecfmFixed) {
    message(s, "LCMDDISP65", "TE only allowed with variable record format files, TE ignored.");
    return -1;
  }
  if (!line->is(LineKind::Text) && !line->is(LineKind::Tof)) {
    message(s, "", "TE not allowed on non-text line.");
    return -1;
  }
  Bounds b = textBounds(task);
  char pad = padCharFor(task, LineKind::Text);
  TextColumns columns(task);
  std::string_view text = line->text();
  std::size_t first = line->is(LineKind::Text) && columns.width(text) >= b.left
                          ? text.find_first_not_of(pad, columns.startOf(text, b.left))
                          : std::string_view::npos;
  int indent = first == std::string_view::npos ? b.left - 1 : columns.columnOf(text, first) - 1;
  int right = rightColumn;
  if (right > 0 && right - indent > kMaxWidth) {
    messagef(s, "LCMDDISP50", "TE width is limited to %d.", kMaxWidth);
    return -1;
  }
  if (right <= 0)
    right = std::min({b.right, room.lastColumn > 0 ? room.lastColumn : 80, indent + kMaxWidth});
  right = std::min(right, maxRecLenOf(task));
  if (right <= indent) {
    message(s, "LCMDDISP55", "TE right bound less than current indent, TE ignored.");
    return -1;
  }
  if (right - indent < kMinWidth) {
    message(s, "LCMDDISP60", "TE width insufficient, TE ignored.");
    return -1;
  }
  closeTextEntry(task);
  int rows = room.rows > 1 ? room.rows - 1 : kRowsWithoutScreen;
  Line* place = placeBelow(task, line);
  Line* before = place ? place->prev : task.lines.last;  // the new lines follow it
  if (insertLinesBelow(task, line, rows) != 0) return -1;
  Line* last = before->next;
  for (int i = 1; i < rows; ++i) last = last->next;
  task.textEntry = TextEntryArea{{before->next, last}, indent + 1, right};
  return 0;
}

void closeTextEntry(Task& task) {
  TextEntryArea area = task.textEntry;
  task.textEntry = {};
  if (!area.lines.held()) return;
  std::vector<Line*> lines = areaLines(area.lines);
  if (lines.empty()) return;
  std::vector<std::string> rows = flowedRows(task, lines, area.left, area.right);
  Line* placed = nullptr;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i < lines.size()) {
      if (rows[i] != lines[i]->text()) setLineText(task, lines[i], rows[i]);
      setLineFlag(task, lines[i], LineFlag::Inserted, false);  // typed: no longer open
      placed = lines[i];
      continue;
    }
    Line* fresh = createLine(task, rows[i], LineKind::Text);
    if (!fresh) return;
    linkBelow(task, placed, fresh);
    placed = fresh;
  }
  for (std::size_t i = rows.size(); i < lines.size(); ++i) deleteLine(task, lines[i], true);
}

}  // namespace kiv
