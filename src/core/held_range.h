// Lines a task holds on to between commands: the ends of its selection and
// of an open text-entry area. The session's RangeKeeper lets go of a range
// whose end is about to leave the store, so that nothing holds a freed line.
#pragma once

#include <memory>

namespace kiv {

struct Line;
class LineObserver;

struct HeldRange {
  Line* first = nullptr;
  Line* last = nullptr;
  bool held() const { return first && last; }
  void release() { first = last = nullptr; }
};

// Drops the held ranges of a task whose first or last line goes.
std::unique_ptr<LineObserver> makeRangeKeeper();

}  // namespace kiv
