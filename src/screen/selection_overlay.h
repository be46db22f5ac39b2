// Shows a task's selection in the SelectedText colour: the selected columns
// of each line, and the rest of the row where the selection runs on to the
// next line (whole lines, the inner lines of a stream).
#pragma once

#include "screen/colour_scheme.h"
#include "screen/row_overlay.h"

namespace kiv {

class SelectionOverlay : public RowOverlay {
 public:
  explicit SelectionOverlay(const ColourScheme& scheme) : scheme_(scheme) {}
  void colour(Task& task, const Line& line, int from, std::span<std::uint8_t> attrs) override;

 private:
  const ColourScheme& scheme_;
};

}  // namespace kiv
