// What line commands do to ranges of lines: copy, move, delete, repeat,
// exclude and show, special lines, make data. Every change goes through the
// line store's operations; ranges are inclusive and in store order.
#pragma once

#include <vector>

#include "core/line.h"

namespace kiv {

class Task;

// The last line of a range of `count` shown lines from `from` on (hidden
// lines inside and an excluded run at the end carried along); it stops
// before BOF.
Line* rangeEnd(Task& task, Line* from, long count);

// Copies first..last `times` times below `after` (placed as lines placed
// below it go), or before `before` when `after` is null. Hex view rows are
// made again, not copied; the copies are shown. The first copy, or null.
Line* copyRange(Task& task, Line* first, Line* last, Line* after, Line* before, long times);
// Moves first..last below `after` or before `before` (labels go along).
int moveRange(Task& task, Line* first, Line* last, Line* after, Line* before);
// Deletes first..last, an excluded run at the end taken in.
int deleteRange(Task& task, Line* first, Line* last);

// Hides the lines of first..last behind one marker, joined with the
// excluded runs next to them.
void excludeRange(Task& task, Line* first, Line* last);
// Shows the first (or last) `count` lines of the run behind `marker`.
void showFromRun(Task& task, Line* marker, long count, bool first);
// Puts one marker before each stretch of hidden lines after `after` up to
// `end` (not included; null: the end of the store).
void markHiddenStretches(Task& task, Line* after, Line* end);

// Lays the TEXT lines of the source over those of the target, one by one,
// the source starting again when it runs out: within the bounds a source
// character fills a blank of the target. False when a target character that
// is not blank stood where a different one would have gone.
bool overlayRange(Task& task, Line* srcFirst, Line* srcLast, Line* dstFirst, Line* dstLast);
// Inserts the two hexadecimal note lines (high and low digits) under each
// TEXT line of first..last.
void insertHexNotes(Task& task, Line* first, Line* last);

// The run behind `marker` holds lines of more than one indentation.
bool indentLevelsLeft(const Task& task, const Line* marker);
// Shows the lines of the run behind `marker` with the least indentation,
// `levels` times (the marker goes); what stays hidden gets a marker per
// stretch. Nothing happens when indentLevelsLeft is false.
void showByIndent(Task& task, Line* marker, long levels);

// MU/MUU: the data within the bounds of first..last moves up to the lines
// from `to` on (`to` above the block); the same columns of the lines between
// move down below it. 0, or -1 after the message.
int moveDataUp(Task& task, Line* first, Line* last, Line* to);

// Inserts a special line (BNDS, COLS, MASK, TABS) below `line`.
int insertSpecialLine(Task& task, Line* line, LineKind kind);
// Shows the hidden lines among `lines` (in file order); each run they stood
// in keeps a marker for each stretch still hidden.
void showHiddenLines(Task& task, const std::vector<Line*>& lines);
// An empty NOTE line below `line`, open for typing while it is new (IN).
Line* openNoteBelow(Task& task, Line* line);
// Turns the special lines of first..last into TEXT lines (NOTE and COLS
// lines remember what they were).
void makeData(Task& task, Line* first, Line* last);

}  // namespace kiv
