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

Line* nextShown(Task& task, Line* line) {
  Line* p = nextLoadedLine(task, line);
  while (p && hiddenOnPanel(task, p)) p = nextLoadedLine(task, p);
  return p;
}

Line* prevShown(Task& task, Line* line) {
  Line* p = line->prev;
  while (p && hiddenOnPanel(task, p)) p = p->prev;
  return p;
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
  Task& task = panel.task;
  Line* top = topOf(panel);
  if (!top) return;
  for (; n > 0; --n) {
    Line* next = nextShown(task, top);
    if (!next) break;
    top = next;
  }
  for (; n < 0; ++n) {
    Line* prev = prevShown(task, top);
    if (!prev) break;
    top = prev;
  }
  setTop(panel, top);
}

void scrollToTop(EditPanel& panel) {
  Line* first = panel.task.lines.first;
  while (first && hiddenOnPanel(panel.task, first)) first = first->next;
  setTop(panel, first);
}

void scrollToBottom(EditPanel& panel) {
  Task& task = panel.task;
  if (!task.load.complete && task.loadNextChunk) loadAll(task);
  Line* top = task.lines.last;
  if (!top) return;
  while (top && hiddenOnPanel(task, top)) top = top->prev;
  for (int i = 1; i < panel.lineRows() && top; ++i) {
    Line* prev = prevShown(task, top);
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
      Line* prev = prevShown(panel.task, top);
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
