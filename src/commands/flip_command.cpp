#include "commands/flip_command.h"

#include <vector>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/line_range_ops.h"
#include "commands/locate_command.h"
#include "core/file_load.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

bool isMarker(const Line* line) {
  return line->is(LineKind::Excluded);
}

// The line the display keeps to: the first at or after the top that is
// neither a marker (they all go) nor a hex view row.
Line* anchorOf(Line* top) {
  Line* p = top;
  while (p && p->next && (isMarker(p) || isHexViewLine(p))) p = p->next;
  return p;
}

}  // namespace

void flipExcluded(Task& task) {
  loadAll(task);
  std::vector<Line*> markers;  // with their hex view rows
  const Line* owner = nullptr;
  for (Line* p = task.lines.first; p; p = p->next) {
    if (isHexViewLine(p)) {
      if (owner && isMarker(owner))
        markers.push_back(p);
      else if (owner)
        setLineFlag(task, p, LineFlag::Shown, owner->shown());
      continue;
    }
    owner = p;
    if (isMarker(p))
      markers.push_back(p);
    else if (!p->shown() || p->is(LineKind::Text))
      setLineFlag(task, p, LineFlag::Shown, !p->shown());
  }
  for (Line* m : markers) deleteLine(task, m, true);
  markHiddenStretches(task, task.lines.first, nullptr);
}

void flipCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (!skipBlanks(ctx.params).empty())
    return messagef(ctx.session, "", "FLIP takes no parameters:\n\n%s", ctx.params);
  EditPanel* panel = currentEditPanel(ctx.session);
  Line* anchor = anchorOf(task->topLine ? task->topLine : task->lines.first);
  flipExcluded(*task);
  if (!panel) return;
  showLineAtTop(*panel, anchor);
  putCursorInColumn(*panel, 1, panel->prefixWidth());
}

}  // namespace kiv
