#include "core/session.h"

#include "core/held_range.h"
#include "core/line_observer.h"
#include "core/undo_journal.h"

namespace kiv {

Session::Session(platform::Platform& platform)
    : Services(platform),
      allocator_(platform),
      rangeKeeper_(makeRangeKeeper()),
      undoRecorder_(makeUndoRecorder()) {
  lineObservers.push_back(rangeKeeper_.get());
  lineObservers.push_back(undoRecorder_.get());
}

// The frames and tasks go first: their lines and buffers belong to the
// allocator, which, declared last, would otherwise be destroyed before them,
// and their views may still ask the features. Features end last made first.
Session::~Session() {
  frames.clear();
  tasks.clear();
  while (!features_.empty()) features_.pop_back();
}

}  // namespace kiv
