#include "screen/hidden_runs.h"

#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/edit_panel.h"

namespace kiv {

void HiddenRuns::keepCurrent(const Task& task) {
  if (structure_ == task.structureChanges && count_ == task.lines.count &&
      hideMarkers_ == task.session.hideExcludedMarkers)
    return;
  forward_.clear();
  backward_.clear();
  structure_ = task.structureChanges;
  count_ = task.lines.count;
  hideMarkers_ = task.session.hideExcludedMarkers;
}

Line* HiddenRuns::after(Task& task, Line* first, long& texts) {
  keepCurrent(task);
  if (auto it = forward_.find(first); it != forward_.end()) {
    texts += it->second.texts;
    return it->second.past;
  }
  long lines = 0, found = 0;
  Line* p = first;
  for (; p && hiddenOnPanel(task, p); p = nextLoadedLine(task, p), ++lines)
    if (p->is(LineKind::Text)) ++found;
  texts += found;
  keepCurrent(task);  // loading on the way appends lines: the count moved on
  if (lines >= kRemembered) forward_[first] = {p, found};
  return p;
}

Line* HiddenRuns::before(Task& task, Line* last) {
  keepCurrent(task);
  if (auto it = backward_.find(last); it != backward_.end()) return it->second.past;
  long lines = 0, found = 0;
  Line* p = last;
  for (; p && hiddenOnPanel(task, p); p = p->prev, ++lines)
    if (p->is(LineKind::Text)) ++found;
  if (lines >= kRemembered) backward_[last] = {p, found};
  return p;
}

}  // namespace kiv
