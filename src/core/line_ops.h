// The operations on the line records of a task's store: the one door
// through which every change to a task's lines passes. A record and the
// text it is made with come from the task's line pool (one block); a text
// that outgrows it, and the extension, from the session's guarded allocator.
// A line is freed through the task that made it, before that task ends.
//
// Memory primitives (create, copy, free, increase length, allocate a text
// buffer) change nothing the user sees. The operations that change the store
// (set text, pad, trim, insert, delete, move, flags, kind, fields) tell the
// session's line observers first (core/line_observer.h) and mark the task
// changed in the open undo step (core/edit_step.h); data changed when a TEXT
// line was touched. They never count steps themselves.
#pragma once

#include <string_view>
#include <vector>

#include "core/line.h"
#include "core/task.h"

namespace kiv {

inline constexpr std::string_view kTofText = "*** Top of File ***";
inline constexpr std::string_view kBofText = "*** Bottom of File ***";
inline constexpr int kDefaultMaxRecLen = 128;
inline constexpr char kAsciiBlank = 0x20;
inline constexpr char kEbcdicBlank = 0x40;

// MaxRecLen of the task's profile, 128 without one.
int maxRecLenOf(const Task& task);
// The line after `line`, loading the next chunk of the file first when the
// store ends before BOF. Null at the end of the store.
Line* nextLoadedLine(Task& task, Line* line);
// The task's file is in EBCDIC.
bool ebcdicFile(const Task& task);
// The pad byte: 0x40 for TEXT and MASK lines of an EBCDIC file, else 0x20.
char padCharFor(const Task& task, LineKind kind);

// A text buffer of `length` bytes (1..128000); the granted capacity goes to
// `*granted` when given. Outside the range: reported, null.
char* allocTextBuffer(Task& task, int length, int* granted);

// A new record, not linked: shown, both 9-character fields blank, a text
// buffer holding `text` when it is not empty. Null when the text is too long.
Line* createLine(Task& task, std::string_view text, LineKind kind);
// A new record with the text, kind, EBCDIC flag and excluded count of
// `source`; nothing else is copied. Null when `source` is null.
Line* copyLine(Task& task, const Line* source);
// Frees the text buffer; length and capacity become 0.
void freeLineBuffers(Task& task, Line* line);
// Frees the buffers, the extension and the record (which must be unlinked).
void freeLine(Task& task, Line* line);
// Grows the text buffer to `newCapacity`, keeping the
// content. -1 for a null line (LINE70) or a capacity out of range.
int increaseLineLength(Task& task, Line* line, int newCapacity);

// Replaces the text; an empty text frees the buffers. A text that fits the
// buffer reuses it. In a numbered UTF-8 file a text that moved the line's
// number field is put back in place first (realignNumberField).
int setLineText(Task& task, Line* line, std::string_view text);
// Appends pad bytes up to length `n`.
int padLineTo(Task& task, Line* line, int n);
// Pads a TEXT line up to MaxRecLen; other kinds are refused (LINE72).
int padLineToMaxRecLen(Task& task, Line* line);
// Drops trailing pad bytes of a TEXT line when the record format is V (or
// without a profile). Returns the number of bytes dropped.
int trimTrailingBlanks(Task& task, Line* line);

// The one place lines enter and leave a task's store. Linking before null
// appends. Both keep the store's count, the TEXT-line and pending-command
// counts and the line index, and mark the structure changed and tell the
// observers, except for an append at the end (the loader's way), which a
// panel sees through the count.
void linkLineBefore(Task& task, Line* before, Line* line);
void unlinkLine(Task& task, Line* line);
// Moves `first`..`last` (and the hex view rows of `last`) before `before`
// (null: the end) as one change. Refused (-1, nothing changed) for a range
// that is not the store's, that holds TOF or BOF, or that holds `before`,
// and for a place before TOF or after BOF.
int moveLines(Task& task, Line* first, Line* last, Line* before);

// The number of TEXT lines before `line` (its line number less one for a
// TEXT line); 0 for a line that is not the task's. O(log n) at any size.
// Puts `order`'s lines into `places`, the same TEXT lines in store order:
// places[0]'s place gets order[0], and so on. Every other line keeps its
// place; hex view rows go with their line. -1 (nothing moved) when `places`
// are not linked TEXT lines in store order or `order` holds others.
int reorderLines(Task& task, const std::vector<Line*>& places, const std::vector<Line*>& order);

long ordinalOf(Task& task, const Line* line);
// The TEXT line with `n` TEXT lines before it (line number n + 1); null
// past the last.
Line* textLineAt(Task& task, long n);

// Where lines placed below `line` go: before the first line after it that
// is shown and is not one of its hex view rows, so that they follow the
// excluded lines and hex rows behind it. Below BOF nothing can stand: there
// it is BOF itself. Null: the end of the store.
Line* placeBelow(Task& task, Line* line);
// Links a new line below `line` (at placeBelow) and gives it hex view rows
// when the task shows them.
void linkBelow(Task& task, Line* line, Line* fresh);

// Inserts `n` empty TEXT lines below `line`, after any excluded lines and
// hex view rows that follow it. Refused below BOF (TASKLINE10).
int insertLinesBelow(Task& task, Line* line, int n);
// Unlinks a line (never TOF or BOF, which give -1) and frees it when `free`
// is set and no observer (undo) keeps it.
int deleteLine(Task& task, Line* line, bool free);
// Deletes `first` through `last` as one modification, skipping TOF and BOF.
// Returns the number of lines deleted; -1, with nothing deleted, when the
// range is not one of this store's in that order.
int deleteLines(Task& task, Line* first, Line* last, bool free);

// Starts an empty store with its TOF line. -1 when the store is not empty.
int initLineStore(Task& task);
// Ends the store with its BOF line (once).
int finishLineStore(Task& task);

// A flag, the kind (which keeps the TEXT-line count) and, for a line being
// loaded, the record number.
void setLineFlag(Task& task, Line* line, LineFlag flag, bool on);
void setLineKind(Task& task, Line* line, LineKind kind);
void setRecordNumber(Line* line, std::uint32_t record);

// The rarely used fields. Setting a field to blank (or 0) gives the
// extension back once nothing is left in it.
void setLineCommand(Task& task, Line* line, std::string_view command);
void setLabel(Task& task, Line* line, std::string_view label);
void setExcludedCount(Task& task, Line* line, int count);

// For the undo journal, on lines it alone holds or marks (nothing observes
// these): the saved-for-undo mark of the open step, and a deleted line made
// plain again (no command, label, error, inserted or changed mark; shown)
// so that it goes back as a plain line.
void setSavedForUndo(Line* line, bool on);
void clearDeletedMarks(Task& task, Line* line);
}  // namespace kiv
