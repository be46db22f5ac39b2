// Linking, unlinking and moving lines, line numbers and where new lines go:
// the store's structure changes only here.
#include <algorithm>
#include <unordered_set>
#include <vector>

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

namespace kiv {

namespace {

// A line and the hex view rows under it: what moves as one.
struct Group {
  Line* first;
  Line* last;
};

Group groupOf(Line* line) {
  Line* last = line;
  while (last->next && isHexViewLine(last->next)) last = last->next;
  return {line, last};
}

}  // namespace

int reorderLines(Task& task, const std::vector<Line*>& order) {
  if (order.size() < 2) return 0;
  // The places: the same lines in store order.
  std::vector<std::pair<long, Line*>> places;
  places.reserve(order.size());
  for (Line* line : order) {
    long at = task.index.ordinalOf(line);
    if (at < 0 || !line->is(LineKind::Text)) return -1;
    places.emplace_back(at, line);
  }
  std::sort(places.begin(), places.end());
  for (std::size_t i = 1; i < places.size(); ++i)
    if (places[i].second == places[i - 1].second) return -1;
  std::vector<Line*> now;
  now.reserve(places.size());
  for (auto& p : places) now.push_back(p.second);
  tellObservers(task.session, [&](LineObserver& o) { o.beforeReorder(task, now); });
  // The range from the first place to the last; lines of it that are not
  // in `order` (and not hex rows of one that is) stay where they are.
  std::unordered_set<const Line*> moving(order.begin(), order.end());
  Line* end = groupOf(now.back()).last->next;
  std::vector<Line*> sequence;
  std::size_t next = 0;
  for (Line* p = now.front(); p != end;) {
    if (moving.count(p)) {
      Group g = groupOf(order[next++]);
      for (Line* q = g.first;; q = q->next) {
        sequence.push_back(q);
        if (q == g.last) break;
      }
      p = groupOf(p).last->next;
    } else {
      sequence.push_back(p);
      p = p->next;
    }
  }
  for (Line* p : sequence) {
    task.index.unlinking(p);
    task.lines.remove(p);
  }
  for (Line* p : sequence) {
    task.lines.insertBefore(end, p);
    task.index.linked(p);
  }
  ++task.structureChanges;
  noteModified(task, true);
  return 0;
}

}  // namespace kiv
