#include "commands/selection_ops.h"

#include <algorithm>
#include <string>

#include "commands/line_range_ops.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "core/task.h"
#include "core/text_columns.h"

namespace kiv {

std::pair<std::size_t, std::size_t> spanBytes(const Task& task, const Line& line, const ColumnSpan& span) {
  std::string_view text = line.text();
  TextColumns columns(task);
  // Columns past the text hold nothing; a whole line's end is far past it.
  int last = std::min(span.end, std::max(columns.width(text), span.start));
  if (last < span.start) {
    std::size_t at = std::min(columns.byteOf(text, span.start), text.size());
    return {at, at};
  }
  ByteRange r = columns.bytesOf(text, span.start, last);
  return {r.first, r.end};
}

namespace {

void appendCutAtZero(std::string& out, std::string_view bytes, bool& cutAtZero) {
  std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) {
    cutAtZero = true;
    bytes = bytes.substr(0, zero);
  }
  out.append(bytes);
}

}  // namespace

std::optional<SelectedLines> selectedLines(Task& task) {
  const Selection& sel = task.selection;
  if (!sel.active()) return std::nullopt;
  Line* first = sel.lines.first;
  Line* last = sel.lines.last;
  if (ordinalOf(task, last) < ordinalOf(task, first)) std::swap(first, last);
  return SelectedLines{first, last};
}

bool forEachSelectedPart(Task& task, const std::function<bool(const SelectedPart&)>& visit) {
  std::optional<SelectedLines> range = selectedLines(task);
  if (!range) return true;
  bool stream = task.selection.mode == SelectionMode::Stream;
  for (Line* p = range->first; p; p = p == range->last ? nullptr : p->next) {
    std::optional<ColumnSpan> span =
        columnsWithin(task.selection, *p, p == range->first, p == range->last);
    if (!span) continue;
    auto [from, to] = spanBytes(task, *p, *span);
    bool partLast = stream && p == range->last && span->end < kWholeLineEnd;
    if (!visit({p->text().substr(from, to - from), partLast})) return false;
  }
  return true;
}

std::optional<std::string> selectionText(Task& task, bool& cutAtZero) {
  cutAtZero = false;
  std::optional<SelectedLines> range = selectedLines(task);
  if (!range) return std::nullopt;
  std::size_t estimate = 0;
  for (Line* p = range->first; p; p = p == range->last ? nullptr : p->next)
    if (p->is(LineKind::Text)) estimate += static_cast<std::size_t>(p->length()) + 2;
  if (estimate > kClipboardLimit) return std::nullopt;
  std::string out;
  if (ebcdicFile(task)) out = kEbcdicMarker;
  forEachSelectedPart(task, [&](const SelectedPart& part) {
    appendCutAtZero(out, part.bytes, cutAtZero);
    if (cutAtZero) return false;
    if (!part.partLast) out += "\r\n";
    return true;
  });
  return out;
}

std::string linesText(Task& task, const std::vector<Line*>& lines, bool& cutAtZero) {
  cutAtZero = false;
  std::string out;
  if (ebcdicFile(task)) out = kEbcdicMarker;
  for (Line* p : lines) {
    appendCutAtZero(out, p->text(), cutAtZero);
    if (cutAtZero) break;
    out += "\r\n";
  }
  return out;
}

SelectionStart deleteSelection(Task& task) {
  std::optional<SelectedLines> range = selectedLines(task);
  if (!range) return {};
  Selection sel = task.selection;
  clearSelection(task);
  SelectionStart start{range->first, sel.mode == SelectionMode::WholeLine ? 0 : sel.startCol - 1};
  if (sel.mode == SelectionMode::WholeLine) {
    Line* after = range->last->next;
    deleteRange(task, range->first, range->last);
    return {after, 0};
  }
  bool fixed = task.profile && task.profile->recfm == kRecfmFixed;
  char pad = padCharFor(task, LineKind::Text);
  if (sel.mode == SelectionMode::Rectangle) {
    for (Line* p = range->first; p; p = p == range->last ? nullptr : p->next) {
      if (!p->is(LineKind::Text)) continue;
      auto [from, to] = spanBytes(task, *p, {sel.startCol, sel.endCol});
      if (from == to) continue;
      std::string text(p->text());
      text.erase(from, to - from);
      if (fixed) text.resize(static_cast<std::size_t>(p->length()), pad);
      setLineText(task, p, text);
    }
    return start;
  }
  // A stream: the first line's head and the last line's tail make one line.
  Line* first = range->first;
  Line* last = range->last;
  std::size_t headEnd = spanBytes(task, *first, {sel.startCol, sel.startCol}).first;
  std::string text(first->text().substr(0, headEnd));
  if (first == last) {
    auto [from, to] = spanBytes(task, *first, {sel.startCol, sel.endCol});
    text = std::string(first->text()).erase(from, to - from);
  } else {
    text += last->text().substr(spanBytes(task, *last, {1, sel.endCol}).second);
    if (first->next != last) deleteLines(task, first->next, last->prev, true);
    deleteLine(task, last, true);
  }
  if (fixed) text.resize(static_cast<std::size_t>(first->length()), pad);
  setLineText(task, first, text);
  return start;
}

}  // namespace kiv
