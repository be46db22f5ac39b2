// Excluded lines: the marker line that stands before a run of excluded lines,
// and the walk over such a run.
#pragma once

#include <string>

namespace kiv {

class Task;
struct Line;

inline constexpr int kMarkerFieldMax = 256;

// " %d lines excluded " centred in dashes in a field of `width` cells (an odd
// dash goes to the right); the bare text when it does not fit.
std::string excludedMarkerText(int count, int width);
// The same for the task's panel width, capped at 256.
std::string excludedMarkerText(const Task& task, int count);

// A line the user does not see: not shown, or an EXCLUDED marker while the
// session hides markers.
bool hiddenLine(const Task& task, const Line* line);

// The last line of a range that ends on `end`: when `end` is an EXCLUDED
// marker, the range takes in the hidden lines behind it.
Line* extendOverExcluded(const Task& task, Line* end);

// A new EXCLUDED marker for `count` lines (not linked).
Line* createExcludedMarker(Task& task, int count);
// Sets a marker's count and rebuilds its text. -1 when the text is refused.
int setExcludedMarker(Task& task, Line* marker, int count);

}  // namespace kiv
