#include "screen/selection_overlay.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "core/line.h"
#include "core/selection.h"
#include "core/text_columns.h"

namespace kiv {

namespace {

// 0-based bytes [first, last] of the selected columns of a line: bytes are
// columns in a single-byte task; in a UTF-8 task the characters that begin
// in the columns, and past the text a byte a column.
std::pair<long, long> selectedBytes(Task& task, const Line& line, ColumnSpan span) {
  bool toEnd = span.end >= kWholeLineEnd;
  if (!utf8Task(task)) {
    long last = toEnd ? LONG_MAX : std::min(span.end, line.length()) - 1L;
    return {span.start - 1L, last};
  }
  TextColumns columns(true);
  std::string_view text = line.text();
  int width = columns.width(text);
  if (span.start > width)
    return {static_cast<long>(columns.byteOf(text, span.start)), toEnd ? LONG_MAX : -1};
  ByteRange bytes = columns.bytesOf(text, span.start, std::min(span.end, width));
  return {static_cast<long>(bytes.first), toEnd ? LONG_MAX : static_cast<long>(bytes.end) - 1};
}

}  // namespace

void SelectionOverlay::colour(Task& task, const Line& line, int from,
                              std::span<std::uint8_t> attrs) {
  std::optional<ColumnSpan> span = selectedColumns(task, line);
  if (!span) return;
  auto [first, last] = selectedBytes(task, line, *span);
  std::uint8_t attr = scheme_.attr(Element::SelectedText);
  long lo = std::max(first - from, 0L);
  long hi = std::min(last - from, static_cast<long>(attrs.size()) - 1);
  for (long i = lo; i <= hi; ++i) attrs[static_cast<std::size_t>(i)] = attr;
}

}  // namespace kiv
