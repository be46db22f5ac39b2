#include "screen/selection_overlay.h"

#include <algorithm>
#include <climits>

#include "core/line.h"
#include "core/selection.h"

namespace kiv {

void SelectionOverlay::colour(Task& task, const Line& line, int from,
                              std::span<std::uint8_t> attrs) {
  std::optional<ColumnSpan> span = selectedColumns(task, line);
  if (!span) return;
  // 0-based byte offsets of the coloured cells.
  long first = span->start - 1;
  long last = span->end >= kWholeLineEnd ? LONG_MAX : std::min(span->end, line.length()) - 1L;
  std::uint8_t attr = scheme_.attr(Element::SelectedText);
  long lo = std::max(first - from, 0L);
  long hi = std::min(last - from, static_cast<long>(attrs.size()) - 1);
  for (long i = lo; i <= hi; ++i) attrs[static_cast<std::size_t>(i)] = attr;
}

}  // namespace kiv
