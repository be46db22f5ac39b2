// What the shift and case line commands do to the text of lines: column and
// data shifts, lower and upper case, each within the task's bounds. Every
// change goes through the line store's operations; ranges are inclusive and
// in store order, and only their TEXT lines are changed.
#pragma once

#include "core/bounds.h"
#include "core/line.h"

namespace kiv {

class Session;
class Task;

// ( ) < >
enum class ShiftKind { ColumnsLeft, ColumnsRight, DataLeft, DataRight };

// The bounds the line commands work within: the profile's, or the default
// ones when the profile has none set; the right bound cut to MaxRecLen.
Bounds textBounds(const Task& task);

// The amount a shift without a count uses: ZEDIT.COLSHIFTAMOUNT when it is
// a number of at least 1, else 2.
int defaultShiftAmount(Session& s);

// Shifts one line's text by `n` columns within the bounds. Column shifts
// lose what is pushed past a bound and fill with the pad character; data
// shifts take the movement from runs of two or more blanks and stop short
// when none are left. The columns outside the bounds stay; a FIXED record
// keeps its length, any other line grows (up to the right bound) only for a
// shift to the right. In a UTF-8 task the bounds and `n` are columns and
// whole characters move: a wide character across a bound stays, one that a
// column shift pushes half past a bound is lost (its other column a pad),
// and a line that would no longer fit MaxRecLen in bytes is left as it was
// with a message. True when the text changed.
bool shiftLine(Task& task, Line* line, ShiftKind kind, int n);
// shiftLine for every TEXT line of first..last; `last` null: to the end.
void shiftLines(Task& task, Line* first, Line* last, ShiftKind kind, int n);

// LC and UC: the letters of the TEXT lines of first..last within the bounds
// to lower or upper case (the EBCDIC letters in an EBCDIC file).
void convertCase(Task& task, Line* first, Line* last, bool upper);

}  // namespace kiv
