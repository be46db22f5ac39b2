#include "screen/found_overlay.h"

#include <algorithm>

#include "core/task.h"

namespace kiv {

void FoundOverlay::colour(Task& task, const Line& line, int from, std::span<std::uint8_t> attrs) {
  const SearchState& found = task.search;
  marks_.clear();
  for (const auto& m : found.marked) m->marks(task, line, marks_);
  if (found.highlight && found.match.first == &line) marks_.emplace_back(found.column, found.length);
  std::uint8_t attr = scheme_.attr(Element::FoundText);
  for (auto [at, length] : marks_) {
    int lo = std::max(at - from, 0);
    int hi = std::min(at + length - from, static_cast<int>(attrs.size()));
    for (int i = lo; i < hi; ++i) attrs[static_cast<std::size_t>(i)] = attr;
  }
}

}  // namespace kiv
