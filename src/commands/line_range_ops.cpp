#include "commands/line_range_ops.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "commands/column_cells.h"
#include "commands/line_shift.h"
#include "core/bounds.h"
#include "core/edit_step.h"
#include "core/excluded.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "services/messages.h"

namespace kiv {

namespace {

bool isMarker(const Line* line) {
  return line->is(LineKind::Excluded);
}

// The lines a copy takes: everything but hex view rows and excluded markers.
std::vector<Line*> linesToCopy(Line* first, Line* last) {
  std::vector<Line*> out;
  for (Line* p = first; p; p = p == last ? nullptr : p->next)
    if (!isHexViewLine(p) && !isMarker(p) && !p->is(LineKind::Tof) && !p->is(LineKind::Bof))
      out.push_back(p);
  return out;
}

// The ruler a COLS line turned into data holds.
std::string rulerData(int width) {
  std::string out(static_cast<std::size_t>(width), '-');
  for (int col = 1; col <= width; ++col) {
    if (col % 10 == 0)
      out[static_cast<std::size_t>(col - 1)] = static_cast<char>('0' + col / 10 % 10);
    else if (col % 5 == 0)
      out[static_cast<std::size_t>(col - 1)] = '+';
  }
  return out;
}

// Lines made by a copy, a move or make-data get their numbers between their
// neighbours when the profile numbers lines as they come (NumberAuto Incr).
bool numbersAsTheyCome(const Task& task) {
  return task.profile && task.profile->numberType != NumberType::None &&
         task.profile->numberAuto == NumberAuto::Incr;
}

void numberLines(Task& task, const std::vector<Line*>& lines) {
  if (!numbersAsTheyCome(task)) return;
  for (Line* line : lines)
    if (line->is(LineKind::Text)) numberLine(task, line);
}

}  // namespace

Line* rangeEnd(Task& task, Line* from, long count) {
  Line* end = from;
  for (long shown = 1; shown < count;) {
    Line* next = nextLoadedLine(task, end);
    if (!next || next->is(LineKind::Bof)) break;
    end = next;
    if (!hiddenLine(task, end) && !isHexViewLine(end)) ++shown;
  }
  while (end->next && isHexViewLine(end->next)) end = end->next;
  return extendOverExcluded(task, end);
}

Line* copyRange(Task& task, Line* first, Line* last, Line* after, Line* before, long times) {
  std::vector<Line*> source = linesToCopy(first, last);
  std::vector<Line*> copies;
  Line* firstCopy = nullptr;
  for (long t = 0; t < times; ++t) {
    for (Line* s : source) {
      Line* copy = copyLine(task, s);
      if (!copy) return firstCopy;  // reported by the store
      if (after) {
        linkBelow(task, after, copy);
        after = copy;
      } else {
        linkLineBefore(task, before, copy);
        if (hexViewShown(task)) insertHexLinesAfter(task, copy);
      }
      if (!firstCopy) firstCopy = copy;
      copies.push_back(copy);
    }
  }
  if (firstCopy) noteModified(task, true);
  numberLines(task, copies);
  return firstCopy;
}

int moveRange(Task& task, Line* first, Line* last, Line* after, Line* before) {
  std::vector<Line*> moved = linesToCopy(first, last);
  if (moveLines(task, first, last, after ? placeBelow(task, after) : before) != 0) return -1;
  numberLines(task, moved);
  return 0;
}

int deleteRange(Task& task, Line* first, Line* last) {
  return deleteLines(task, first, extendOverExcluded(task, last), true) < 0 ? -1 : 0;
}

void excludeRange(Task& task, Line* first, Line* last) {
  // Widen to the excluded runs that touch the range on either side, so that
  // one marker stands for all; a marker holding a line command stays.
  auto joins = [](const Line* p) {
    return p && !p->hasPendingCommand() && !p->is(LineKind::Tof) && !p->is(LineKind::Bof) &&
           (isMarker(p) || !p->shown());
  };
  while (joins(first->prev)) first = first->prev;
  last = extendOverExcluded(task, last);
  while (joins(last->next)) last = last->next;
  int count = 0;
  std::vector<Line*> markers;
  Line* firstHidden = nullptr;
  for (Line* p = first; p; p = p == last ? nullptr : p->next) {
    if (isMarker(p)) {
      markers.push_back(p);
      continue;
    }
    if (p->is(LineKind::Tof) || p->is(LineKind::Bof)) continue;
    setLineFlag(task, p, LineFlag::Shown, false);
    if (!firstHidden) firstHidden = p;
    if (!isHexViewLine(p)) ++count;
  }
  for (Line* m : markers) deleteLine(task, m, true);
  if (!firstHidden || count == 0) return;
  Line* marker = createExcludedMarker(task, count);
  if (marker) linkLineBefore(task, firstHidden, marker);
}

void showFromRun(Task& task, Line* marker, long count, bool first) {
  std::vector<Line*> run;
  for (Line* p = marker->next; p && !p->shown() && !p->is(LineKind::Bof); p = p->next)
    if (!isHexViewLine(p)) run.push_back(p);
  long n = std::min<long>(count, static_cast<long>(run.size()));
  std::size_t from = first ? 0 : run.size() - static_cast<std::size_t>(n);
  for (std::size_t i = from; i < from + static_cast<std::size_t>(n); ++i) {
    setLineFlag(task, run[i], LineFlag::Shown, true);
    for (Line* h = run[i]->next; h && isHexViewLine(h); h = h->next)
      setLineFlag(task, h, LineFlag::Shown, true);
  }
  long left = static_cast<long>(run.size()) - n;
  if (left == 0) {
    deleteLine(task, marker, true);
    return;
  }
  setExcludedMarker(task, marker, static_cast<int>(left));
  if (first) moveLines(task, marker, marker, run[static_cast<std::size_t>(n)]);
}

namespace {

// overlayRange for one line of a UTF-8 task, by columns: a character of the
// source goes over pads of the target in all the columns it takes; a wide
// one across the right bound is not laid over. False when a character of
// the source met a different one.
bool overlayCells(std::string_view from, std::string& text, Bounds b, char pad) {
  std::vector<Cell> source = toCells(from), target = toCells(text);
  bool complete = true;
  int end = std::min<int>(b.right, static_cast<int>(source.size()));
  for (int col = b.left - 1; col < end; ++col) {
    const Cell& c = source[static_cast<std::size_t>(col)];
    if (isPad(c, pad) || c.second()) continue;
    auto at = static_cast<std::size_t>(col), past = at + static_cast<std::size_t>(c.cells);
    if (col + c.cells > b.right) {
      complete = false;
      continue;
    }
    if (target.size() < past) target.resize(past, padCell(pad));
    bool free =
        std::all_of(target.begin() + col, target.begin() + static_cast<std::ptrdiff_t>(past),
                    [&](const Cell& t) { return isPad(t, pad); });
    if (free)
      std::copy(source.begin() + col, source.begin() + static_cast<std::ptrdiff_t>(past),
                target.begin() + col);
    else if (target[at].bytes != c.bytes)
      complete = false;
  }
  text = cellsText(target);
  return complete;
}

bool plainText(std::string_view text) {
  return asciiPrefix(text) == text.size();
}

}  // namespace

bool overlayRange(Task& task, Line* srcFirst, Line* srcLast, Line* dstFirst, Line* dstLast) {
  std::vector<Line*> source;
  for (Line* p = srcFirst; p; p = p == srcLast ? nullptr : p->next)
    if (p->is(LineKind::Text)) source.push_back(p);
  std::vector<Line*> target;
  for (Line* p = dstFirst; p; p = p == dstLast ? nullptr : p->next)
    if (p->is(LineKind::Text)) target.push_back(p);
  if (source.empty()) return true;
  Bounds b = textBounds(task);
  char pad = padCharFor(task, LineKind::Text);
  bool utf8 = utf8Task(task);
  std::size_t fence = numberFence(task, b.right);  // neither line's number is data
  bool complete = true;
  for (std::size_t i = 0; i < target.size(); ++i) {
    std::string_view from = source[i % source.size()]->text();
    std::string text(target[i]->text());
    if (utf8 && !(plainText(from) && plainText(text))) {
      Bounds lb{b.left, std::min(rightBeforeFence(from, fence, b.right),
                                 rightBeforeFence(text, fence, b.right))};
      complete = overlayCells(from, text, lb, pad) && complete;
      std::string aligned;  // a number field stays in its bytes, or the line as it was
      TailPlace number = numberFieldPlace(task, *target[i], text, aligned);
      if (number == TailPlace::Moved) text = std::move(aligned);
      // Characters wider in bytes than in columns may not fit the record.
      if (number == TailPlace::Stuck || (text.size() > target[i]->text().size() &&
                                         static_cast<int>(text.size()) > maxRecLenOf(task)))
        complete = false;
      else if (text != target[i]->text())
        setLineText(task, target[i], text);
      continue;
    }
    auto end = static_cast<std::size_t>(std::min<int>(b.right, static_cast<int>(from.size())));
    for (auto col = static_cast<std::size_t>(b.left - 1); col < end; ++col) {
      if (from[col] == pad) continue;
      if (text.size() <= col) text.resize(col + 1, pad);
      if (text[col] == pad)
        text[col] = from[col];
      else if (text[col] != from[col])
        complete = false;
    }
    if (text != target[i]->text()) setLineText(task, target[i], text);
  }
  return complete;
}

void insertHexNotes(Task& task, Line* first, Line* last) {
  std::vector<Line*> lines;
  for (Line* p = first; p; p = p == last ? nullptr : p->next)
    if (p->is(LineKind::Text)) lines.push_back(p);
  for (Line* line : lines) {
    Line* after = line;
    for (bool high : {true, false}) {
      Line* note = createLine(task, hexDigits(line->text(), high), LineKind::Note);
      if (!note) return;
      setLineFlag(task, note, high ? LineFlag::HexHighNote : LineFlag::HexLowNote, true);
      linkLineBefore(task, after->next, note);
      after = note;
    }
  }
}

namespace {

// The first column (0-based) that is not a pad byte; the length for a blank line.
std::size_t indentOf(const Task& task, const Line* line) {
  std::string_view t = line->text();
  std::size_t at = t.find_first_not_of(padCharFor(task, LineKind::Text));
  return at == std::string_view::npos ? t.size() : at;
}

}  // namespace

void markHiddenStretches(Task& task, Line* after, Line* end) {
  int count = 0;
  Line* start = nullptr;
  for (Line* p = after->next; p != end; p = p->next) {
    if (isHexViewLine(p)) continue;  // they go with the line above them
    if (!p->shown()) {
      if (!start) start = p;
      ++count;
      continue;
    }
    if (start) linkLineBefore(task, start, createExcludedMarker(task, count));
    start = nullptr;
    count = 0;
  }
  if (start) linkLineBefore(task, start, createExcludedMarker(task, count));
}

// The hidden lines of the run behind `marker`.
std::vector<Line*> runOf(const Line* marker) {
  std::vector<Line*> run;
  for (Line* p = marker->next; p && !p->shown() && !p->is(LineKind::Bof); p = p->next)
    if (!isHexViewLine(p)) run.push_back(p);
  return run;
}

// The distinct indentations of the lines, smallest first.
std::vector<std::size_t> indentLevels(const Task& task, const std::vector<Line*>& lines) {
  std::vector<std::size_t> out;
  for (const Line* p : lines) out.push_back(indentOf(task, p));
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

bool indentLevelsLeft(const Task& task, const Line* marker) {
  return indentLevels(task, runOf(marker)).size() > 1;
}

void showByIndent(Task& task, Line* marker, long levels) {
  std::vector<Line*> run = runOf(marker);
  std::vector<std::size_t> levelsFound = indentLevels(task, run);
  if (levelsFound.size() < 2) return;
  std::size_t upTo = levelsFound[std::min<std::size_t>(static_cast<std::size_t>(levels), levelsFound.size() - 1) - 1];
  Line* before = marker->prev;
  Line* end = run.back()->next;
  while (end && isHexViewLine(end)) end = end->next;
  for (std::size_t i = 0; i < run.size(); ++i) {
    if (indentOf(task, run[i]) > upTo) continue;
    setLineFlag(task, run[i], LineFlag::Shown, true);
    for (Line* h = run[i]->next; h && isHexViewLine(h); h = h->next) setLineFlag(task, h, LineFlag::Shown, true);
  }
  deleteLine(task, marker, true);
  markHiddenStretches(task, before, end);
}

namespace {

constexpr std::string_view kNumberInBounds =
    "MU/MUU would move a line number field (characters before it take more bytes than columns); "
    "nothing was moved.";

// MU/MUU in a UTF-8 task: each line's characters that begin in the bounds'
// columns (blanks where the line is short), rotated so that the block's
// come first. A line that would pass MaxRecLen in bytes stops it all.
int rotateColumns(Task& task, const std::vector<Line*>& lines, std::size_t blockSize, Bounds b, char pad) {
  TextColumns columns(true);
  std::vector<std::string> texts, slices;
  std::vector<ByteRange> ranges;
  std::size_t fence = numberFence(task, b.right);
  for (Line* l : lines) {
    // The slices are the same columns on every line: a number field that
    // characters wider in bytes pulled into them would move with them.
    if (rightBeforeFence(l->text(), fence, b.right) < b.right)
      return message(task.session, "", kNumberInBounds), -1;
  }
  for (Line* l : lines) {
    std::string t(l->text());
    int width = columns.width(t);
    if (width < b.right) t.append(static_cast<std::size_t>(b.right - width), pad);
    ByteRange r = columns.bytesOf(t, b.left, b.right);
    slices.push_back(t.substr(r.first, r.end - r.first));
    texts.push_back(std::move(t));
    ranges.push_back(r);
  }
  std::rotate(slices.begin(), slices.end() - static_cast<std::ptrdiff_t>(blockSize), slices.end());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& t = texts[i];
    bool grew = t.size() > lines[i]->text().size();
    t.replace(ranges[i].first, ranges[i].end - ranges[i].first, slices[i]);
    if (grew) t.erase(t.find_last_not_of(pad) + 1);  // no pad added past the old end
    std::string aligned;                             // a number field stays in its bytes
    TailPlace number = numberFieldPlace(task, *lines[i], t, aligned);
    if (number == TailPlace::Stuck) return message(task.session, "", kNumberInBounds), -1;
    if (number == TailPlace::Moved) t = std::move(aligned);
    if (static_cast<int>(t.size()) > maxRecLenOf(task))
      return message(task.session, "", "MU/MUU would push a line past MaxRecLen; nothing was moved."), -1;
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (texts[i] != lines[i]->text()) setLineText(task, lines[i], texts[i]);
  return 0;
}

}  // namespace

int moveDataUp(Task& task, Line* first, Line* last, Line* to) {
  Session& s = task.session;
  Bounds b = textBounds(task);
  int width = b.right - b.left + 1;
  if (width > 256) return messagef(s, "", "MU/MUU only allowed to move BOUNDS data less or equal %d in length.", 256), -1;
  if (ordinalOf(task, to) >= ordinalOf(task, first) || to == first)
    return message(s, "", "MU/MUU 'A/B' insert point must be above top 'MU/MUU' line."), -1;
  std::vector<Line*> block, between;
  for (Line* p = first; p; p = p == last ? nullptr : p->next) {
    if (isHexViewLine(p)) continue;
    if (!p->is(LineKind::Text)) return message(s, "", "MU/MUU non-text line not allowed in block."), -1;
    block.push_back(p);
  }
  for (Line* p = to; p && p != first; p = p->next)
    if (p->is(LineKind::Text)) between.push_back(p);
  Line* check = to;
  for (std::size_t i = 0; i < block.size(); ++i, check = check->next) {
    while (check && isHexViewLine(check)) check = check->next;
    if (!check || !check->is(LineKind::Text))
      return message(s, "", "MU/MUU non-text line not allowed in lines following 'A/B' line."), -1;
  }
  // The slices within the bounds, rotated: the block's first, then the rest.
  std::vector<Line*> lines = between;
  lines.insert(lines.end(), block.begin(), block.end());
  char pad = padCharFor(task, LineKind::Text);
  if (TextColumns(task).utf8()) return rotateColumns(task, lines, block.size(), b, pad);
  auto sliceOf = [&](const Line* l) {
    std::string t(l->text());
    t.resize(static_cast<std::size_t>(std::max<int>(b.right, static_cast<int>(t.size()))), pad);
    return t.substr(static_cast<std::size_t>(b.left - 1), static_cast<std::size_t>(width));
  };
  std::vector<std::string> slices;
  for (Line* l : block) slices.push_back(sliceOf(l));
  for (Line* l : between) slices.push_back(sliceOf(l));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string text(lines[i]->text());
    bool grew = static_cast<int>(text.size()) < b.right;
    text.resize(static_cast<std::size_t>(std::max<int>(b.right, static_cast<int>(text.size()))), pad);
    text.replace(static_cast<std::size_t>(b.left - 1), static_cast<std::size_t>(width), slices[i]);
    if (grew) text.erase(text.find_last_not_of(pad) + 1);  // no pad added past the old end
    if (text != lines[i]->text()) setLineText(task, lines[i], text);
  }
  return 0;
}

int insertSpecialLine(Task& task, Line* line, LineKind kind) {
  std::string text;
  if (kind == LineKind::Bnds) text = boundsLineText(currentBounds(task));
  if (kind == LineKind::Mask && task.profile) text = task.profile->maskLine;
  Line* fresh = createLine(task, text, kind);
  if (!fresh) return -1;
  linkBelow(task, line, fresh);
  return 0;
}

void showHiddenLines(Task& task, const std::vector<Line*>& lines) {
  std::size_t i = 0;
  while (i < lines.size()) {
    if (lines[i]->shown()) {
      ++i;
      continue;
    }
    Line* marker = lines[i]->prev;
    while (marker && !isMarker(marker)) marker = marker->prev;
    Line* runStart = nullptr;
    int count = 0;
    auto closeRun = [&] {
      if (count > 0)
        if (Line* m = createExcludedMarker(task, count)) linkLineBefore(task, runStart, m);
      runStart = nullptr;
      count = 0;
    };
    Line* p = marker ? marker->next : lines[i];
    while (p && !p->shown() && !p->is(LineKind::Bof)) {
      Line* next = p->next;
      while (next && isHexViewLine(next) && !next->shown()) next = next->next;
      if (i < lines.size() && p == lines[i]) {
        closeRun();
        for (Line* h = p; h != next; h = h->next) setLineFlag(task, h, LineFlag::Shown, true);
        ++i;
      } else if (!isHexViewLine(p)) {
        if (!runStart) runStart = p;
        ++count;
      }
      p = next;
    }
    closeRun();
    if (marker) deleteLine(task, marker, true);
  }
}

Line* openNoteBelow(Task& task, Line* line) {
  Line* note = createLine(task, {}, LineKind::Note);
  if (!note) return nullptr;
  setLineFlag(task, note, LineFlag::Inserted, true);
  linkBelow(task, line, note);
  return note;
}

void makeData(Task& task, Line* first, Line* last) {
  std::vector<Line*> made;
  for (Line* p = first; p; p = p == last ? nullptr : p->next) {
    LineKind kind = p->kind();
    bool special = kind == LineKind::Note || kind == LineKind::Cols || kind == LineKind::Bnds ||
                   kind == LineKind::Mask || kind == LineKind::Tabs;
    if (!special) continue;
    if (kind == LineKind::Cols) setLineText(task, p, rulerData(maxRecLenOf(task)));
    setLineFlag(task, p, LineFlag::FromCols, kind == LineKind::Cols);
    setLineFlag(task, p, LineFlag::FromNote, kind == LineKind::Note);
    setLineKind(task, p, LineKind::Text);
    noteModified(task, true);
    made.push_back(p);
  }
  numberLines(task, made);
}

}  // namespace kiv
