// How a load ends: at the end of the file, or cut short by bad data; and what
// follows when MaxRecLen grew while reading.
#pragma once

#include "core/task.h"

namespace kiv {

// The end of the file was reached: BOF appended, the file closed unless an
// EDIT task holds it under the write lock, the end-of-file messages shown.
void finishLoad(Task& task);

// The load cannot go on (the reason was shown): the lines read so far stay,
// BOF is appended, the file is closed and an EDIT task becomes VIEW with its
// modified flag cleared, so the partial file never overwrites the one on disk.
void endLoad(Task& task);

// MaxRecLen grew from `before`: the right bound follows when it was at the
// old length, and the profile is written back unless it is locked.
void followMaxRecLen(Task& task, int before);

}  // namespace kiv
