#include "core/held_range.h"

#include "core/line_observer.h"
#include "core/task.h"

namespace kiv {

namespace {

struct RangeKeeper : LineObserver {
  void beforeRemove(Task& task, Line* line) override {
    for (HeldRange* r : {&task.selection.lines, &task.selection.anchor, &task.textEntry.lines, &task.search.match})
      if (r->first == line || r->last == line) r->release();
  }
};

}  // namespace

std::unique_ptr<LineObserver> makeRangeKeeper() {
  return std::make_unique<RangeKeeper>();
}

}  // namespace kiv
