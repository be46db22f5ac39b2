#include "core/excluded.h"

#include <algorithm>

#include "core/line_ops.h"
#include "core/session.h"
#include "services/format.h"

namespace kiv {

namespace {
constexpr std::string_view kMarkerTemplate = " %d lines excluded ";
}  // namespace

std::string excludedMarkerText(int count, int width) {
  std::string text = format(kMarkerTemplate, count);
  int room = width - static_cast<int>(text.size());
  if (room <= 0) return text;
  auto left = static_cast<std::size_t>(room / 2);
  auto right = static_cast<std::size_t>(room) - left;
  return std::string(left, '-') + text + std::string(right, '-');
}

std::string excludedMarkerText(const Task& task, int count) {
  return excludedMarkerText(count, std::min(task.session.panelWidth, kMarkerFieldMax));
}

bool hiddenLine(const Task& task, const Line* line) {
  return !line->shown() || (line->is(LineKind::Excluded) && task.session.hideExcludedMarkers);
}

Line* extendOverExcluded(const Task& task, Line* end) {
  if (!end || !end->is(LineKind::Excluded)) return end;
  while (end->next && hiddenLine(task, end->next)) end = end->next;
  return end;
}

Line* createExcludedMarker(Task& task, int count) {
  Line* marker = createLine(task, excludedMarkerText(task, count), LineKind::Excluded);
  if (marker) setExcludedCount(task, marker, count);
  return marker;
}

int setExcludedMarker(Task& task, Line* marker, int count) {
  if (setLineText(task, marker, excludedMarkerText(task, count)) != 0) return -1;
  setExcludedCount(task, marker, count);
  return 0;
}

}  // namespace kiv
