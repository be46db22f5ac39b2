// Linking, unlinking and moving lines, line numbers and where new lines go:
// the store's structure changes only here.
#include <algorithm>

#include "core/edit_step.h"
#include "core/excluded.h"
#include "core/hex_view.h"
#include "core/line_observer.h"
#include "core/line_ops.h"

namespace kiv {

void linkLineBefore(Task& task, Line* before, Line* line) {
  task.lines.insertBefore(before, line);
  task.index.linked(line);
  if (line->hasPendingCommand()) task.pendingLines.insert(line);
  if (line->is(LineKind::Text)) ++task.textLines;
  if (!before) return;  // an append at the end: the loader's way, seen through the count
  ++task.structureChanges;
  tellObservers(task.session, [&](LineObserver& o) { o.afterInsert(task, line); });
}

void unlinkLine(Task& task, Line* line) {
  tellObservers(task.session, [&](LineObserver& o) { o.beforeRemove(task, line); });
  if (task.topLine == line) task.topLine = line->next ? line->next : line->prev;
  task.index.unlinking(line);
  task.lines.remove(line);
  ++task.structureChanges;
  task.pendingLines.erase(line);
  if (line->is(LineKind::Text)) --task.textLines;
}

long ordinalOf(Task& task, const Line* line) {
  return std::max(task.index.ordinalOf(line), 0L);
}

Line* textLineAt(Task& task, long n) {
  return task.index.textLineAt(n);
}

Line* placeBelow(Task& task, Line* line) {
  if (line->is(LineKind::Bof)) return line;
  Line* point = nextLoadedLine(task, line);
  while (point && (hiddenLine(task, point) || isHexViewLine(point))) point = nextLoadedLine(task, point);
  return point;
}

void linkBelow(Task& task, Line* line, Line* fresh) {
  linkLineBefore(task, placeBelow(task, line), fresh);
  if (hexViewShown(task)) insertHexLinesAfter(task, fresh);
}

namespace {

// The line after `line` and the hex view rows that belong to it.
Line* afterHexRows(Line* line) {
  Line* p = line->next;
  while (p && isHexViewLine(p)) p = p->next;
  return p;
}

// `before` lies within `first`..`last` or outside the store, or the range is
// not the store's in that order.
bool badMove(Task& task, Line* first, Line* last, Line* before) {
  if (task.index.ordinalOf(first) < 0 || task.index.ordinalOf(last) < 0) return true;
  if (before && task.index.ordinalOf(before) < 0) return true;
  for (Line* p = first;; p = p->next) {
    if (!p || p == before) return true;
    if (p == last) return false;
  }
}

}  // namespace

int moveLines(Task& task, Line* first, Line* last, Line* before) {
  if (!first || !last || first->is(LineKind::Tof) || badMove(task, first, last, before)) return -1;
  if (before ? before->is(LineKind::Tof) : task.lines.last->is(LineKind::Bof)) return -1;
  for (Line* p = first;; p = p->next) {
    if (p->is(LineKind::Bof)) return -1;
    if (p == last) break;
  }
  Line* end = afterHexRows(last);  // hex rows go with their line
  if (before && isHexViewLine(before)) before = afterHexRows(before->prev);
  if (before == end) return 0;
  last = end ? end->prev : task.lines.last;
  tellObservers(task.session, [&](LineObserver& o) { o.beforeMove(task, first, last, before); });
  bool data = false;
  for (Line* p = first; p != end;) {
    Line* next = p->next;
    data = data || p->is(LineKind::Text);
    task.index.unlinking(p);
    task.lines.remove(p);
    task.lines.insertBefore(before, p);
    task.index.linked(p);
    p = next;
  }
  ++task.structureChanges;
  noteModified(task, data);
  return 0;
}

}  // namespace kiv
