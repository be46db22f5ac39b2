// Runs of lines the edit panel does not show (the lines behind an EXCLUDED
// marker, and hex view rows without their data line), stepped over in one
// piece. A run is walked once and remembered while the task's store keeps
// its structure, its line count and every line's Shown flag (all counted by
// Task::structureChanges) and the session keeps its marker setting: paging
// past a run of millions of excluded lines then costs a lookup.
#pragma once

#include <cstddef>
#include <unordered_map>

namespace kiv {

class Task;
struct Line;

class HiddenRuns {
 public:
  // The first shown line after hidden `first` and the lines after it that
  // are hidden too (loading as it goes); null at the end. `texts` grows by
  // the TEXT lines stepped over.
  Line* after(Task& task, Line* first, long& texts);
  // The first shown line before hidden `last` and the hidden lines before
  // it; null at the start.
  Line* before(Task& task, Line* last);

 private:
  struct Run {
    Line* past;  // the line beyond the run, null at an end
    long texts;  // TEXT lines in it
  };
  // Runs shorter than this are walked every time: remembering them would
  // cost more than it saves.
  static constexpr long kRemembered = 256;
  void keepCurrent(const Task& task);
  std::unordered_map<const Line*, Run> forward_, backward_;
  long structure_ = -1;
  std::size_t count_ = 0;
  bool hideMarkers_ = false;
};

}  // namespace kiv
