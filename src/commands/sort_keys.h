#pragma once

#include <vector>

namespace kiv {

struct Line;

// A sort field: 1-based columns, both within the lines' longest text.
struct SortField {
  bool descending = false;
  int start = 0;
  int end = 0;
};

// Puts `lines` in the order of their fields' bytes, keeping the order of
// equal keys. Columns past a line's end count as empty and sort first.
// With `utf8` the columns are a UTF-8 task's: a field holds the characters
// that begin in it, and IGNORECASE upper-cases letters beyond ASCII too
// (UTF-8 bytes compare in code point order).
void sortByFields(std::vector<Line*>& lines, const std::vector<SortField>& fields, bool ignoreCase,
                  bool utf8 = false);

}  // namespace kiv
