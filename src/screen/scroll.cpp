#include "screen/scroll.h"

#include <algorithm>

#include "core/excluded.h"
#include "core/file_load.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "screen/edit_panel.h"

namespace kiv {

namespace {

// The shown line after or before `line`, stepping over a hidden run whole.
Line* nextShown(EditPanel& panel, Line* line) {
  Line* p = nextLoadedLine(panel.task, line);
  long texts = 0;
  return p && hiddenOnPanel(panel.task, p) ? panel.hiddenRuns.after(panel.task, p, texts) : p;
}

Line* prevShown(EditPanel& panel, Line* line) {
  Line* p = line->prev;
  return p && hiddenOnPanel(panel.task, p) ? panel.hiddenRuns.before(panel.task, p) : p;
}

Line* topOf(EditPanel& panel) {
  Task& task = panel.task;
  return task.topLine ? task.topLine : task.lines.first;
}

void setTop(EditPanel& panel, Line* line) {
  panel.task.topLine = line;
  panel.refreshData();
}

}  // namespace

void scrollLines(EditPanel& panel, long n) {
  Line* top = topOf(panel);
  if (!top) return;
  for (; n > 0; --n) {
    Line* next = nextShown(panel, top);
    if (!next) break;
    top = next;
  }
  for (; n < 0; ++n) {
    Line* prev = prevShown(panel, top);
    if (!prev) break;
    top = prev;
  }
  setTop(panel, top);
}

void scrollToTop(EditPanel& panel) {
  Line* first = panel.task.lines.first;
  long texts = 0;
  if (first && hiddenOnPanel(panel.task, first)) first = panel.hiddenRuns.after(panel.task, first, texts);
  setTop(panel, first);
}

void scrollToBottom(EditPanel& panel) {
  Task& task = panel.task;
  if (!task.load.complete && task.loadNextChunk) loadAll(task);
  Line* top = task.lines.last;
  if (!top) return;
  if (hiddenOnPanel(task, top)) top = panel.hiddenRuns.before(task, top);
  for (int i = 1; i < panel.lineRows() && top; ++i) {
    Line* prev = prevShown(panel, top);
    if (!prev) break;
    top = prev;
  }
  setTop(panel, top);
}

bool scrollCursorLine(EditPanel& panel, bool toBottom) {
  int index = panel.dataIndex(panel.cursorRow);
  Line* line = index >= 0 ? panel.lineAtRow(panel.cursorRow) : nullptr;
  if (!line) return false;
  if (!toBottom) {
    setTop(panel, line);
  } else {
    Line* top = line;
    for (int i = 1; i < panel.lineRows(); ++i) {
      Line* prev = prevShown(panel, top);
      if (!prev) break;
      top = prev;
    }
    setTop(panel, top);
  }
  return true;
}

int maxDisplayOffset(EditPanel& panel) {
  return std::max(maxRecLenOf(panel.task) - panel.dataWidth(), 0);
}

void scrollColumns(EditPanel& panel, long n) {
  long offset = panel.task.displayOffset + n;
  panel.task.displayOffset = static_cast<int>(std::clamp<long>(offset, 0, maxDisplayOffset(panel)));
  panel.refreshData();
}

}  // namespace kiv
