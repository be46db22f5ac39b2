// CapsMode at open: OFF and ON set the task's caps; AUTO scans the loaded
// file and turns caps on when it holds letters and none in lower case.
#pragma once

#include "core/task.h"

namespace kiv {

void applyCapsMode(Task& task);

// True when the TEXT lines hold at least one letter and no lower-case one
// (EBCDIC letters for an EBCDIC file).
bool allLettersUpperCase(const Task& task);

}  // namespace kiv
