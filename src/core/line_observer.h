// What the line store tells the layers that follow a task's lines: the undo
// journal, the panels. Observers are registered once on the session and hear
// about every task; each call comes before or after the change as its name
// says, from the line-store operations only (line_ops.h).
#pragma once

#include <span>

#include "core/session.h"

namespace kiv {

struct Line;

// What is about to change on a line.
enum class LineChange {
  Text,   // the text (and with it the length)
  Marks,  // label, line command, excluded count
  Flags,  // a flag
  Kind,   // the kind
};

class LineObserver {
 public:
  virtual ~LineObserver() = default;
  virtual void beforeChange(Task&, Line*, LineChange) {}
  // A line linked anywhere but by an append at the end (the loader's way).
  virtual void afterInsert(Task&, Line*) {}
  // A line about to leave the store.
  virtual void beforeRemove(Task&, Line*) {}
  // `first`..`last` are about to move before `before` (null: the end).
  virtual void beforeMove(Task&, Line* /*first*/, Line* /*last*/, Line* /*before*/) {}
  // The lines of `places` (in store order) are about to trade places, the
  // first place to get order[0] and so on (reorderLines).
  virtual void beforeReorder(Task&, std::span<Line* const> /*places*/, std::span<Line* const> /*order*/) {}
  // A TEXT line deleted by a command: true when the observer keeps the
  // record (undo puts it back later), which is then not freed. `position` is
  // the next TEXT or BOF line.
  virtual bool keepsDeleted(Task&, Line*, Line* /*position*/) { return false; }
  // The step that changed the task has closed (core/edit_step.h).
  virtual void stepClosed(Task&) {}
};

// Calls `f` on each observer of the session.
template <class F>
void tellObservers(Session& session, F&& f) {
  for (LineObserver* o : session.lineObservers) f(*o);
}

}  // namespace kiv
