#include "commands/locate_kinds.h"

#include <array>

#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "screen/edit_panel.h"

namespace kiv {

namespace {

bool changedLine(const Line* p) {
  return p->changed();
}
bool commandLine(const Line* p) {
  return p->hasPendingCommand();
}
bool labelLine(const Line* p) {
  return p->hasLabel();
}
bool shownText(const Line* p) {
  return p->is(LineKind::Text) && p->shown();
}
bool excludedMarker(const Line* p) {
  return p->is(LineKind::Excluded);
}

// NOTE, COLS, BNDS, MASK and TABS lines; hex view rows are part of the line
// above them, not lines of their own.
bool specialLine(const Line* p) {
  return !p->is(LineKind::Text) && !p->is(LineKind::Tof) && !p->is(LineKind::Bof) &&
         !p->is(LineKind::Excluded) && !isHexViewLine(p);
}

// Checked in order: the first prefix a keyword starts with names its kind.
// Only shown TEXT lines can still come from the file: every mark the others
// look for was set on a line already loaded.
constexpr std::array<LocateKind, 7> kKinds = {{
    {"CH", changedLine, "LINE115", "CHANGE line not found.", false},
    {"CO", commandLine, "LINE116", "Line with unprocessed Line Command not found.", false},
    {"CMD", commandLine, "LINE116", "Line with unprocessed Line Command not found.", false},
    {"L", labelLine, "LINE110", "LABEL line not found.", false},
    {"N", shownText, "LINE120", "Non-excluded line not found.", true},
    {"S", specialLine, "LINE105", "SPECIAL line not found.", false},
    {"X", excludedMarker, "", "XCLUDE line not found.", false},
}};

}  // namespace

const LocateKind* locateKindOf(std::string_view keyword) {
  for (const LocateKind& kind : kKinds)
    if (keyword.starts_with(kind.prefix)) return &kind;
  return nullptr;
}

Line* nextOfKind(Task& task, Line* from, const LocateKind& kind) {
  auto next = [&](Line* p) { return kind.loads ? nextLoadedLine(task, p) : p->next; };
  for (Line* p = from ? next(from) : task.lines.first; p; p = next(p))
    if (kind.matches(p) && !hiddenOnPanel(task, p)) return p;
  return nullptr;
}

}  // namespace kiv
