// The BOUNDS command: the left and right bound columns of a task, kept in its
// file profile and shown on its BNDS lines.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Task;

struct Bounds {
  int left = 1;
  int right = 1;
};

// Sets the bounds from "left right" ("*" keeps a bound; no parameters take
// them from the numbering), writes the profile unless it is locked and
// rebuilds every BNDS line. 0, or -1 after a reported refusal.
int setBounds(Task& task, std::string_view params);

// The task's bounds as its profile holds them (1 and MaxRecLen without one).
Bounds currentBounds(const Task& task);
// The bounds a task gets without parameters.
Bounds defaultBounds(const Task& task);

// The text of a BNDS line: blanks up to the right bound, "<" in the left
// bound's column and ">" in the right bound's.
std::string boundsLineText(Bounds b);

}  // namespace kiv
