// What the keys of an edit panel do to the characters of a line: the
// commands layer provides it (commands/char_edit.h), the screen's keys call
// it, so that typing follows one set of rules wherever it comes from.
#pragma once

#include "core/session.h"

namespace kiv {

class Task;
struct Line;

// Where the cursor goes after an operation (a 0-based data column); `ok`
// false after the refusal was reported (nothing changed).
struct EditResult {
  bool ok = false;
  Line* line = nullptr;
  int column = 0;
};

class CharacterEditing : public Feature {
 public:
  virtual EditResult type(Task& task, Line* line, int column, unsigned char c, bool insert) = 0;
  virtual EditResult erase(Task& task, Line* line, int column) = 0;  // Delete
  virtual EditResult backspace(Task& task, Line* line, int column, bool insert) = 0;
  virtual EditResult eraseToEnd(Task& task, Line* line, int column) = 0;
};

}  // namespace kiv
