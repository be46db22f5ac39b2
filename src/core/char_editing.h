// What the keys of an edit panel do to the characters of a line: the
// commands layer provides it (commands/char_edit.h), the screen's keys call
// it, so that typing follows one set of rules wherever it comes from.
#pragma once

#include <string_view>

#include "core/session.h"

namespace kiv {

class Task;
struct Line;

// A character that the task's set does not have (a format for its code).
inline constexpr std::string_view kNotTypeable =
    "The character U+%04X cannot be typed here: it is not in the display character set.";

// Where the cursor goes after an operation (a 0-based data column); `ok`
// false after the refusal was reported (nothing changed).
struct EditResult {
  bool ok = false;
  Line* line = nullptr;
  int column = 0;
};

class CharacterEditing : public Feature {
 public:
  virtual EditResult type(Task& task, Line* line, int column, char32_t c, bool insert) = 0;
  virtual EditResult erase(Task& task, Line* line, int column) = 0;  // Delete
  virtual EditResult backspace(Task& task, Line* line, int column, bool insert) = 0;
  virtual EditResult eraseToEnd(Task& task, Line* line, int column) = 0;
};

}  // namespace kiv
