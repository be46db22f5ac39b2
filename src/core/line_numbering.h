// Sequence numbers inside records: the number columns NumberColStart to
// NumberColEnd of the task's profile hold zero-padded decimal numbers that
// ascend through the file. A full renumber, the numbering of one line between
// its neighbours (NumberAuto Incr) and the clearing of the columns. Every
// change goes through line_ops.h; the caller's EditStep makes it one step.
// docs/line-numbering.md describes the choices.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiv {

class Task;
struct Line;
struct FileProfile;

// The columns numbers are written into: widths 4 to 8 inside the record.
struct NumberField {
  int first = 0;  // 0-based offset of the first digit (NumberColStart - 1)
  int end = 0;    // NumberColEnd: the length a line needs to hold a number
  int width = 0;
  long long limit = 0;  // 10 to the power of the width: numbers stay below it
};

// The profile's number field, or nothing when it numbers nothing: NumberType
// None or HEXOFFSET, a width outside 4..8, columns outside 1..MaxRecLen.
std::optional<NumberField> numberFieldOf(const FileProfile& p);

// Loads the whole file and numbers every TEXT line from NumberStart by
// NumberIncrement. When the numbers do not fit, the increment steps down
// (1000, 100, 10, 5, 2, 1) and the profile is written back with the new
// settings. 0 when the file is numbered (or numbering is off), -1 when even
// increment 1 from 1 cannot number every line: nothing is changed then.
int renumberAll(Task& task);

// Numbers one TEXT line between its neighbours and renumbers the lines after
// it until one holds a greater number. May fall back to renumberAll when the
// numbers run out. 0, or -1 when that renumber failed.
int numberLine(Task& task, Line* line);

// Where a new text left the bytes that stood from `first` on in `was` (the
// number field and what follows it).
enum class TailPlace { Changed, InPlace, Moved, Stuck };
// Moved: `out` is `text` with those bytes back at `first`, pad bytes added
// or taken just before them. Stuck: bytes other than pad bytes would have
// to go. Changed: `text` does not end with them. In UTF-8 (`utf8`) a
// character that runs from before `first` into the field goes with it.
TailPlace placeTail(std::string_view was, std::size_t first, std::string_view text, char pad,
                    bool utf8, std::string& out);

// In a UTF-8 file the number columns are bytes while commands work in the
// columns the user sees. For a new text of a TEXT line that holds a whole
// number field behind data: Moved when the text kept the field and what
// follows it unchanged but moved (`out` has them back in place), Stuck when
// only more than pad bytes could make room. InPlace for every other line
// and task: nothing to do.
TailPlace numberFieldPlace(const Task& task, const Line& line, std::string_view text,
                           std::string& out);
// numberFieldPlace is Moved: `out` is the text to store.
bool realignNumberField(const Task& task, const Line& line, std::string_view text,
                        std::string& out);

// In a UTF-8 task, the byte where the number field begins when the field
// lies right of `right` (a right bound, in columns); npos otherwise. The
// characters before the field may take more bytes than columns, so the
// field may begin in a column at or left of the bound.
std::size_t numberFence(const Task& task, int right);
// The right bound `right` for one line: at most the column before the
// line's number field (`fence` from numberFence), so that a command
// working in the bounds never takes the number for data.
int rightBeforeFence(std::string_view text, std::size_t fence, int right);

// UNNUMBER: blanks the number columns of every TEXT line (of the type given
// in `params`: COB, COBOL, STD, STANDARD, COB+STD, OTHER; QUIET drops the
// report) and turns numbering off in the profile. 0, or -1 after a message.
int clearNumbers(Task& task, std::string_view params);

}  // namespace kiv
