// Shows the match of the last FIND or CHANGE, and every match of the FIND
// ALLs still marked, in the FoundText colour.
#pragma once

#include <utility>
#include <vector>

#include "screen/colour_scheme.h"
#include "screen/row_overlay.h"

namespace kiv {

class FoundOverlay : public RowOverlay {
 public:
  explicit FoundOverlay(const ColourScheme& scheme) : scheme_(scheme) {}
  void colour(Task& task, const Line& line, int from, std::span<std::uint8_t> attrs) override;

 private:
  const ColourScheme& scheme_;
  std::vector<std::pair<int, int>> marks_;  // reused for each row
};

}  // namespace kiv
