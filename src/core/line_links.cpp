// Linking, unlinking and moving lines, line numbers and where new lines go:
// the store's structure changes only here.
#include <algorithm>
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

// The range's lines as they stand and as they will, place by place; false
// when `places` are not in store order.
bool reorderSequences(const std::vector<Line*>& places, const std::vector<Line*>& order,
                      std::vector<Line*>& before, std::vector<Line*>& after, Line*& end) {
  end = groupOf(places.back()).last->next;
  std::size_t j = 0;
  for (Line* p = places.front(); p != end;) {
    if (!p) return false;
    if (j < places.size() && p == places[j]) {
      Group now = groupOf(p), next = groupOf(order[j++]);
      for (Line* q = now.first;; q = q->next) {
        before.push_back(q);
        if (q == now.last) break;
      }
      for (Line* q = next.first;; q = q->next) {
        after.push_back(q);
        if (q == next.last) break;
      }
      p = now.last->next;
    } else {
      before.push_back(p);
      after.push_back(p);
      p = p->next;
    }
  }
  return j == places.size() && before.size() == after.size();
}

int reorderLines(Task& task, const std::vector<Line*>& places, const std::vector<Line*>& order) {
  if (places.size() != order.size() || places.size() < 2) return places.size() == order.size() ? 0 : -1;
  for (Line* line : order)
    if (!line->is(LineKind::Text) || !(line->prev || task.lines.first == line)) return -1;
  std::vector<Line*> before, after;
  Line* end = nullptr;
  if (!reorderSequences(places, order, before, after, end)) return -1;
  tellObservers(task.session, [&](LineObserver& o) { o.beforeReorder(task, places, order); });
  // The lines trade places without leaving the store: each place keeps its
  // kind of line (TEXT or not), so the line index only learns new segment
  // heads. Groups of unequal size would shift kinds; then the slow way.
  bool sameKinds = true;
  for (std::size_t i = 0; i < before.size() && sameKinds; ++i)
    sameKinds = before[i]->is(LineKind::Text) == after[i]->is(LineKind::Text);
  Line* start = before.front()->prev;
  if (sameKinds) {
    std::vector<std::pair<Line*, Line*>> moves;
    for (std::size_t i = 0; i < before.size(); ++i)
      if (before[i] != after[i]) moves.emplace_back(before[i], after[i]);
    task.index.tookPlaces(moves);
    Line* prev = start;
    for (Line* p : after) {
      p->prev = prev;
      if (prev) prev->next = p; else task.lines.first = p;
      prev = p;
    }
    prev->next = end;
    if (end) end->prev = prev; else task.lines.last = prev;
  } else {
    for (Line* p : before) {
      task.index.unlinking(p);
      task.lines.remove(p);
    }
    for (Line* p : after) {
      task.lines.insertBefore(end, p);
      task.index.linked(p);
    }
  }
  ++task.structureChanges;
  noteModified(task, true);
  return 0;
}

}  // namespace kiv
