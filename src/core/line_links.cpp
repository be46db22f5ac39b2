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

Group groupOf(Line* line, bool hex) {
  Line* last = line;
  while (hex && last->next && isHexViewLine(last->next)) last = last->next;
  return {line, last};
}

void pushGroup(std::vector<Line*>& out, Group g) {
  for (Line* q = g.first;; q = q->next) {
    out.push_back(q);
    if (q == g.last) break;
  }
}

// A line SORT or UNDO may put in another's place: a TEXT line in the store.
bool movable(const Task& task, const Line* line) {
  return line->is(LineKind::Text) && (line->prev || task.lines.first == line);
}

// The range's lines as they stand and as they will, place by place; false
// when `places` are not in store order or a line of `order` cannot move.
// Both lists may lie anywhere in memory (after a sort the store's order is
// not the memory's): they are walked by index, each line fetched a few
// ahead; only lines between two places (not TEXT, or kept in place) are
// reached through the links.
bool reorderSequences(const Task& task, const std::vector<Line*>& places,
                      const std::vector<Line*>& order, bool hex, std::vector<Line*>& before,
                      std::vector<Line*>& after, Line*& end) {
  constexpr std::size_t kAhead = 8;
  std::size_t n = places.size();
  end = groupOf(places.back(), hex).last->next;
  before.reserve(n);
  after.reserve(n);
  for (std::size_t j = 0; j < n; ++j) {
    if (j + kAhead < n) {
      __builtin_prefetch(places[j + kAhead]);
      __builtin_prefetch(order[j + kAhead]);
    }
    if (!movable(task, order[j])) return false;
    Group now = groupOf(places[j], hex);
    pushGroup(before, now);
    pushGroup(after, groupOf(order[j], hex));
    Line* stop = j + 1 < n ? places[j + 1] : end;
    for (Line* p = now.last->next; p != stop; p = p->next) {
      if (!p || p == end) return false;
      before.push_back(p);
      after.push_back(p);
    }
  }
  return before.size() == after.size();
}

}  // namespace

int reorderLines(Task& task, const std::vector<Line*>& places, const std::vector<Line*>& order) {
  if (places.size() != order.size() || places.size() < 2) return places.size() == order.size() ? 0 : -1;
  bool hex = hexViewShown(task);
  std::vector<Line*> before, after;
  Line* end = nullptr;
  if (!reorderSequences(task, places, order, hex, before, after, end)) return -1;
  tellObservers(task.session, [&](LineObserver& o) { o.beforeReorder(task, places, order); });
  // The lines trade places without leaving the store: each place keeps its
  // kind of line (TEXT or not), so the line index only learns new segment
  // heads. Without hex rows every place of `places` gets a TEXT line and
  // the others keep theirs; with them, groups of unequal size would shift
  // kinds, and then the slow way.
  bool sameKinds = true;
  for (std::size_t i = 0; hex && i < before.size() && sameKinds; ++i)
    sameKinds = before[i]->is(LineKind::Text) == after[i]->is(LineKind::Text);
  Line* start = before.front()->prev;
  if (sameKinds) {
    task.index.tookPlaces(before, after);
    Line* prev = start;
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (i + kAhead < after.size()) __builtin_prefetch(after[i + kAhead], 1);
      Line* p = after[i];
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
