// The undo journal of a task. While undo is on (ZEDIT.UNDO not "FALSE"),
// the line store's observers record how to reverse each change to a TEXT
// line's text or kind, each TEXT line inserted or deleted, each move of
// lines and each reordering (SORT); the records of one step (core/edit_step.h) carry one step number.
// Undoing a step replays its records in reverse through the line store,
// which records the reversal on the redo stack; a new change empties that.
// Nothing is freed while a record needs it: a deleted line stays with its
// record until the record goes.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/line.h"

namespace kiv {

class Task;
class LineObserver;

enum class UndoType : std::uint8_t { Changed, Deleted, Inserted, Moved, Reordered };

struct UndoRecord {
  Line* line;      // the line (Moved: the first line moved)
  Line* other;     // Deleted: the line it goes back before; Moved: the last line moved
  Line* position;  // Moved: the line the range stood before (null: the end)
  // Changed: the saved text in the stack's text store; Reordered: the
  // places and the order given (two lists of pointers) in the same store.
  std::uint64_t textAt;
  std::uint32_t textLength;
  std::uint32_t step;
  std::int32_t column;  // Changed: the cursor's data column (1-based) when saved; 0 unknown
  UndoType type;
  LineKind kind;       // Changed: the saved kind
  bool changedMark;    // Changed: the line showed ==CHG> before
};

// Records, newest last, and the texts they saved, in blocks of 1 MiB filled
// end to end (a larger text gets a block of its own), so that a stack takes
// what it holds plus at most one block, and a step's texts go with its
// records.
class UndoStack {
 public:
  bool empty() const { return records_.empty(); }
  std::uint32_t topStep() const { return records_.back().step; }
  const UndoRecord& top() const { return records_.back(); }
  std::string_view textOf(const UndoRecord& r) const;
  void push(UndoRecord r, std::string_view text = {});
  // Drops the newest record (its text with it); a Deleted record's line is
  // the caller's from then on.
  void pop();
  // Frees every record and the deleted lines they hold.
  void clear(Task& task);
  std::size_t size() const { return records_.size(); }
  // Memory held: the records and the text blocks; of it, the saved texts.
  std::size_t bytes() const;
  std::size_t textBytes() const { return textBytes_; }

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    std::size_t size;
    std::size_t used;
  };
  std::deque<UndoRecord> records_;
  std::vector<Block> blocks_;
  std::size_t textBytes_ = 0;
};

enum class UndoMode : std::uint8_t { Recording, Undoing, Redoing };

struct UndoJournal {
  UndoStack undo;
  UndoStack redo;
  UndoMode mode = UndoMode::Recording;
  std::uint32_t step = 1;  // the number records of the open step carry
  bool stepUsed = false;   // a record carries it
  bool stepChecked = false;
  bool on = true;           // ZEDIT.UNDO, read once a step
  std::vector<Line*> saved;  // lines marked saved-for-undo in the open step
};

// The recorder, registered by the session with the line store's observers.
std::unique_ptr<LineObserver> makeUndoRecorder();

// Starts a new step number (each step undone or redone is one step).
void cutUndoStep(Task& task);
// Empties both stacks, freeing the deleted lines they held.
void clearUndo(Task& task);

}  // namespace kiv
