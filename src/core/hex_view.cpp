#include "core/hex_view.h"

#include <array>

#include "core/edit_step.h"
#include "core/excluded.h"
#include "core/line_ops.h"
#include "core/session.h"

namespace kiv {

namespace {

constexpr std::array<LineKind, 3> kHexKinds = {LineKind::HexHigh, LineKind::HexLow,
                                               LineKind::HexSep};

// Hex lines follow the line above them, except that they stay hidden under
// an EXCLUDED marker while markers are hidden.
bool hexShown(const Task& task, const Line* above) {
  if (above->is(LineKind::Excluded) && task.session.hideExcludedMarkers) return false;
  return above->shown();
}

bool hasHexLines(const Line* line) {
  return line->next && line->next->is(LineKind::HexHigh);
}

}  // namespace

bool isHexViewLine(const Line* line) {
  return line &&
         (line->is(LineKind::HexHigh) || line->is(LineKind::HexLow) || line->is(LineKind::HexSep));
}

bool hexViewShown(const Task& task) {
  return task.lines.first && isHexViewLine(task.lines.first->next);
}

int insertHexLinesAfter(Task& task, Line* line) {
  if (!line || line->is(LineKind::Bof) || isHexViewLine(line)) return -1;
  bool shown = hexShown(task, line);
  Line* before = line->next;
  for (LineKind kind : kHexKinds) {
    Line* hex = createLine(task, {}, kind);
    setLineFlag(task, hex, LineFlag::Shown, shown);
    linkLineBefore(task, before, hex);
  }
  return 0;
}

int hexViewOn(Task& task) {
  int count = 0;
  for (Line* line = task.lines.first; line; line = line->next) {
    if (line->is(LineKind::Bof) || isHexViewLine(line) || hasHexLines(line)) continue;
    insertHexLinesAfter(task, line);
    ++count;
  }
  if (count > 0) noteModified(task, false);
  return count;
}

int hexViewOff(Task& task) {
  int count = 0;
  for (Line* line = task.lines.first; line;) {
    Line* next = line->next;
    if (isHexViewLine(line)) {
      unlinkLine(task, line);
      freeLine(task, line);
      ++count;
    }
    line = next;
  }
  if (count > 0) noteModified(task, false);
  return count;
}

std::string hexDigits(std::string_view text, bool high) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(text.size(), '0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto byte = static_cast<unsigned char>(text[i]);
    out[i] = kDigits[high ? byte >> 4 : byte & 0xF];
  }
  return out;
}

}  // namespace kiv
