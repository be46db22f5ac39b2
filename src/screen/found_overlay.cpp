#include "screen/found_overlay.h"

#include <algorithm>

#include "core/task.h"

namespace kiv {

void FoundOverlay::colour(Task& task, const Line& line, int from, std::span<std::uint8_t> attrs) {
  const SearchState& found = task.search;
  if (!found.highlight || found.match.first != &line) return;
  std::uint8_t attr = scheme_.attr(Element::FoundText);
  int lo = std::max(found.column - from, 0);
  int hi = std::min(found.column + found.length - from, static_cast<int>(attrs.size()));
  for (int i = lo; i < hi; ++i) attrs[static_cast<std::size_t>(i)] = attr;
}

}  // namespace kiv
